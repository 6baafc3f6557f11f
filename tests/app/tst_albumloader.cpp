#include "app/AlbumLoader.h"
#include "app/AlbumPaths.h"
#include "app/AppSettings.h"
#include "app/StartupSteps.h"
#include "platform/SettingsStore.h"
#include "store/PictureTrailer.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using namespace zv;

namespace {

void makeFile(const QString &path, qint64 size)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(size, 'm'));
}

const AlbumEntry &entryNamed(const Album &album, const QString &name)
{
    const AlbumEntry *e = album.find(name);
    if (!e)
        qFatal("no entry %s", qPrintable(name));
    return *e;
}

} // namespace

class TestAlbumLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kindsFromExtension_data();
    void kindsFromExtension();
    void sizesRoundHalfToEven_data();
    void sizesRoundHalfToEven();
    void trailerTextsAndAttributes();
    void subfoldersAreIgnoredAndProgressCounts();
    void lookupIgnoresCase();
    void newAlbumGetsFolderAndLogo();
    void unusableMediaFolderIsReported();
    void settingsDefaultsAndSaving();
};

void TestAlbumLoader::kindsFromExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kindName");
    QTest::newRow("mpg") << "a.mpg" << "Video";
    QTest::newRow("MPEG capitals") << "b.MPEG" << "Video";
    QTest::newRow("avi") << "c.avi" << "Video";
    QTest::newRow("Mov mixed") << "d.Mov" << "Video";
    QTest::newRow("JPG capitals") << "e.JPG" << "Bild";
    QTest::newRow("jpeg") << "f.jpeg" << "Bild";
    QTest::newRow("bmp") << "g.bmp" << "Bild";
    QTest::newRow("gif") << "h.gif" << "Bild";
    QTest::newRow("last point counts") << "i.jpg.txt" << "unbekannt";
    QTest::newRow("tif") << "j.tif" << "unbekannt";
    QTest::newRow("no extension") << "README" << "unbekannt";
    QTest::newRow("mp4 is not an album video") << "k.mp4" << "unbekannt";
}

void TestAlbumLoader::kindsFromExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, kindName);
    QCOMPARE(KindNames(mediaKindForFile(name)), kindName);
}

void TestAlbumLoader::sizesRoundHalfToEven_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<qint64>("kb");
    QTest::newRow("511") << qint64(511) << qint64(0);
    QTest::newRow("512 half to even 0") << qint64(512) << qint64(0);
    QTest::newRow("513") << qint64(513) << qint64(1);
    QTest::newRow("1536 half to even 2") << qint64(1536) << qint64(2);
    QTest::newRow("2560 half to even 2") << qint64(2560) << qint64(2);
    QTest::newRow("3584 half to even 4") << qint64(3584) << qint64(4);
}

void TestAlbumLoader::sizesRoundHalfToEven()
{
    QFETCH(qint64, bytes);
    QFETCH(qint64, kb);
    QCOMPARE(sizeInKB(bytes), kb);
}

void TestAlbumLoader::trailerTextsAndAttributes()
{
    QTemporaryDir dir;
    const QString tagged = dir.filePath(QStringLiteral("tagged.jpg"));
    makeFile(tagged, 1000);
    PictureInfo info;
    info.namen = QStringLiteral("Anna");
    info.ort = QStringLiteral("Köln");
    info.datum = QStringLiteral("01.05.2001");
    info.anlass = QStringLiteral("Maifest");
    info.bemerkungen = QStringLiteral("Regen");
    QVERIFY(!WritePictureInfo(tagged, info));
    const QString locked = dir.filePath(QStringLiteral("locked.avi"));
    makeFile(locked, 20);
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup));

    const Album album = loadAlbum(dir.path());
    const AlbumEntry &t = entryNamed(album, QStringLiteral("tagged.jpg"));
    QCOMPARE(t.info.namen, QStringLiteral("Anna"));
    QCOMPARE(t.info.ort, QStringLiteral("Köln"));
    QCOMPARE(t.info.datum, QStringLiteral("01.05.2001"));
    QCOMPARE(t.info.anlass, QStringLiteral("Maifest"));
    QCOMPARE(t.info.bemerkungen, QStringLiteral("Regen"));
    QCOMPARE(t.sizeKB, qint64(2)); // 1914 bytes: the trailer counts
    QVERIFY(!t.isReadOnly());
    QCOMPARE(t.kind, MediaKind::Bild);
    const AlbumEntry &l = entryNamed(album, QStringLiteral("locked.avi"));
    QCOMPARE(l.kind, MediaKind::Video);
    QVERIFY(l.isReadOnly());
    QCOMPARE(l.attributes & 1, 1);
    QCOMPARE(l.info.namen, QString());
}

void TestAlbumLoader::subfoldersAreIgnoredAndProgressCounts()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(QStringLiteral("a.jpg")), 1);
    makeFile(dir.filePath(QStringLiteral("b.gif")), 1);
    QDir(dir.path()).mkdir(QStringLiteral("Unterordner"));
    makeFile(dir.filePath(QStringLiteral("Unterordner/c.jpg")), 1);
    QList<QPair<int, int>> calls;
    const Album album = loadAlbum(dir.path(), [&](int done, int total) { calls.append({done, total}); });
    QCOMPARE(album.size(), 2u);
    QCOMPARE(album.EntryCount, 2);
    QCOMPARE(calls, (QList<QPair<int, int>>{{0, 2}, {1, 2}, {2, 2}}));
    QVERIFY(!album.find(QStringLiteral("Unterordner")));
}

void TestAlbumLoader::lookupIgnoresCase()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(QStringLiteral("Urlaub.JPG")), 1);
    const Album album = loadAlbum(dir.path());
    QVERIFY(album.find(QStringLiteral("urlaub.jpg")));
    QVERIFY(album.find(QStringLiteral("URLAUB.JPG")));
    QVERIFY(!album.find(QStringLiteral("urlaub.jpeg")));
}

void TestAlbumLoader::newAlbumGetsFolderAndLogo()
{
    QTemporaryDir dir;
    const AlbumPaths paths{dir.path()};
    QVERIFY(ensureMediaFolder(paths).isEmpty());
    QVERIFY(ensureAlbumNotEmpty(paths).isEmpty());
    const Album album = loadAlbum(paths.mediaFolder());
    QCOMPARE(album.size(), 1u);
    QCOMPARE(album.at(0).name, QStringLiteral("Logo.bmp"));
    QCOMPARE(album.at(0).kind, MediaKind::Bild);
    QImageReader reader(paths.logoFile());
    QCOMPARE(reader.format(), QByteArray("bmp"));
    QVERIFY(reader.size().width() > 16);

    // An album with files gets no logo.
    QVERIFY(QFile::remove(paths.logoFile()));
    makeFile(paths.mediaFile(QStringLiteral("eigenes.jpg")), 5);
    QVERIFY(ensureAlbumNotEmpty(paths).isEmpty());
    QVERIFY(!QFile::exists(paths.logoFile()));
}

void TestAlbumLoader::unusableMediaFolderIsReported()
{
    QTemporaryDir dir;
    const AlbumPaths paths{dir.path()};
    makeFile(dir.filePath(QStringLiteral("Bilder")), 3); // a file where the folder belongs
    const QString error = ensureMediaFolder(paths);
    QVERIFY(error.contains(QStringLiteral("Bilderordner")));
    const AlbumPaths nowhere{QStringLiteral("/proc/zidoverev-nicht-da")};
    QVERIFY(!ensureMediaFolder(nowhere).isEmpty());
}

void TestAlbumLoader::settingsDefaultsAndSaving()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("s.ini"));
    auto store = makeFileSettings(ini);
    SettingsValues values = LoadSettings(*store);
    QCOMPARE(values.SkinPath, QStringLiteral("Main"));
    QCOMPARE(values.Delay, QStringLiteral("3000"));
    QVERIFY(!QFile::exists(ini)); // nothing stored until something changes

    values.Delay = QStringLiteral("4500");
    SaveSettings(*store, values);
    const SettingsValues again = LoadSettings(*makeFileSettings(ini));
    QCOMPARE(again.Delay, QStringLiteral("4500"));
    QCOMPARE(again.SkinPath, QStringLiteral("Main"));
    QCOMPARE(makeFileSettings(ini)->value(QStringLiteral("Skin"), QStringLiteral("SkinPath"), {}),
             QStringLiteral("Main"));
}

QTEST_MAIN(TestAlbumLoader)
#include "tst_albumloader.moc"
