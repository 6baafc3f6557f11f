// Lossless turns checked against jpegtran, the tool every photographer trusts for them: the
// pixels it gives, the EXIF orientation 1 afterwards, the trailer kept, and the refusals that
// leave a file as it was.
#include "support/CoreChecks.h"

#include "model/Album.h"
#include "model/ProgramState.h"
#include "operations/RotatePicture.h"
#include "operations/TurnRun.h"
#include "platform/FileReplace.h"
#include "store/PictureTrailer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace zv;
using zv::test::readAll;
using zv::test::writeAll;
using Result = RotateOutcome::Result;

namespace {

QByteArray run(const QString &program, const QStringList &args, int *exitCode = nullptr, QByteArray *err = nullptr)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    if (err)
        *err = p.readAllStandardError();
    return p.readAllStandardOutput();
}

// Noise over gradients: each of the eight placings of it differs from the others.
QByteArray photoPpm(int width, int height)
{
    QByteArray ppm = QStringLiteral("P6\n%1 %2\n255\n").arg(width).arg(height).toLatin1();
    quint32 seed = 7;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 27);
            ppm += char(x * 255 / width + noise);
            ppm += char(y * 255 / height + noise);
            ppm += char((x * y) & 0xFF);
        }
    return ppm;
}

// A camera's JPEG; orientation 0 writes no EXIF at all.
bool writeJpeg(const QString &path, int width, int height, int orientation)
{
    const QString ppm = path + QStringLiteral(".ppm");
    int code = 1;
    if (!writeAll(ppm, photoPpm(width, height)))
        return false;
    run(QStringLiteral("cjpeg"), {"-quality", "90", "-outfile", path, ppm}, &code);
    QFile::remove(ppm);
    if (code == 0 && orientation)
        run(QStringLiteral("exiv2"), {QStringLiteral("-Mset Exif.Image.Orientation Short %1").arg(orientation), path},
            &code);
    return code == 0;
}

QByteArray trailerBytes()
{
    PictureInfo info;
    info.ort = QStringLiteral("Köln");
    info.namen = QStringLiteral("Anna");
    return trailer::encode(info);
}

QByteArray pixels(const QString &jpeg)
{
    return run(QStringLiteral("djpeg"), {"-pnm", jpeg});
}

QByteArray jpegtran(const QString &input, const QStringList &transform)
{
    return run(QStringLiteral("jpegtran"), transform + QStringList{"-copy", "none", input});
}

QString orientationOf(const QString &path)
{
    return QString::fromLatin1(run(QStringLiteral("exiv2"), {"-g", "Exif.Image.Orientation", "-Pv", path})).trimmed();
}

QStringList folderFiles(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// An album of one picture, bild.jpg, whose entry has yet to learn the file's size.
struct OnePicture {
    QTemporaryDir dir;
    Album album;
    ProgramState state;
    AlbumContext context{AlbumPaths{dir.path()}, album, state, nullptr};
    QString path = dir.filePath(QStringLiteral("Bilder/bild.jpg"));

    OnePicture()
    {
        QDir(dir.path()).mkdir(QStringLiteral("Bilder"));
        AlbumEntry entry;
        entry.name = QStringLiteral("bild.jpg");
        entry.kind = MediaKind::Bild;
        album.append(entry);
    }
    RotateOutcome turn(Turn how, bool confirm = true)
    {
        return rotatePicture(context, QStringLiteral("bild.jpg"), how, [confirm] { return confirm; });
    }
};

} // namespace

class TestJpegTurn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void turnsAsJpegtran_data();
    void turnsAsJpegtran();
    void uprightPictureIsLeftAlone();
    void exifFollowsTheTurn();
    void refused_data();
    void refused();
    void readOnly_data();
    void readOnly();
    void links_data();
    void links();
    void vanishedFile();
    void fileChangedMeanwhile_data();
    void fileChangedMeanwhile();
    void companion_data();
    void companion();
    void inTheBackground_data();
    void inTheBackground();
};

void TestJpegTurn::turnsAsJpegtran_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<Turn>("turn");
    QTest::addColumn<QStringList>("jpegtran");
    QTest::addColumn<bool>("withTrailer");
    // What the user sees turned, as a transform of the stored pixels.
    const QStringList none, h{"-flip", "horizontal"}, v{"-flip", "vertical"}, r90{"-rotate", "90"},
        r180{"-rotate", "180"}, r270{"-rotate", "270"}, t{"-transpose"}, tv{"-transverse"};
    const QList<QStringList> upright{{}, h, r180, v, t, r90, tv, r270};
    const QList<QStringList> right{r90, tv, r270, t, h, r180, v, none};
    const QList<QStringList> left{r270, t, r90, tv, v, none, h, r180};
    for (int o = 1; o <= 8; ++o) {
        const bool trailer = o % 2 == 1;
        if (o > 1)
            QTest::addRow("upright %d", o) << o << Turn::Upright << upright[o - 1] << trailer;
        QTest::addRow("right %d", o) << o << Turn::Right << right[o - 1] << !trailer;
        QTest::addRow("left %d", o) << o << Turn::Left << left[o - 1] << trailer;
    }
    QTest::newRow("right, no EXIF") << 0 << Turn::Right << r90 << true;
}

void TestJpegTurn::turnsAsJpegtran()
{
    QFETCH(int, orientation);
    QFETCH(Turn, turn);
    QFETCH(QStringList, jpegtran);
    QFETCH(bool, withTrailer);
    OnePicture album;
    QVERIFY(writeJpeg(album.path, 64, 48, orientation));
    const QByteArray expected = ::jpegtran(album.path, jpegtran);
    QVERIFY(!expected.isEmpty());
    const QString reference = album.dir.filePath(QStringLiteral("reference.jpg"));
    QVERIFY(writeAll(reference, expected));
    if (withTrailer)
        QVERIFY(writeAll(album.path, readAll(album.path) + trailerBytes()));

    const RotateOutcome outcome = album.turn(turn);
    QCOMPARE(outcome.result, Result::Turned);
    QCOMPARE(pixels(album.path), pixels(reference));
    QCOMPARE(orientationOf(album.path), orientation ? QStringLiteral("1") : QString());
    const QByteArray turned = readAll(album.path);
    QCOMPARE(turned.right(PictureInfo::TrailerSize) == trailerBytes(), withTrailer);
    if (!withTrailer)
        QVERIFY(turned.endsWith("\xFF\xD9")); // the JPEG's end, nothing after it
    QCOMPARE(folderFiles(album.dir.filePath(QStringLiteral("Bilder"))), QStringList{"bild.jpg"});
    const AlbumEntry &entry = album.album.at(0);
    QCOMPARE(entry.sizeKB, sizeInKB(turned.size()));
    QCOMPARE(entry.info.ort, withTrailer ? QStringLiteral("Köln") : QString());
}

void TestJpegTurn::uprightPictureIsLeftAlone()
{
    OnePicture album;
    QVERIFY(writeJpeg(album.path, 64, 48, 1));
    const QByteArray before = readAll(album.path);
    const QDateTime written = QFileInfo(album.path).lastModified();
    QTest::qSleep(20);
    const RotateOutcome outcome = album.turn(Turn::Upright);
    QCOMPARE(outcome.result, Result::AlreadyUpright);
    QVERIFY(!outcome.message.isEmpty());
    QCOMPARE(readAll(album.path), before);
    QCOMPARE(QFileInfo(album.path).lastModified(), written);
}

// Readers that trust the preview, the stated size or XMP would show the old way or the old shape.
void TestJpegTurn::exifFollowsTheTurn()
{
    OnePicture album;
    QVERIFY(writeJpeg(album.path, 64, 48, 6));
    const QString thumb = album.dir.filePath(QStringLiteral("Bilder/bild-thumb.jpg"));
    QVERIFY(writeJpeg(thumb, 16, 16, 0));
    int code = 1;
    run(QStringLiteral("exiv2"), {"-it", album.path}, &code); // takes bild-thumb.jpg beside it
    QVERIFY(code == 0 && QFile::remove(thumb));
    run(QStringLiteral("exiv2"),
        {"-Mset Exif.Photo.PixelXDimension Long 64", "-Mset Exif.Photo.PixelYDimension Long 48",
         "-Mset Xmp.tiff.Orientation 6", album.path},
        &code);
    QVERIFY(code == 0);
    const QString preview = QStringLiteral("-Mset Xmp.xmp.Thumbnails[1]/xmpGImg:");
    run(QStringLiteral("exiv2"),
        {"-Mset Xmp.xmp.Thumbnails XmpText type=Alt", preview + "format JPEG", preview + "width 16",
         preview + "height 16", preview + "image " + QString::fromLatin1(readAll(album.path).toBase64()), album.path},
        &code);
    QVERIFY(code == 0);
    QCOMPARE(run(QStringLiteral("exiv2"), {"-pp", album.path}).count("Preview "), 2);
    QCOMPARE(album.turn(Turn::Upright).result, Result::Turned);
    const QString shown = QString::fromLatin1(
        run(QStringLiteral("exiv2"), {"-Pv", "-g", "Exif.Photo.PixelXDimension", "-g", "Exif.Photo.PixelYDimension",
                                      "-g", "Xmp.tiff.Orientation", album.path}));
    QCOMPARE(shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts), QStringList({"48", "64", "1"}));
    QCOMPARE(run(QStringLiteral("exiv2"), {"-pp", album.path}).count("Preview "), 0);
}

void TestJpegTurn::refused_data()
{
    QTest::addColumn<QByteArray>("kind"); // jpeg WxH, or the file's bytes
    QTest::addColumn<Turn>("turn");
    QTest::addColumn<Result>("result");
    QTest::newRow("100x75, not whole blocks") << QByteArray("jpeg 100x75") << Turn::Right << Result::NotWholeBlocks;
    QTest::newRow("100x75 mirrored, not whole blocks")
        << QByteArray("jpeg 100x75 2") << Turn::Upright << Result::NotWholeBlocks;
    QTest::newRow("PNG named .jpg") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << Turn::Right
                                    << Result::NotJpeg;
    QTest::newRow("HEIC") << QByteArray("\0\0\0\x18"
                                        "ftypheic\0\0\0\0mif1heic",
                                        24)
                          << Turn::Left << Result::NotJpeg;
    QTest::newRow("empty") << QByteArray() << Turn::Left << Result::NotJpeg;
    QTest::newRow("damaged JPEG") << QByteArray("\xFF\xD8\xFF\xE0garbage", 11) << Turn::Left << Result::Failed;
}

void TestJpegTurn::refused()
{
    QFETCH(QByteArray, kind);
    QFETCH(Turn, turn);
    QFETCH(Result, result);
    OnePicture album;
    if (kind.startsWith("jpeg")) {
        QVERIFY(writeJpeg(album.path, 100, 75, kind.endsWith(" 2") ? 2 : 1));
        QVERIFY(writeAll(album.path, readAll(album.path) + trailerBytes()));
    } else {
        QVERIFY(writeAll(album.path, kind));
    }
    const QByteArray before = readAll(album.path);
    const RotateOutcome outcome = album.turn(turn);
    QCOMPARE(outcome.result, result);
    QVERIFY2(outcome.message.contains(QStringLiteral("bild.jpg")), qPrintable(outcome.message));
    QCOMPARE(readAll(album.path), before);
    QCOMPARE(folderFiles(album.dir.filePath(QStringLiteral("Bilder"))), QStringList{"bild.jpg"});
}

void TestJpegTurn::readOnly_data()
{
    QTest::addColumn<bool>("confirm");
    QTest::newRow("declined") << false;
    QTest::newRow("confirmed") << true;
}

void TestJpegTurn::readOnly()
{
    QFETCH(bool, confirm);
    OnePicture album;
    QVERIFY(writeJpeg(album.path, 64, 48, 1));
    const QByteArray expected = jpegtran(album.path, {"-rotate", "90"});
    QVERIFY(::chmod(QFile::encodeName(album.path).constData(), 0444) == 0);
    const QByteArray before = readAll(album.path);
    const RotateOutcome outcome = album.turn(Turn::Right, confirm);
    QCOMPARE(outcome.result, confirm ? Result::Turned : Result::Declined);
    struct stat st { };
    QVERIFY(::stat(QFile::encodeName(album.path).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, 0444u);
    if (!confirm) {
        QCOMPARE(readAll(album.path), before);
        return;
    }
    const QString reference = album.dir.filePath(QStringLiteral("reference.jpg"));
    QVERIFY(writeAll(reference, expected));
    QCOMPARE(pixels(album.path), pixels(reference));
}

void TestJpegTurn::links_data()
{
    QTest::addColumn<bool>("outside");
    QTest::newRow("out of the folder") << true;
    QTest::newRow("within the folder") << false;
}

void TestJpegTurn::links()
{
    QFETCH(bool, outside);
    OnePicture album;
    const QString target = outside ? album.dir.filePath(QStringLiteral("draussen.jpg"))
                                   : album.dir.filePath(QStringLiteral("Bilder/echt.jpg"));
    QVERIFY(writeJpeg(target, 64, 48, 6));
    QVERIFY(QFile::link(target, album.path));
    const QByteArray before = readAll(target);
    const RotateOutcome outcome = album.turn(Turn::Upright);
    QCOMPARE(outcome.result, outside ? Result::Failed : Result::Turned);
    QCOMPARE(readAll(target) == before, outside);
    QVERIFY(QFileInfo(album.path).isSymLink()); // the link stays a link either way
}

void TestJpegTurn::vanishedFile()
{
    OnePicture album;
    const RotateOutcome outcome = album.turn(Turn::Left);
    QCOMPARE(outcome.result, Result::NoFile);
    QVERIFY(outcome.message.contains(QStringLiteral("bild.jpg")));
}

void TestJpegTurn::fileChangedMeanwhile_data()
{
    QTest::addColumn<bool>("sameTime"); // replaced by another file of the same size and time
    QTest::newRow("rewritten in place") << false;
    QTest::newRow("replaced, same size and time") << true;
}

// The last look before the rename: what another program wrote since the file was read stays.
void TestJpegTurn::fileChangedMeanwhile()
{
    QFETCH(bool, sameTime);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    QVERIFY(writeAll(path, "old bytes"));
    const std::optional<FileIdentity> read = fileIdentity(path);
    QVERIFY(read);
    QTest::qSleep(20);
    if (sameTime) {
        const QString other = dir.filePath(QStringLiteral("other"));
        QVERIFY(writeAll(other, "new bytes"));
        struct stat st { };
        QVERIFY(::stat(QFile::encodeName(path).constData(), &st) == 0);
        const struct timespec times[2] = {st.st_atim, st.st_mtim};
        QVERIFY(::utimensat(AT_FDCWD, QFile::encodeName(other).constData(), times, 0) == 0);
        QVERIFY(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()) == 0);
    } else {
        QVERIFY(writeAll(path, "new bytes"));
    }
    const ReplaceOutcome outcome = replaceFileWith(path, *read, {QByteArrayView("turned")});
    QVERIFY(outcome.changed);
    QCOMPARE(readAll(path), QByteArray("new bytes"));
    QCOMPARE(folderFiles(dir.path()), QStringList{"bild.jpg"});
}

void TestJpegTurn::companion_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QList<bool>>("turned"); // bild.jpg, then anderes.png when given
    QTest::newRow("right") << QStringList{"--right"} << false << 0 << QString() << QList<bool>{true};
    QTest::newRow("with a PNG") << QStringList{"--right", "anderes.png"} << false << 1
                                << QStringLiteral("kein JPEG-Bild") << QList<bool>{true, false};
    QTest::newRow("read-only") << QStringList{"--right"} << true << 1 << QStringLiteral("--schreibgeschuetzt")
                               << QList<bool>{false};
    QTest::newRow("read-only, written anyway")
        << QStringList{"--right", "--schreibgeschuetzt"} << true << 0 << QString() << QList<bool>{true};
    QTest::newRow("two directions") << QStringList{"--right", "--left"} << false << 2 << QStringLiteral("Aufruf")
                                    << QList<bool>{false};
}

void TestJpegTurn::companion()
{
    QFETCH(QStringList, options);
    QFETCH(bool, readOnly);
    QFETCH(int, exitCode);
    QFETCH(QString, said);
    QFETCH(QList<bool>, turned);
    QTemporaryDir dir;
    const QString jpeg = dir.filePath(QStringLiteral("bild.jpg"));
    const QString png = dir.filePath(QStringLiteral("anderes.png"));
    QVERIFY(writeJpeg(jpeg, 64, 48, 0));
    QVERIFY(writeAll(png, QByteArray("\x89PNG\r\n\x1a\n", 8)));
    if (readOnly)
        QVERIFY(::chmod(QFile::encodeName(jpeg).constData(), 0444) == 0);
    const QList<QByteArray> before{readAll(jpeg), readAll(png)};
    QStringList args{QStringLiteral("rotate"), jpeg};
    for (const QString &option : options)
        args << (option.startsWith(QLatin1String("--")) ? option : dir.filePath(option));
    int code = -1;
    QByteArray err;
    run(qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/albuminfo"), args, &code, &err);
    QCOMPARE(code, exitCode);
    QVERIFY2(said.isEmpty() ? err.isEmpty() : QString::fromUtf8(err).contains(said), err.constData());
    for (int i = 0; i < turned.size(); ++i)
        QCOMPARE(readAll(i == 0 ? jpeg : png) != before[i], turned[i]);
    struct stat st { };
    QVERIFY(::stat(QFile::encodeName(jpeg).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 0222, readOnly ? 0u : 0200u);
}

// The window's turns: a run to its end turns what it may and tells what it may not; a cancel or
// the run's end with the program stops after the file at hand; every file is old or turned whole.
void TestJpegTurn::inTheBackground_data()
{
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("destroy");
    QTest::newRow("to its end") << false << false;
    QTest::newRow("cancelled") << true << false;
    QTest::newRow("program ends") << false << true;
}

void TestJpegTurn::inTheBackground()
{
    QFETCH(bool, cancel);
    QFETCH(bool, destroy);
    constexpr int kFiles = 12; // big enough that the worker is still at the first when stopped
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Bilder")));
    const QString first = dir.filePath(QStringLiteral("Bilder/bild00.jpg"));
    QVERIFY(writeJpeg(first, 2048, 1536, 1));
    QVERIFY(writeAll(first, readAll(first) + trailerBytes()));
    Album album;
    QStringList names;
    QMap<QString, QByteArray> before;
    for (int i = 0; i < kFiles; ++i) {
        const QString name = QStringLiteral("bild%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
        QVERIFY(i == 0 || QFile::copy(first, dir.filePath(QStringLiteral("Bilder/") + name)));
        album.append(AlbumEntry{name, MediaKind::Bild, 0, {}, 0});
        names << name;
        before[name] = readAll(dir.filePath(QStringLiteral("Bilder/") + name));
    }
    // The user agreed to turn the first read-only file, not the second.
    for (const char *name : {"bild01.jpg", "bild02.jpg"})
        QVERIFY(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("Bilder/") + name)).constData(), 0444) == 0);

    auto turns = std::make_unique<TurnRun>(AlbumPaths{dir.path()}, album);
    QSignalSpy turned(turns.get(), &TurnRun::turned);
    QSignalSpy finished(turns.get(), &TurnRun::finished);
    turns->start(names, Turn::Right, {QStringLiteral("bild01.jpg")});
    if (cancel)
        turns->cancel();
    if (destroy)
        turns.reset();
    else
        QVERIFY(finished.wait(60000));

    int turnedOnDisk = 0;
    for (const QString &name : names) {
        const QString path = dir.filePath(QStringLiteral("Bilder/") + name);
        const QByteArray now = readAll(path);
        if (now == before[name])
            continue;
        ++turnedOnDisk;
        QVERIFY(run(QStringLiteral("rdjpgcom"), {"-verbose", path}).contains("1536w * 2048h"));
        QCOMPARE(now.right(PictureInfo::TrailerSize), trailerBytes());
        QVERIFY2(name != QLatin1String("bild02.jpg"), "turned without the user's word");
        if (!destroy) // the album follows each file the run posted back
            QVERIFY(album.find(name)->sizeKB > 0);
    }
    if (destroy) {
        QVERIFY(turnedOnDisk < kFiles - 1);
        return;
    }
    QCOMPARE(turned.size(), turnedOnDisk);
    const auto [summary, stopped] = std::pair(finished[0][0].toString(), finished[0][1].toBool());
    QCOMPARE(stopped, cancel);
    if (cancel) {
        QVERIFY(turnedOnDisk < kFiles - 1);
        QVERIFY2(summary.startsWith(QStringLiteral("Abgebrochen nach")), qPrintable(summary));
        return;
    }
    QCOMPARE(turnedOnDisk, kFiles - 1);
    QCOMPARE(summary, QString());
}

QTEST_GUILESS_MAIN(TestJpegTurn)
#include "tst_jpegturn.moc"
