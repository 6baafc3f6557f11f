#include "store/PictureTrailer.h"
#include "store/Windows1252.h"

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace zv;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray mediaBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return bytes;
}

PictureInfo sample()
{
    PictureInfo info;
    info.namen = QStringLiteral("Jürgen, Käthe und Öskar");
    info.ort = QStringLiteral("Straße am Fluß");
    info.datum = QStringLiteral("24.12.1999");
    info.anlass = QStringLiteral("Weihnachten für 5 €");
    info.bemerkungen = QStringLiteral("  führende Leerzeichen bleiben");
    return info;
}

} // namespace

class TestPictureTrailer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codecMatchesIcuForEveryByte();
    void unencodable_data();
    void unencodable();
    void layoutIsByteExact();
    void roundTrip_data();
    void roundTrip();
    void repeatedSavesOverwriteInPlace();
    void markerCaseDecidesAppendOrOverwrite();
    void longTextsAreCut();
    void missingFileIsReportedNotCreated();
};

void TestPictureTrailer::codecMatchesIcuForEveryByte()
{
    QByteArray all(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        all[i] = static_cast<char>(i);
    QStringDecoder icu("windows-1252");
    QVERIFY(icu.isValid());
    const QString expected = icu.decode(all);
    const QString ours = windows1252::decode(all.constData(), all.size());
    // ICU leaves the five unassigned bytes undefined; everything else must agree.
    for (int i = 0; i < 256; ++i) {
        if (i == 0x81 || i == 0x8D || i == 0x8F || i == 0x90 || i == 0x9D)
            continue;
        QCOMPARE(ours.at(i), expected.at(i));
    }
    QCOMPARE(windows1252::encode(ours), all);
    QCOMPARE(windows1252::encode(QStringLiteral("€ä😀")), QByteArray("\x80\xE4?"));
}

void TestPictureTrailer::unencodable_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("characters");
    QTest::newRow("Western European") << QStringLiteral("Köln, Straße, 5 € – „gut“ ?") << QStringList();
    QTest::newRow("C1 bytes Windows leaves unassigned") << QStringLiteral("\u0081\u009D") << QStringList();
    QTest::newRow("Chinese, each once") << QStringLiteral("a你好你") << QStringList{"你", "好"};
    QTest::newRow("emoji is one character") << QStringLiteral("x😀y😀") << QStringList{"😀"};
    QTest::newRow("Polish and Greek") << QStringLiteral("Łódź Ω") << QStringList{"Ł", "ź", "Ω"};
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << QStringList{QString(QChar(0xD800))};
}

void TestPictureTrailer::unencodable()
{
    QFETCH(QString, text);
    QFETCH(QStringList, characters);
    QCOMPARE(windows1252::unencodable(text), characters);
}

void TestPictureTrailer::layoutIsByteExact()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.jpg"));
    writeAll(path, "JPEG");
    PictureInfo info = sample();
    QVERIFY(!WritePictureInfo(path, info));
    QCOMPARE(info.marker, QStringLiteral("FileInfo"));

    const QByteArray bytes = readAll(path);
    QCOMPARE(bytes.size(), 4 + 914);
    const QByteArray t = bytes.mid(4);
    QCOMPARE(t.left(8), QByteArray("FileInfo"));
    QCOMPARE(t.mid(8, 128), QByteArray("J\xFCrgen, K\xE4the und \xD6skar").leftJustified(128, ' '));
    QCOMPARE(t.mid(136, 128), QByteArray("Stra\xDF" "e am Flu\xDF").leftJustified(128, ' '));
    QCOMPARE(t.mid(264, 10), QByteArray("24.12.1999"));
    QCOMPARE(t.mid(274, 128), QByteArray("Weihnachten f\xFCr 5 \x80").leftJustified(128, ' '));
    QCOMPARE(t.mid(402, 512), QByteArray("  f\xFChrende Leerzeichen bleiben").leftJustified(512, ' '));
}

void TestPictureTrailer::roundTrip_data()
{
    QTest::addColumn<int>("mediaSize");
    QTest::addColumn<int>("sizeAfter");
    QTest::newRow("empty file appends") << 0 << 914;
    QTest::newRow("913 bytes append") << 913 << 1827;
    QTest::newRow("914 bytes without marker append") << 914 << 1828;
    QTest::newRow("large file appends") << 100000 << 100914;
}

void TestPictureTrailer::roundTrip()
{
    QFETCH(int, mediaSize);
    QFETCH(int, sizeAfter);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.bin"));
    writeAll(path, mediaBytes(mediaSize));

    const PictureReadResult before = ReadPictureInfo(path);
    QVERIFY(!before.error);
    QCOMPARE(before.info, PictureInfo());

    PictureInfo info = sample();
    QVERIFY(!WritePictureInfo(path, info));
    QCOMPARE(QFileInfo(path).size(), sizeAfter);
    const PictureReadResult after = ReadPictureInfo(path);
    QVERIFY(!after.error);
    QCOMPARE(trimmed(after.info), info);
}

void TestPictureTrailer::repeatedSavesOverwriteInPlace()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.jpg"));
    const QByteArray media = mediaBytes(5000);
    writeAll(path, media);
    PictureInfo first = sample();
    QVERIFY(!WritePictureInfo(path, first));
    PictureInfo second;
    second.ort = QStringLiteral("Berlin");
    QVERIFY(!WritePictureInfo(path, second));
    QCOMPARE(QFileInfo(path).size(), 5914);
    QCOMPARE(readAll(path).left(5000), media);
    QCOMPARE(trimmed(ReadPictureInfo(path).info).ort, QStringLiteral("Berlin"));
    QCOMPARE(trimmed(ReadPictureInfo(path).info).namen, QString());

    // A file that is nothing but a trailer reads back and is overwritten, not extended.
    const QString bare = dir.filePath(QStringLiteral("bare"));
    writeAll(bare, readAll(path).right(914));
    QCOMPARE(trimmed(ReadPictureInfo(bare).info).ort, QStringLiteral("Berlin"));
    QVERIFY(!WritePictureInfo(bare, first));
    QCOMPARE(QFileInfo(bare).size(), 914);
}

void TestPictureTrailer::markerCaseDecidesAppendOrOverwrite()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    QByteArray lower = QByteArray("fileinfo").leftJustified(914, 'x');
    writeAll(path, mediaBytes(100) + lower);
    QCOMPARE(ReadPictureInfo(path).info, PictureInfo());
    PictureInfo info = sample();
    QVERIFY(!WritePictureInfo(path, info));
    QCOMPARE(QFileInfo(path).size(), 100 + 914 + 914);
    QCOMPARE(readAll(path).mid(100, 914), lower);

    // Any bytes that happen to spell the marker count as a trailer and get overwritten.
    const QString accidental = dir.filePath(QStringLiteral("g"));
    writeAll(accidental, mediaBytes(100) + QByteArray("FileInfo").leftJustified(914, 'x'));
    QCOMPARE(ReadPictureInfo(accidental).info.namen, QString(128, QLatin1Char('x')));
    QVERIFY(!WritePictureInfo(accidental, info));
    QCOMPARE(QFileInfo(accidental).size(), 1014);
}

void TestPictureTrailer::longTextsAreCut()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f"));
    writeAll(path, "x");
    PictureInfo info;
    info.namen = QString(129, QLatin1Char('n'));
    info.datum = QStringLiteral("01.02.20034");
    info.bemerkungen = QString(600, QLatin1Char('b'));
    info.ort = QStringLiteral("   ");
    info.anlass = QStringLiteral(" Feier ");
    QVERIFY(!WritePictureInfo(path, info));
    const PictureInfo back = ReadPictureInfo(path).info;
    // Blanks are padding: all-blank reads back empty, leading blanks stay.
    QCOMPARE(trimmed(back).ort, QString());
    QCOMPARE(trimmed(back).anlass, QStringLiteral(" Feier"));
    QCOMPARE(back.namen, QString(128, QLatin1Char('n')));
    QCOMPARE(back.datum, QStringLiteral("01.02.2003"));
    QCOMPARE(back.bemerkungen, QString(512, QLatin1Char('b')));
    QCOMPARE(QFileInfo(path).size(), 915);
}

void TestPictureTrailer::missingFileIsReportedNotCreated()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("weg.jpg"));
    const PictureReadResult read = ReadPictureInfo(path);
    QCOMPARE(read.error.kind, TrailerError::Kind::Missing);
    PictureInfo info = sample();
    const TrailerError error = WritePictureInfo(path, info);
    QCOMPARE(error.kind, TrailerError::Kind::Missing);
    QVERIFY(error.message.contains(QStringLiteral("weg.jpg")));
    QVERIFY(!QFile::exists(path));
}

QTEST_GUILESS_MAIN(TestPictureTrailer)
#include "tst_picturetrailer.moc"
