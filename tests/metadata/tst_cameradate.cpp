#include "support/CoreChecks.h"
#include "support/MediaClips.h"

#include "metadata/CameraMoment.h"
#include "operations/CameraDates.h"
#include "platform/FileNames.h"
#include "store/PictureTrailer.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <ctime>

#ifdef ZV_HEIF_PICTURES
#include "support/HeifFiles.h"
#endif

using namespace zv;
using Result = CameraDateResult::Result;

namespace {

bool runExiv2(const QString &file, const QStringList &sets)
{
    QStringList args;
    for (const QString &set : sets)
        args << QStringLiteral("-M") + set;
    QProcess exiv2;
    exiv2.start(QStringLiteral("exiv2"), args << file);
    return exiv2.waitForFinished(30000) && exiv2.exitStatus() == QProcess::NormalExit && exiv2.exitCode() == 0;
}

QString originalAt(const QString &moment)
{
    return QStringLiteral("set Exif.Photo.DateTimeOriginal Ascii ") + moment;
}

// How a row spoils its EXIF block after exiv2 wrote it.
enum class Damage { None, CutInApp1, GarbledIfd, App1LongerThanFile, ItemPastTheEnd, NoFtyp };

bool damage(const QString &path, Damage how)
{
    QByteArray bytes = test::readAll(path);
    if (how == Damage::NoFtyp) { // an old QuickTime film opens with other boxes
        if (bytes.mid(4, 4) != "ftyp")
            return false;
        bytes.replace(4, 4, "free");
        return test::writeAll(path, bytes);
    }
    if (how == Damage::ItemPastTheEnd) { // the last extent's length in iloc, the Exif item's
        const qsizetype iloc = bytes.indexOf("iloc");
        if (iloc < 4)
            return false;
        const int size = (uchar(bytes[iloc - 4]) << 24) | (uchar(bytes[iloc - 3]) << 16) | (uchar(bytes[iloc - 2]) << 8)
                         | uchar(bytes[iloc - 1]);
        bytes.replace(iloc - 4 + size - 4, 4, QByteArray("\x7f\xff\xff\xf0", 4));
        return test::writeAll(path, bytes);
    }
    const qsizetype exif = bytes.indexOf(QByteArray("Exif\0\0", 6));
    if (how == Damage::None)
        return true;
    if (exif < 4)
        return false;
    switch (how) {
    case Damage::CutInApp1:
        bytes.truncate(exif + 20);
        break;
    case Damage::GarbledIfd: // the entries after the TIFF header's first IFD offset
        for (qsizetype i = exif + 6 + 8; i < exif + 6 + 8 + 40 && i < bytes.size(); ++i)
            bytes[i] = char(0xFF);
        break;
    case Damage::App1LongerThanFile:
        bytes[exif - 2] = char(0xFF);
        bytes[exif - 1] = char(0xF0);
        break;
    case Damage::None:
    case Damage::ItemPastTheEnd:
    case Damage::NoFtyp:
        break;
    }
    return test::writeAll(path, bytes);
}

enum class Kind { Jpeg, Video, Heic };

// The TIFF block of a JPEG's APP1, as a HEIC carries it in its Exif item.
QByteArray tiffBlock(const QByteArray &jpeg)
{
    const qsizetype exif = jpeg.indexOf(QByteArray("Exif\0\0", 6));
    if (exif < 4)
        return {};
    const int length = (uchar(jpeg[exif - 2]) << 8) | uchar(jpeg[exif - 1]);
    return jpeg.mid(exif + 6, length - 8);
}

// By the name's own bytes: QFile would not find a name that is not UTF-8.
QByteArray readNative(const QString &path)
{
    QByteArray bytes;
    if (std::FILE *f = std::fopen(nativePath(path).constData(), "rb")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;)
            bytes.append(buffer, qsizetype(n));
        std::fclose(f);
    }
    return bytes;
}

} // namespace

class TestCameraDate : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void takesTheCameraDate_data();
    void takesTheCameraDate();
    void missingFileFails();
    void summary_data();
    void summary();

private:
    QTemporaryDir m_dir;
    int m_made = 0;
};

void TestCameraDate::initTestCase()
{
    // The videos' moments are UTC; the day they fall on is Berlin's.
    qputenv("TZ", "Europe/Berlin");
    tzset();
    QCOMPARE(QDateTime(QDate(2024, 7, 14), QTime(23, 30), Qt::UTC).toLocalTime().date(), QDate(2024, 7, 15));
    QVERIFY(m_dir.isValid());
}

void TestCameraDate::takesTheCameraDate_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<QStringList>("exif"); // exiv2 -M commands, or the video's creation_time
    QTest::addColumn<Damage>("damaged");
    QTest::addColumn<bool>("withTrailer");
    QTest::addColumn<QString>("datum"); // in the trailer before
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<bool>("oddName"); // a name that is not UTF-8
    QTest::addColumn<Result>("result");
    QTest::addColumn<QString>("datumAfter");

    const QStringList july14{originalAt(QStringLiteral("2024:07:14 09:30:00"))};
    const QString none;
    QTest::newRow("picture with moment") << Kind::Jpeg << july14 << Damage::None << false << none << false << false
                                         << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("trailer behind the exif") << Kind::Jpeg << july14 << Damage::None << true << none << false << false
                                             << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("name not utf-8") << Kind::Jpeg << july14 << Damage::None << true << none << false << true
                                    << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("app1 cut off") << Kind::Jpeg << july14 << Damage::CutInApp1 << false << none << false << false
                                  << Result::NoMoment << none;
    QTest::newRow("ifd garbled") << Kind::Jpeg << july14 << Damage::GarbledIfd << true << none << false << false
                                 << Result::NoMoment << none;
    QTest::newRow("app1 longer than file") << Kind::Jpeg << july14 << Damage::App1LongerThanFile << false << none
                                           << false << false << Result::NoMoment << none;
    QTest::newRow("no exif") << Kind::Jpeg << QStringList() << Damage::None << false << none << false << false
                             << Result::NoMoment << none;
    QTest::newRow("zeroed moment") << Kind::Jpeg << QStringList{originalAt(QStringLiteral("0000:00:00 00:00:00"))}
                                   << Damage::None << false << none << false << false << Result::NoMoment << none;
    QTest::newRow("year before Christ") << Kind::Jpeg << QStringList{originalAt(QStringLiteral("-001:07:14 09:30:00"))}
                                        << Damage::None << false << none << false << false << Result::NoMoment << none;
    QTest::newRow("garbage moment") << Kind::Jpeg << QStringList{originalAt(QStringLiteral("gestern abend"))}
                                    << Damage::None << false << none << false << false << Result::NoMoment << none;
    QTest::newRow("offset does not move the day")
        << Kind::Jpeg
        << QStringList{originalAt(QStringLiteral("2024:07:14 23:30:00")),
                       QStringLiteral("set Exif.Photo.OffsetTimeOriginal Ascii -05:00"),
                       QStringLiteral("set Exif.Photo.OffsetTime Ascii -05:00")}
        << Damage::None << false << none << false << false << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("an hour the clocks skipped here")
        << Kind::Jpeg << QStringList{originalAt(QStringLiteral("2024:03:31 02:30:00"))} << Damage::None << false << none
        << false << false << Result::Dated << QStringLiteral("31.03.2024");
    QTest::newRow("date already set") << Kind::Jpeg << july14 << Damage::None << true << QStringLiteral("01.02.2003")
                                      << false << false << Result::HadDate << QStringLiteral("01.02.2003");
    QTest::newRow("partly known date kept")
        << Kind::Jpeg << july14 << Damage::None << true << QStringLiteral("xx.07.2024") << false << false
        << Result::HadDate << QStringLiteral("xx.07.2024");
    QTest::newRow("unknown date replaced")
        << Kind::Jpeg << july14 << Damage::None << true << QStringLiteral("xx.xx.xxxx") << false << false
        << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("read-only") << Kind::Jpeg << july14 << Damage::None << true << none << true << false
                               << Result::ReadOnly << none;
    QTest::newRow("heic") << Kind::Heic << july14 << Damage::None << false << none << false << false << Result::Dated
                          << QStringLiteral("14.07.2024");
    QTest::newRow("heic with trailer") << Kind::Heic << july14 << Damage::None << true << none << false << false
                                       << Result::Dated << QStringLiteral("14.07.2024");
    QTest::newRow("heic with its exif item past the end") << Kind::Heic << july14 << Damage::ItemPastTheEnd << false
                                                          << none << false << false << Result::NoMoment << none;
    QTest::newRow("video 23:30 utc is the next day here")
        << Kind::Video << QStringList{QStringLiteral("2024-07-14T23:30:00Z")} << Damage::None << false << none << false
        << false << Result::Dated << QStringLiteral("15.07.2024");
    QTest::newRow("video with trailer and odd name")
        << Kind::Video << QStringList{QStringLiteral("2024-12-31T22:59:59Z")} << Damage::None << true << none << false
        << true << Result::Dated << QStringLiteral("31.12.2024");
    QTest::newRow("film without ftyp") << Kind::Video << QStringList{QStringLiteral("2024-07-14T08:00:00Z")}
                                       << Damage::NoFtyp << false << none << false << false << Result::Dated
                                       << QStringLiteral("14.07.2024");
    QTest::newRow("video without creation time")
        << Kind::Video << QStringList() << Damage::None << false << none << false << false << Result::NoMoment << none;
}

void TestCameraDate::takesTheCameraDate()
{
    QFETCH(Kind, kind);
    QFETCH(QStringList, exif);
    QFETCH(Damage, damaged);
    QFETCH(bool, withTrailer);
    QFETCH(QString, datum);
    QFETCH(bool, readOnly);
    QFETCH(bool, oddName);
    QFETCH(Result, result);
    QFETCH(QString, datumAfter);

    const QString folder = m_dir.filePath(QString::number(++m_made));
    QVERIFY(QDir().mkpath(folder));
    const char *extension = kind == Kind::Jpeg ? "jpg" : kind == Kind::Video ? "mp4" : "heic";
    QString path = folder + QStringLiteral("/made.") + QLatin1String(extension);
    if (kind == Kind::Heic) {
#ifdef ZV_HEIF_PICTURES
        const QString carrier = folder + QStringLiteral("/exif.jpg");
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::white);
        QVERIFY(picture.save(carrier, "JPEG") && runExiv2(carrier, exif));
        QImage shown(64, 48, QImage::Format_RGB32);
        shown.fill(Qt::darkCyan);
        const QString failed = test::writeHeif(path, shown, heif_compression_HEVC, tiffBlock(test::readAll(carrier)));
        if (failed == QLatin1String("no encoder in this libheif"))
            QSKIP("libheif here has no HEVC encoder to make the file");
        QVERIFY2(failed.isEmpty(), qPrintable(failed));
        QVERIFY(QFile::remove(carrier));
        QVERIFY(damage(path, damaged));

#else
        QSKIP("built without libheif");
#endif
    } else if (kind == Kind::Jpeg) {
        QImage picture(48, 32, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        QVERIFY(picture.save(path, "JPEG"));
        if (!exif.isEmpty())
            QVERIFY(runExiv2(path, exif));
        QVERIFY(damage(path, damaged));
    } else {
        QStringList args{"-f", "lavfi", "-i", "color=c=red:s=64x64:d=1"};
        if (!exif.isEmpty())
            args << "-metadata" << QStringLiteral("creation_time=") + exif.first();
        QVERIFY(runFfmpeg(args << path));
        QVERIFY(damage(path, damaged));
    }
    if (oddName) {
        const QByteArray odd = QFile::encodeName(folder)
                               + "/Gr\xfc\xdf"
                                 "e."
                               + extension;
        QCOMPARE(std::rename(QFile::encodeName(path).constData(), odd.constData()), 0);
        path = decodeFileName(odd);
    }
    // QTemporaryDir removes by QString, which finds neither such a name nor a read-only file.
    const auto cleanUp = qScopeGuard([&] { std::remove(nativePath(path).constData()); });
    const PictureInfo others{{},    QStringLiteral("Eva, Jörg"), QStringLiteral("Köln"),
                             datum, QStringLiteral("Urlaub"),    QStringLiteral("am Rhein")};
    if (withTrailer) {
        PictureInfo info = others;
        QVERIFY(!WritePictureInfo(path, info));
    }
    if (readOnly)
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = readNative(path);
    const qint64 media = before.size() - (withTrailer ? PictureInfo::TrailerSize : 0);
    QVERIFY(media > 0);

    const CameraDateResult taken = takeCameraDate(path, folder);
    QCOMPARE(taken.result, result);
    QVERIFY2(taken.message.isEmpty(), qPrintable(taken.message));

    const QByteArray after = readNative(path);
    QCOMPARE(after.left(media), before.left(media)); // the picture itself never changes
    if (result != Result::Dated) {
        QCOMPARE(after, before);
        return;
    }
    QCOMPARE(after.size(), media + PictureInfo::TrailerSize);
    const PictureReadResult read = ReadPictureInfo(path);
    QVERIFY(!read.error);
    const PictureInfo onDisk = trimmed(read.info);
    QCOMPARE(onDisk.datum, datumAfter);
    QCOMPARE(taken.stored.datum, datumAfter);
    if (withTrailer) {
        QCOMPARE(onDisk.namen, others.namen);
        QCOMPARE(onDisk.ort, others.ort);
        QCOMPARE(onDisk.anlass, others.anlass);
        QCOMPARE(onDisk.bemerkungen, others.bemerkungen);
    }
    QCOMPARE(taken.stored.namen, onDisk.namen);
    QCOMPARE(taken.stored.bemerkungen, onDisk.bemerkungen);
}

void TestCameraDate::missingFileFails()
{
    const CameraDateResult taken = takeCameraDate(m_dir.filePath(QStringLiteral("weg.jpg")), m_dir.path());
    QCOMPARE(taken.result, Result::Failed);
    QVERIFY(taken.message.contains(QLatin1String("weg.jpg")));
    QVERIFY(!cameraMoment(m_dir.filePath(QStringLiteral("weg.jpg"))));
}

void TestCameraDate::summary_data()
{
    QTest::addColumn<QList<Result>>("results");
    QTest::addColumn<QString>("expected");
    QTest::newRow("all kinds, plural and singular")
        << QList<Result>{Result::Dated,    Result::NoMoment, Result::Dated,
                         Result::ReadOnly, Result::NoMoment, Result::Dated}
        << QStringLiteral("3 Dateien haben ein Datum erhalten, 2 hatten kein Aufnahmedatum, 1 ist schreibgeschützt.");
    QTest::newRow("one dated") << QList<Result>{Result::Dated} << QStringLiteral("1 Datei hat ein Datum erhalten.");
    QTest::newRow("none dated names the files in its first part")
        << QList<Result>{Result::HadDate, Result::NoMoment, Result::HadDate}
        << QStringLiteral("1 Datei hatte kein Aufnahmedatum, 2 hatten schon ein Datum.");
    QTest::newRow("read-only ones") << QList<Result>{Result::ReadOnly, Result::ReadOnly}
                                    << QStringLiteral("2 Dateien sind schreibgeschützt.");
    QTest::newRow("failures listed")
        << QList<Result>{Result::Failed, Result::Dated, Result::Failed}
        << QStringLiteral("1 Datei hat ein Datum erhalten, 2 konnten nicht bearbeitet werden.\nFehler 1\nFehler 3");
    QTest::newRow("nothing") << QList<Result>{} << QStringLiteral("Keine Datei hat ein Datum erhalten.");
}

void TestCameraDate::summary()
{
    QFETCH(QList<Result>, results);
    QFETCH(QString, expected);
    CameraDateCounts counts;
    for (int i = 0; i < results.size(); ++i) {
        CameraDateResult r;
        r.result = results[i];
        if (r.result == Result::Failed)
            r.message = QStringLiteral("Fehler %1").arg(i + 1);
        count(counts, r);
    }
    QCOMPARE(cameraDateSummary(counts), expected);
}

QTEST_GUILESS_MAIN(TestCameraDate)
#include "tst_cameradate.moc"
