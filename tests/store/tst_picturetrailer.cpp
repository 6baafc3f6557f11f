#include "store/PictureTrailer.h"
#include "store/Windows1252.h"
#include "support/CoreChecks.h"

#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>

using namespace zv;
using test::mediaBytes;
using test::readAll;

class TestPictureTrailer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void codecMatchesIcuForEveryByte()
    {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString expected = QStringDecoder("windows-1252").decode(all);
        const QString ours = windows1252::decode(all.constData(), all.size());
        // ICU leaves the five unassigned bytes undefined; everything else must agree.
        for (int i = 0; i < 256; ++i)
            if (!QList<int>{0x81, 0x8D, 0x8F, 0x90, 0x9D}.contains(i))
                QCOMPARE(ours.at(i), expected.at(i));
        QCOMPARE(windows1252::encode(ours), all);
        QCOMPARE(windows1252::encode(QStringLiteral("€ä😀")), QByteArray("\x80\xE4?"));
    }

    // Each text in Windows-1252 at its offset, cut at its width and padded with blanks.
    void layoutIsByteExact()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.jpg"));
        QVERIFY(test::writeAll(path, "JPEG"));
        PictureInfo info;
        info.namen = QStringLiteral("Käthe ") + QString(200, QLatin1Char('n'));
        info.ort = QStringLiteral("   ");
        info.datum = QStringLiteral("01.02.20034");
        info.anlass = QStringLiteral(" Weihnachten für 5 € ");
        info.bemerkungen = QString(600, QChar(0xDF));
        QVERIFY(!WritePictureInfo(path, info));
        QCOMPARE(info.marker, QStringLiteral("FileInfo"));
        const QByteArray bytes = readAll(path);
        QCOMPARE(bytes.size(), 4 + 914);
        const QByteArray t = bytes.mid(4);
        QCOMPARE(t.left(8), QByteArray("FileInfo"));
        QCOMPARE(t.mid(8, 128), ("K\xE4the " + QByteArray(200, 'n')).left(128));
        QCOMPARE(t.mid(136, 128), QByteArray(128, ' '));
        QCOMPARE(t.mid(264, 10), QByteArray("01.02.2003"));
        QCOMPARE(t.mid(274, 128), QByteArray(" Weihnachten f\xFCr 5 \x80").leftJustified(128, ' '));
        QCOMPARE(t.mid(402, 512), QByteArray(512, '\xDF'));
        const PictureInfo back = trimmed(ReadPictureInfo(path).info);
        QCOMPARE(back.ort, QString());
        QCOMPARE(back.anlass, QStringLiteral(" Weihnachten für 5 €"));
        QCOMPARE(back.bemerkungen, info.bemerkungen.left(512));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("trailerBefore");
        QTest::addColumn<int>("kept"); // leading bytes that stay; the trailer follows them
        PictureInfo old;
        old.ort = QStringLiteral("Berlin");
        const QByteArray trailer = trailer::encode(old);
        QTest::newRow("913 bytes append") << mediaBytes(913) << false << 913;
        QTest::newRow("914 bytes without marker append") << mediaBytes(914) << false << 914;
        QTest::newRow("second save overwrites") << mediaBytes(5000) + trailer << true << 5000;
        QTest::newRow("bare trailer overwritten") << trailer << true << 0;
        QTest::newRow("marker case matters") << mediaBytes(100) + QByteArray("fileinfo").leftJustified(914, 'x') << false
                                             << 1014;
    }
    void roundTrip()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, trailerBefore);
        QFETCH(int, kept);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f.bin"));
        QVERIFY(test::writeAll(path, before));
        const PictureReadResult read = ReadPictureInfo(path);
        QVERIFY(!read.error);
        QCOMPARE(read.info != PictureInfo(), trailerBefore);
        PictureInfo info;
        info.ort = QStringLiteral("Straße am Fluß");
        info.bemerkungen = QStringLiteral("  führende Leerzeichen bleiben"); // the user's; trailing ones are padding
        QVERIFY(!WritePictureInfo(path, info));
        QCOMPARE(readAll(path), before.left(kept) + trailer::encode(info));
        const PictureReadResult back = ReadPictureInfo(path);
        QVERIFY(!back.error);
        QCOMPARE(trimmed(back.info), info);
    }
};

QTEST_GUILESS_MAIN(TestPictureTrailer)
#include "tst_picturetrailer.moc"
