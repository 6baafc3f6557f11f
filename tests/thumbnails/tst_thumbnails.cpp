// The shared thumbnail cache's names, the order thumbnails are made in, and the maker over a
// temporary cache.
#include "support/CoreChecks.h"
#include "support/MediaClips.h"

#include "platform/FileNames.h"
#include "thumbnails/ThumbnailCache.h"
#include "thumbnails/Thumbnailer.h"
#include "thumbnails/ThumbnailNames.h"
#include "thumbnails/ThumbnailQueue.h"
#include "viewing/PictureLoader.h"

#include <QBuffer>
#include <QDateTime>
#include <QImageReader>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

using namespace zv;
using namespace zv::thumbnails;

namespace {

QByteArray jpegOf(QColor colour, QSize size = QSize(400, 300))
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

bool near(QRgb pixel, QColor colour)
{
    return qAbs(qRed(pixel) - colour.red()) < 40 && qAbs(qGreen(pixel) - colour.green()) < 40
           && qAbs(qBlue(pixel) - colour.blue()) < 40;
}

// By the name's bytes: QFile would write UTF-8 for a name that is not.
bool setMtime(const QByteArray &path, qint64 seconds)
{
    const struct timespec times[2] = {{seconds, 0}, {seconds, 0}};
    return ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
}

// Names as bytes under /tmp/x/, with the URI GLib makes of them.
void nameTable()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("uri");
    QTest::newRow("plain") << QByteArray("Urlaub_2003-07.jpg") << "file:///tmp/x/Urlaub_2003-07.jpg";
    QTest::newRow("space") << QByteArray("Oma und Opa.jpg") << "file:///tmp/x/Oma%20und%20Opa.jpg";
    QTest::newRow("umlaut utf-8") << QByteArray("M\xc3\xbcnchen.jpg") << "file:///tmp/x/M%C3%BCnchen.jpg";
    QTest::newRow("latin-1 byte") << QByteArray("K\xf6ln.jpg") << "file:///tmp/x/K%F6ln.jpg";
    QTest::newRow("kept sub-delimiters") << QByteArray("a!$&'()*+,=:@~.jpg") << "file:///tmp/x/a!$&'()*+,=:@~.jpg";
    QTest::newRow("escaped delimiters") << QByteArray("a#b?c;d%e[f]g.jpg")
                                        << "file:///tmp/x/a%23b%3Fc%3Bd%25e%5Bf%5Dg.jpg";
    QTest::newRow("quotes and braces") << QByteArray("\"{|}\\^`<>.jpg")
                                       << "file:///tmp/x/%22%7B%7C%7D%5C%5E%60%3C%3E.jpg";
    QTest::newRow("control byte") << QByteArray("tab\there.jpg") << "file:///tmp/x/tab%09here.jpg";
}

} // namespace

class TestThumbnails : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void uriFromBytes_data() { nameTable(); }
    void uriFromBytes();
    void uriAgreesWithGio_data() { nameTable(); }
    void uriAgreesWithGio();
    void cacheRoots_data();
    void cacheRoots();
    void staleness_data();
    void staleness();
    void queueOrderAndCancel_data();
    void queueOrderAndCancel();
    void cacheServesOnlyCurrentFile();
    void makerUsesAndRenewsCache();
    void makerWithoutWritableCache();
    void embeddedPreview_data();
    void embeddedPreview();
    void damagedPreviewOffset();
    void videoFrame();
    void makerMakesOnlyWhatIsShown();
};

void TestThumbnails::uriFromBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, uri);
    QCOMPARE(fileUri(QByteArray("/tmp/x/") + name), uri);
}

// The file manager finds the album's thumbnails only under the URI GLib itself makes.
void TestThumbnails::uriAgreesWithGio()
{
    QFETCH(QByteArray, name);
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        QSKIP("no gio on this machine");
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.path()) + '/' + name;
    QVERIFY(test::writeNative(path, "x"));
    // The name reaches gio as bytes through the shell's glob: an argument would be UTF-8.
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral("sh"),
                  {QStringLiteral("-c"), QStringLiteral("gio info -a standard::size \"$PWD\"/*")});
    QVERIFY(process.waitForFinished());
    std::remove(path.constData());
    QString gioUri;
    for (const QByteArray &line : process.readAllStandardOutput().split('\n'))
        if (line.startsWith("uri: "))
            gioUri = QString::fromLatin1(line.mid(5));
    QCOMPARE(fileUri(path), gioUri);
}

void TestThumbnails::cacheRoots_data()
{
    QTest::addColumn<QByteArray>("xdgCacheHome");
    QTest::addColumn<QString>("root");
    QTest::newRow("XDG_CACHE_HOME") << QByteArray("/var/cache/jens") << "/var/cache/jens/thumbnails";
    QTest::newRow("none") << QByteArray() << "/home/jens/.cache/thumbnails";
    QTest::newRow("relative, so ignored") << QByteArray("cache") << "/home/jens/.cache/thumbnails";
}

void TestThumbnails::cacheRoots()
{
    QFETCH(QByteArray, xdgCacheHome);
    QFETCH(QString, root);
    QCOMPARE(cacheRoot(xdgCacheHome, "/home/jens"), root);
}

void TestThumbnails::staleness_data()
{
    QTest::addColumn<QString>("storedUri");
    QTest::addColumn<QString>("storedMtime");
    QTest::addColumn<QString>("storedSize");
    QTest::addColumn<bool>("current");
    const QString a = QStringLiteral("file:///a.jpg");
    QTest::newRow("same file, same time and size") << a << "1700000000"
                                                   << "2048" << true;
    QTest::newRow("trailer saved since") << a << "1699999999"
                                         << "2048" << false;
    QTest::newRow("turned within the second") << a << "1700000000"
                                              << "2100" << false;
    QTest::newRow("no size stored, as by other programs") << a << "1700000000"
                                                          << "" << true;
    QTest::newRow("size not a number") << a << "1700000000"
                                       << "groß" << false;
    QTest::newRow("another file") << "file:///b.jpg"
                                  << "1700000000"
                                  << "2048" << false;
    QTest::newRow("no time stored") << a << ""
                                    << "2048" << false;
    QTest::newRow("time not a number") << a << "gestern"
                                       << "2048" << false;
}

void TestThumbnails::staleness()
{
    QFETCH(QString, storedUri);
    QFETCH(QString, storedMtime);
    QFETCH(QString, storedSize);
    QFETCH(bool, current);
    QCOMPARE(isCurrent(storedUri, storedMtime, storedSize, QStringLiteral("file:///a.jpg"), {1700000000, 2048}),
             current);
}

void TestThumbnails::queueOrderAndCancel_data()
{
    QTest::addColumn<int>("parallel");
    QTest::addColumn<QString>("done");
    QTest::addColumn<QStringList>("steps");
    QTest::newRow("screen order, two at a time")
        << 2 << "" << QStringList{"show c,a,b|", "take c", "take a", "take -", "finish c", "take b", "take -"};
    QTest::newRow("made ones skipped") << 4 << "a,c" << QStringList{"show a,b,c,d|", "take b", "take d", "take -"};
    QTest::newRow("scrolled away before start")
        << 1 << "" << QStringList{"show a,b,c|", "take a", "show x,y|a", "take -", "finish a",
                                  "take x",      "take -", "finish x",   "take y"};
    QTest::newRow("still on screen keeps running")
        << 2 << "" << QStringList{"show a,b|", "take a", "show b,a,c|", "take b", "take -", "finish a", "take c"};
    QTest::newRow("nothing shown") << 2 << "" << QStringList{"show a,b|", "show |", "take -"};
}

void TestThumbnails::queueOrderAndCancel()
{
    QFETCH(int, parallel);
    QFETCH(QString, done);
    QFETCH(QStringList, steps);
    const QStringList made = done.split(QLatin1Char(','), Qt::SkipEmptyParts);
    ThumbnailQueue queue(parallel);
    for (const QString &step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString what = step.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("show")) {
            const QStringList shown = what.section(QLatin1Char('|'), 0, 0).split(QLatin1Char(','), Qt::SkipEmptyParts);
            QStringList gone = queue.setShown(shown, [&](const QString &name) { return made.contains(name); });
            gone.sort();
            QCOMPARE(gone.join(QLatin1Char(',')), what.section(QLatin1Char('|'), 1));
        } else if (verb == QLatin1String("take")) {
            QCOMPARE(queue.take().value_or(QStringLiteral("-")), what);
        } else {
            queue.finished(what);
        }
    }
}

void TestThumbnails::cacheServesOnlyCurrentFile()
{
    // The example the desktop's thumbnail documentation gives.
    QCOMPARE(cacheFileName(QStringLiteral("file:///home/jens/photos/me.png")),
             QStringLiteral("c6ee772d9e49320e97ec29a7eb5b1697.png"));
    QTemporaryDir dir;
    const ThumbnailCache cache(dir.path() + QStringLiteral("/thumbnails"));
    const QString uri = QStringLiteral("file:///tmp/x/a.jpg");
    QImage red(128, 96, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(cache.store(uri, {1000, 5000}, red));
    // As the file manager reads it: a PNG with both keys, readable by the user alone.
    QImageReader reader(cache.normalFile(uri));
    QCOMPARE(reader.format(), QByteArray("png"));
    const QImage png = reader.read();
    QCOMPARE(png.text(QStringLiteral("Thumb::URI")), uri);
    QCOMPARE(png.text(QStringLiteral("Thumb::MTime")), QStringLiteral("1000"));
    QCOMPARE(png.text(QStringLiteral("Thumb::Size")), QStringLiteral("5000"));
    QCOMPARE(QFile::permissions(cache.normalFile(uri)) & 0x0077, QFileDevice::Permissions());
    QCOMPARE(cache.find(uri, {1000, 5000}).size(), QSize(128, 96));
    QVERIFY(cache.find(uri, {1001, 5000}).isNull());
    QVERIFY(cache.find(QStringLiteral("file:///tmp/x/b.jpg"), {1000, 5000}).isNull());

    // One made large by the file manager serves too, at the normal size.
    const QString other = QStringLiteral("file:///tmp/x/b.jpg");
    QImage large(256, 192, QImage::Format_RGB32);
    large.fill(Qt::blue);
    large.setText(QStringLiteral("Thumb::URI"), other);
    large.setText(QStringLiteral("Thumb::MTime"), QStringLiteral("7"));
    QVERIFY(QDir().mkpath(QFileInfo(cache.largeFile(other)).path()));
    QVERIFY(large.save(cache.largeFile(other), "PNG"));
    QCOMPARE(cache.find(other, {7, 1234}).size(), QSize(128, 96)); // it stored no size
}

void TestThumbnails::makerUsesAndRenewsCache()
{
    QTemporaryDir dir;
    const ThumbnailCache cache(dir.path() + QStringLiteral("/cache/thumbnails"));
    const QByteArray path = QFile::encodeName(dir.path()) + "/K\xf6ln.jpg"; // not UTF-8
    const QString name = decodeFileName(path);
    const QByteArray red = jpegOf(Qt::red) + QByteArray(914, 'T');
    QVERIFY(test::writeNative(path, red));
    QVERIFY(setMtime(path, 1'600'000'000));

    Thumbnail made = makeThumbnail(cache, name, Source::Picture, 64);
    QCOMPARE(made.image.size(), QSize(64, 48));
    QVERIFY(near(made.image.pixel(32, 24), Qt::red));
    QVERIFY(QFile::exists(cache.normalFile(fileUri(path))));
    QCOMPARE(QImage(cache.normalFile(fileUri(path))).size(), QSize(128, 96));

    // Same time and size, new content: the cache answers, so the picture is not decoded again.
    QByteArray blue = jpegOf(Qt::blue);
    QVERIFY(blue.size() <= red.size());
    blue += QByteArray(red.size() - blue.size(), '\0'); // after the end marker, which decoders ignore
    QVERIFY(test::writeNative(path, blue));
    QVERIFY(setMtime(path, 1'600'000'000));
    QVERIFY(near(makeThumbnail(cache, name, Source::Picture, 64).image.pixel(32, 24), Qt::red));
    // A saved trailer moves the time: the old thumbnail is stale and replaced.
    QVERIFY(setMtime(path, 1'600'000'060));
    made = makeThumbnail(cache, name, Source::Picture, 64);
    QVERIFY(near(made.image.pixel(32, 24), Qt::blue));
    QCOMPARE(made.stamp.mtime, 1'600'000'060);
    QVERIFY(near(cache.find(fileUri(path), made.stamp).pixel(64, 48), Qt::blue));
    // Turned within the same second: the size changes, and so does the thumbnail.
    QVERIFY(test::writeNative(path, jpegOf(Qt::green)));
    QVERIFY(setMtime(path, 1'600'000'060));
    QVERIFY(near(makeThumbnail(cache, name, Source::Picture, 64).image.pixel(32, 24), Qt::green));

    // Small pictures are not enlarged, and what is no picture has none.
    QVERIFY(test::writeAll(dir.path() + QStringLiteral("/small.jpg"), jpegOf(Qt::green, QSize(40, 20))));
    QCOMPARE(makeThumbnail(cache, dir.path() + QStringLiteral("/small.jpg"), Source::Picture, 64).image.size(),
             QSize(40, 20));
    QVERIFY(test::writeAll(dir.path() + QStringLiteral("/junk.jpg"), test::mediaBytes(5000)));
    QVERIFY(makeThumbnail(cache, dir.path() + QStringLiteral("/junk.jpg"), Source::Picture, 64).image.isNull());
    std::remove(path.constData()); // QTemporaryDir removes only names it can decode
}

void TestThumbnails::makerWithoutWritableCache()
{
    QTemporaryDir dir;
    // A file where the cache folder should be: nothing can be written, as on a full or read-only home.
    QVERIFY(test::writeAll(dir.path() + QStringLiteral("/cache"), "x"));
    const ThumbnailCache cache(dir.path() + QStringLiteral("/cache/thumbnails"));
    QVERIFY(test::writeAll(dir.path() + QStringLiteral("/a.jpg"), jpegOf(Qt::green)));
    const Thumbnail made = makeThumbnail(cache, dir.path() + QStringLiteral("/a.jpg"), Source::Picture, 64);
    QVERIFY(near(made.image.pixel(10, 10), Qt::green));
    QVERIFY(!cache.store(QStringLiteral("file:///x"), {1, 1}, made.image));
}

// A camera's preview is green here and the picture red, so the colour tells which was used.
void TestThumbnails::embeddedPreview_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("preview");
    QTest::addColumn<int>("orientation");
    QTest::addColumn<bool>("damaged");
    QTest::addColumn<bool>("portrait");
    QTest::addColumn<QColor>("colour");
    QTest::newRow("3:2 preview") << QSize(600, 400) << QSize(160, 106) << 1 << false << false << QColor(Qt::green);
    QTest::newRow("held upright") << QSize(600, 400) << QSize(160, 106) << 6 << false << true << QColor(Qt::green);
    QTest::newRow("4:3, turned left") << QSize(400, 300) << QSize(160, 120) << 8 << false << true << QColor(Qt::green);
    QTest::newRow("letterboxed 4:3 of 3:2")
        << QSize(600, 400) << QSize(160, 120) << 1 << false << false << QColor(Qt::red);
    QTest::newRow("smaller than a thumbnail")
        << QSize(600, 400) << QSize(96, 64) << 1 << false << false << QColor(Qt::red);
    QTest::newRow("damaged block") << QSize(600, 400) << QSize(160, 106) << 1 << true << false << QColor(Qt::red);
}

void TestThumbnails::embeddedPreview()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, preview);
    QFETCH(int, orientation);
    QFETCH(bool, damaged);
    QFETCH(bool, portrait);
    QFETCH(QColor, colour);
    if (QStandardPaths::findExecutable(QStringLiteral("exiv2")).isEmpty())
        QSKIP("exiv2 is not installed");
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/p.jpg");
    QVERIFY(test::writeAll(path, jpegOf(Qt::red, picture)));
    QVERIFY(test::writeAll(dir.path() + QStringLiteral("/p-thumb.jpg"), jpegOf(Qt::green, preview)));
    QCOMPARE(QProcess::execute(QStringLiteral("exiv2"), {QStringLiteral("-it"), path}), 0);
    QCOMPARE(QProcess::execute(
                 QStringLiteral("exiv2"),
                 {QStringLiteral("-M"), QStringLiteral("set Exif.Image.Orientation Short %1").arg(orientation), path}),
             0);
    QByteArray bytes = test::readAll(path);
    if (damaged) { // the TIFF header's byte order, garbled
        const qsizetype tiff = bytes.indexOf(QByteArrayView("Exif\0\0", 6)) + 6;
        QVERIFY(tiff > 6);
        bytes[tiff] = 'X';
        bytes[tiff + 1] = 'Y';
    }
    QVERIFY(test::writeAll(path, bytes + QByteArray(914, 'T'))); // a trailer's worth behind it
    const ThumbnailCache cache(dir.path() + QStringLiteral("/thumbnails"));
    const Thumbnail thumbnail = makeThumbnail(cache, path, Source::Picture, 64);
    const QImage stored(cache.normalFile(fileUri(QFile::encodeName(path))));
    // Decoders round the short side differently; its direction and the long side are what count.
    QCOMPARE(std::max(stored.width(), stored.height()), 128);
    QCOMPARE(stored.height() > stored.width(), portrait);
    QVERIFY(near(thumbnail.image.pixel(thumbnail.image.width() / 2, thumbnail.image.height() / 2), colour));
}

// A preview offset that overflows when added up, found by fuzzing: libexiv2 throws a standard
// exception, not its own, and the maker decides by the picture as if there were no preview.
void TestThumbnails::damagedPreviewOffset()
{
    const QString file = qEnvironmentVariable("ZV_SOURCE_DIR")
                         + QStringLiteral("/tests/fuzz/corpus/fuzz_camerafile/overflowing-preview-offset.jpg");
    QVERIFY(QFile::exists(file));
    QTemporaryDir dir;
    const ThumbnailCache cache(dir.path() + QStringLiteral("/thumbnails"));
    const Thumbnail made = makeThumbnail(cache, file, Source::Picture, 64);
    QCOMPARE(made.image.isNull(), !loadPicture(file, QSize(kNormalSize, kNormalSize)).has_value());
}

void TestThumbnails::videoFrame()
{
    QTemporaryDir dir;
    const QString clip = dir.path() + QStringLiteral("/film.mp4");
    // Black for half a second, then blue: the thumbnail is no black first frame.
    if (!runFfmpeg({"-f", "lavfi", "-i", "color=c=black:size=320x240:rate=25:d=0.5", "-f", "lavfi", "-i",
                    "color=c=blue:size=320x240:rate=25:d=2", "-filter_complex", "[0][1]concat=n=2:v=1", "-c:v",
                    "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", clip}))
        QSKIP("ffmpeg cannot make the clip");
    QVERIFY(test::writeAll(clip, test::readAll(clip) + QByteArray(914, 'T'))); // a trailer's worth
    const ThumbnailCache cache(dir.path() + QStringLiteral("/thumbnails"));
    const Thumbnail made = makeThumbnail(cache, clip, Source::Video, 64);
    QCOMPARE(made.image.size(), QSize(64, 48));
    QVERIFY(near(made.image.pixel(32, 24), Qt::blue));
    QVERIFY(QFile::exists(cache.normalFile(fileUri(QFile::encodeName(clip)))));
}

// Rows that leave the screen before their turn are never made.
void TestThumbnails::makerMakesOnlyWhatIsShown()
{
    QTemporaryDir dir;
    std::vector<Thumbnailer::Shown> first;
    for (int i = 0; i < 40; ++i) {
        const QString name = QStringLiteral("f%1.jpg").arg(i);
        QVERIFY(test::writeAll(dir.path() + QLatin1Char('/') + name, jpegOf(i == 39 ? Qt::blue : Qt::red)));
        first.push_back({name, dir.path() + QLatin1Char('/') + name});
    }
    Thumbnailer maker(dir.path() + QStringLiteral("/thumbnails"), 64);
    QSignalSpy ready(&maker, &Thumbnailer::ready);
    maker.setShown(first);
    const int startedAtOnce = maker.started();
    QVERIFY(startedAtOnce >= 1 && startedAtOnce < 40);
    maker.setShown({first.back()}); // scrolled to the end before any result came back
    QTRY_VERIFY(maker.idle());
    QCOMPARE(maker.started(), startedAtOnce + 1);
    QVERIFY(maker.icon(QStringLiteral("f39.jpg")));
    QVERIFY(near(maker.icon(QStringLiteral("f39.jpg"))->pixmap(64).toImage().pixel(30, 20), Qt::blue));
    QCOMPARE(ready.count(), 1); // the others left the screen while being made
}

QTEST_MAIN(TestThumbnails)
#include "tst_thumbnails.moc"
