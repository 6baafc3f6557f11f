#include "app/AlbumLoader.h"
#include "app/AlbumPaths.h"
#include "app/AppSettings.h"
#include "app/StartupSteps.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"
#include "store/PictureTrailer.h"
#include "support/OtherUser.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

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

QStringList namesOf(const Album &album)
{
    QStringList names;
    for (const AlbumEntry &e : album.entries())
        names << e.name;
    return names;
}

bool sameEntries(const Album &a, const Album &b)
{
    return std::equal(a.entries().begin(), a.entries().end(), b.entries().begin(), b.entries().end(),
                      [](const AlbumEntry &x, const AlbumEntry &y) {
                          return x.name == y.name && x.kind == y.kind && x.sizeKB == y.sizeKB
                                 && x.attributes == y.attributes && x.info == y.info;
                      });
}

// A folder of files with and without trailers, enough to keep many threads busy.
void makeMixedAlbum(const QString &folder, int count)
{
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/%2.%3").arg(folder).arg((i * 37) % 1009).arg(i % 3 ? "jpg" : "mpg");
        QByteArray bytes(100 * i, 'm');
        if (i % 2) // a trailer with the marker and a place
            bytes += QByteArray("FileInfo").leftJustified(8 + 128) + QByteArray::number(i).leftJustified(914 - 8 - 128);
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
}

} // namespace

class TestAlbumLoader : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kindsFromExtension_data();
    void kindsFromExtension();
    void sizesRoundHalfToEven_data();
    void sizesRoundHalfToEven();
    void entriesAreTheTrimmedTrailer_data();
    void entriesAreTheTrimmedTrailer();
    void loadOrderIsTheDirectoryOrder_data();
    void loadOrderIsTheDirectoryOrder();
    void threadsFindWhatTheSerialLoaderFinds_data();
    void threadsFindWhatTheSerialLoaderFinds();
    void specialFilesAreLeftOut();
    void unreadableFileIsAnEntryWithoutInformation();
    void nonUtf8NamesLeadBackToTheirFile();
    void albumChangesKeepTheIndex();
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
    QTest::newRow("Mov mixed") << "d.Mov" << "Video";
    QTest::newRow("JPG capitals") << "e.JPG" << "Bild";
    QTest::newRow("bmp") << "g.bmp" << "Bild";
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

void TestAlbumLoader::entriesAreTheTrimmedTrailer_data()
{
    QTest::addColumn<QByteArray>("ort"); // the field as it lies on disk, Windows-1252
    QTest::addColumn<qint64>("mediaBytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("euro and umlaut") << QByteArray("\x80 K\xf6ln") << qint64(1000) << QStringLiteral("€ Köln");
    QTest::newRow("leading blanks stay") << QByteArray("   Rom") << qint64(10) << QStringLiteral("   Rom");
    QTest::newRow("a bare trailer") << QByteArray("Ulm") << qint64(0) << QStringLiteral("Ulm");
    QTest::newRow("trailing newline stays") << QByteArray("Bonn\r\n") << qint64(5) << QStringLiteral("Bonn\r\n");
    QTest::newRow("0x81 has no character") << QByteArray("a\x81") << qint64(5) << QStringLiteral("a\u0081");
}

void TestAlbumLoader::entriesAreTheTrimmedTrailer()
{
    QFETCH(QByteArray, ort);
    QFETCH(qint64, mediaBytes);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QByteArray trailer(PictureInfo::TrailerSize, ' ');
    trailer.replace(0, 8, "FileInfo");
    trailer.replace(8 + 128, ort.size(), ort); // Namen comes first, then Ort
    trailer.replace(8 + 128 + 128, 10, "01.05.2001");
    QFile f(dir.filePath(QStringLiteral("a.jpg")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(mediaBytes, 'm') + trailer);
    f.close();
    const Album album = loadAlbum(dir.path());
    QCOMPARE(album.size(), 1u);
    QCOMPARE(album.at(0).info.ort, expected);
    QCOMPARE(album.at(0).info.datum, QStringLiteral("01.05.2001"));
    QCOMPARE(album.at(0).info.namen, QString());
    QCOMPARE(album.at(0).sizeKB, sizeInKB(mediaBytes + PictureInfo::TrailerSize));
}

void TestAlbumLoader::loadOrderIsTheDirectoryOrder_data()
{
    QTest::addColumn<int>("inFlight");
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("many") << 48;
    QTest::newRow("chosen by the file system") << 0;
}

void TestAlbumLoader::loadOrderIsTheDirectoryOrder()
{
    QFETCH(int, inFlight);
    QTemporaryDir dir;
    makeMixedAlbum(dir.path(), 400);
    QList<int> done;
    const Album album = loadAlbum(dir.path(), [&](int d, int) {
        QCOMPARE(QThread::currentThread(), thread());
        done << d;
    }, inFlight);
    const QStringList listed = QDir(dir.path()).entryList(QDir::Files, QDir::Unsorted);
    QCOMPARE(namesOf(album), listed);
    QVERIFY(namesOf(album) != QDir(dir.path()).entryList(QDir::Files, QDir::Name)); // the test means something
    QCOMPARE(done.size(), listed.size() + 1);
    for (int i = 0; i < done.size(); ++i)
        QCOMPARE(done[i], i);
}

void TestAlbumLoader::threadsFindWhatTheSerialLoaderFinds_data()
{
    QTest::addColumn<QString>("odd"); // one file that is not an ordinary readable file
    QTest::newRow("vanishes while loading") << "vanishes";
    QTest::newRow("unreadable") << "unreadable";
    QTest::newRow("named pipe") << "pipe";
    QTest::newRow("none: twice the same") << "";
}

void TestAlbumLoader::threadsFindWhatTheSerialLoaderFinds()
{
    QFETCH(QString, odd);
    QTemporaryDir dir;
    // The other user makes and removes the vanishing file.
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::WriteOther | QFile::ExeOther);
    makeMixedAlbum(dir.path(), 300);
    const QString oddFile = dir.filePath(QStringLiteral("zz.jpg"));
    const QByteArray oddPath = QFile::encodeName(oddFile);
    if (odd == QLatin1String("pipe"))
        QCOMPARE(::mkfifo(oddPath.constData(), 0644), 0);
    if (odd == QLatin1String("unreadable")) {
        makeFile(oddFile, 3000);
        QVERIFY(QFile::setPermissions(oddFile, QFile::WriteOwner));
    }
    const auto load = [&](int inFlight) {
        if (odd == QLatin1String("vanishes"))
            makeFile(oddFile, 3000);
        return loadAlbum(dir.path(), [&](int done, int) {
            if (done == 0 && odd == QLatin1String("vanishes"))
                QFile::remove(oddFile); // listed, not yet opened
        }, inFlight);
    };
    const bool same = test::runAsOtherUser([&] {
        const Album serial = load(1);
        const Album parallel = load(16);
        const Album again = load(16);
        const bool oddListed = serial.find(QStringLiteral("zz.jpg")) != nullptr;
        return serial.size() >= 300 && oddListed == (odd == QLatin1String("unreadable"))
               && sameEntries(serial, parallel) && sameEntries(parallel, again);
    });
    QVERIFY(same);
}

void TestAlbumLoader::specialFilesAreLeftOut()
{
    QTemporaryDir dir;
    makeFile(dir.filePath(QStringLiteral("a.jpg")), 1);
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("pipe.mpg"))).constData(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray socketPath = QFile::encodeName(dir.filePath(QStringLiteral("s.jpg")));
    std::memcpy(address.sun_path, socketPath.constData(), std::min<size_t>(socketPath.size(), sizeof address.sun_path - 1));
    QCOMPARE(::bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("pipe.mpg")), dir.filePath(QStringLiteral("link.mpg"))));
    makeFile(dir.filePath(QStringLiteral(".zvcopy-a1b2c3d4.part")), 10); // a copy a killed import left

    const Album album = loadAlbum(dir.path()); // a blocking open of the pipe would hang here
    ::close(sock);
    QCOMPARE(album.size(), 1u);
    QCOMPARE(album.at(0).name, QStringLiteral("a.jpg"));
    QCOMPARE(listMediaFiles(dir.path()), QStringList{QStringLiteral("a.jpg")});
}

void TestAlbumLoader::unreadableFileIsAnEntryWithoutInformation()
{
    QTemporaryDir dir;
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther
                                          | QFile::ExeOther);
    makeFile(dir.filePath(QStringLiteral("geheim.jpg")), 2048);
    PictureInfo info;
    info.ort = QStringLiteral("Rom");
    QVERIFY(!WritePictureInfo(dir.filePath(QStringLiteral("geheim.jpg")), info));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("geheim.jpg")), QFile::WriteOwner));
    const bool ok = test::runAsOtherUser([&] {
        const Album album = loadAlbum(dir.path());
        return album.size() == 1 && album.at(0).name == QStringLiteral("geheim.jpg") && album.at(0).info.ort.isEmpty()
               && album.at(0).kind == MediaKind::Bild && album.at(0).sizeKB == 3;
    });
    QVERIFY(ok);
}

void TestAlbumLoader::nonUtf8NamesLeadBackToTheirFile()
{
    QTemporaryDir dir;
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/K\xe4se.jpg";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, "jpeg", 4), 4);
    ::close(fd);

    const Album album = loadAlbum(dir.path());
    QCOMPARE(album.size(), 1u);
    const QString name = album.at(0).name;
    QCOMPARE(displayFileName(name), QStringLiteral("Käse.jpg"));
    QCOMPARE(nativePath(dir.path() + QLatin1Char('/') + name), latin1);
    QCOMPARE(album.at(0).kind, MediaKind::Bild);
    QVERIFY(loadEntry(dir.path(), name).has_value());
    ::unlink(latin1.constData()); // QTemporaryDir cannot name it
}

void TestAlbumLoader::albumChangesKeepTheIndex()
{
    Album album;
    for (const char *name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg", "e.jpg"})
        album.append(AlbumEntry{QString::fromLatin1(name)});
    QCOMPARE(album.indexOf(QStringLiteral("D.JPG")), std::optional<std::size_t>(3));
    const std::size_t gone[] = {0, 2};
    album.removeAt(gone);
    QCOMPARE(album.size(), 3u);
    QCOMPARE(album.indexOf(QStringLiteral("d.jpg")), std::optional<std::size_t>(1));
    QVERIFY(!album.indexOf(QStringLiteral("a.jpg")));
    QVERIFY(!album.rename(0, QStringLiteral("E.jpg"))); // taken, whatever the case
    QVERIFY(album.rename(0, QStringLiteral("B2.jpg")));
    QCOMPARE(album.at(0).name, QStringLiteral("B2.jpg"));
    QCOMPARE(album.indexOf(QStringLiteral("b2.jpg")), std::optional<std::size_t>(0));
    QVERIFY(!album.indexOf(QStringLiteral("b.jpg")));
    album.append(AlbumEntry{QStringLiteral("f.jpg")});
    QCOMPARE(album.indexOf(QStringLiteral("f.jpg")), std::optional<std::size_t>(3));
    PictureInfo info;
    info.ort = QStringLiteral("Ulm");
    album.replaceInfo(1, info);
    QCOMPARE(album.find(QStringLiteral("d.jpg"))->info.ort, QStringLiteral("Ulm"));
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
