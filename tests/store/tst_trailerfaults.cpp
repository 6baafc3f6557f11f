// The trailer writer when the system says no: a full disk, the file-size limit, a vanished file,
// no permission, links. Each time the media bytes stay and nothing is left behind.
#include "platform/NewFile.h"
#include "store/PictureTrailer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <fcntl.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zv;

namespace {

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

PictureInfo sample()
{
    PictureInfo info;
    info.namen = QStringLiteral("Käthe");
    info.datum = QStringLiteral("01.05.2003");
    info.bemerkungen = QString(500, QLatin1Char('b'));
    return info;
}

// The file as it was before the save: media bytes, with a trailer when asked.
QByteArray startingBytes(int mediaSize, bool withTrailer)
{
    QByteArray bytes(mediaSize, Qt::Uninitialized);
    for (int i = 0; i < mediaSize; ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) & 0xFF);
    if (withTrailer) {
        PictureInfo old;
        old.ort = QStringLiteral("alt");
        bytes += trailer::encode(old);
    }
    return bytes;
}

// Runs the save in a child that gave up root, since root writes regardless of permissions.
TrailerError writeAsNobody(const QString &path)
{
    if (::geteuid() != 0) {
        PictureInfo info = sample();
        return WritePictureInfo(path, info);
    }
    int pipe[2];
    if (::pipe(pipe) != 0)
        return {TrailerError::Kind::CannotWrite, QStringLiteral("pipe")};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        PictureInfo info = sample();
        const TrailerError error = WritePictureInfo(path, info);
        const QByteArray reply = QByteArray::number(int(error.kind)) + ' ' + error.message.toUtf8();
        (void)!::write(pipe[1], reply.constData(), reply.size());
        ::_exit(0);
    }
    ::close(pipe[1]);
    QByteArray reply;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) > 0;)
        reply.append(buffer, n);
    ::close(pipe[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    const qsizetype blank = reply.indexOf(' ');
    if (blank < 0)
        return {TrailerError::Kind::CannotWrite, QStringLiteral("child status %1").arg(status)};
    return {TrailerError::Kind(reply.left(blank).toInt()), QString::fromUtf8(reply.mid(blank + 1))};
}

} // namespace

class TestTrailerFaults : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void failedSaveLeavesFileAsItWas_data();
    void failedSaveLeavesFileAsItWas();
    void fullDisk();
    void links_data();
    void links();
    void newFilesAreExclusive();
};

void TestTrailerFaults::failedSaveLeavesFileAsItWas_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<bool>("withTrailer");
    QTest::addColumn<QString>("message");
    QTest::newRow("size limit, append") << "limit" << false << "Datei zu groß für dieses Dateisystem";
    QTest::newRow("size limit, overwrite") << "limit" << true << "Datei zu groß für dieses Dateisystem";
    QTest::newRow("vanished") << "vanished" << true << "nicht mehr vorhanden";
    QTest::newRow("read-only") << "readonly" << false << "keine Berechtigung";
    QTest::newRow("a folder") << "folder" << false << "keine gewöhnliche Datei";
}

void TestTrailerFaults::failedSaveLeavesFileAsItWas()
{
    QFETCH(QString, fault);
    QFETCH(bool, withTrailer);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    const QByteArray before = startingBytes(6000, withTrailer);
    QVERIFY(writeAll(path, before));
    QVERIFY(!ReadPictureInfo(path).error); // as the window loads it

    TrailerError error;
    PictureInfo info = sample();
    if (fault == QLatin1String("limit")) {
        // Part of the trailer fits under the limit, so the write fails halfway.
        rlimit old {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        rlimit tight = old;
        tight.rlim_cur = before.size() - (withTrailer ? 500 : -300);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &tight) == 0);
        error = WritePictureInfo(path, info);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &old) == 0);
    } else if (fault == QLatin1String("vanished")) {
        QVERIFY(QFile::remove(path));
        QCOMPARE(ReadPictureInfo(path).error.kind, TrailerError::Kind::Missing);
        error = WritePictureInfo(path, info);
        QVERIFY(!QFile::exists(path));
        QCOMPARE(error.kind, TrailerError::Kind::Missing);
        QVERIFY(error.message.contains(QStringLiteral("bild.jpg")));
        return;
    } else if (fault == QLatin1String("readonly")) {
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0444) == 0);
        error = writeAsNobody(path);
        QCOMPARE(error.kind, TrailerError::Kind::CannotOpen);
    } else {
        QVERIFY(QFile::remove(path) && QDir().mkdir(path));
        error = WritePictureInfo(path, info);
        QCOMPARE(error.kind, TrailerError::Kind::CannotOpen);
        return;
    }
    QVERIFY2(error.message.contains(message), qPrintable(error.message));
    QVERIFY2(!error.message.contains(QStringLiteral("beschädigt")), qPrintable(error.message));
    QCOMPARE(readAll(path), before);
}

void TestTrailerFaults::fullDisk()
{
    if (::geteuid() != 0)
        QSKIP("mounting a small tmpfs needs root");
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("zv-full", mountPoint.constData(), "tmpfs", 0, "size=64k") != 0)
        QSKIP(qPrintable(QStringLiteral("cannot mount a tmpfs here (%1)").arg(qt_error_string(errno))));
    const auto unmount = qScopeGuard([&] { ::umount2(mountPoint.constData(), MNT_DETACH); });

    // 4000 bytes fill one page; the trailer needs a second, which the filler took.
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    const QByteArray before = startingBytes(4000, false);
    QVERIFY(writeAll(path, before));
    QFile filler(dir.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly));
    while (filler.write(QByteArray(1024, 'f')) == 1024 && filler.flush()) {
    }
    filler.close();

    PictureInfo info = sample();
    const TrailerError error = WritePictureInfo(path, info);
    QCOMPARE(error.kind, TrailerError::Kind::CannotWrite);
    QVERIFY2(error.message.contains(QStringLiteral("Datenträger voll")), qPrintable(error.message));
    QCOMPARE(readAll(path), before);
}

void TestTrailerFaults::links_data()
{
    QTest::addColumn<QString>("target"); // what the album entry links to
    QTest::addColumn<bool>("written");
    QTest::newRow("regular file") << "echt.jpg" << true;
    QTest::newRow("fifo") << "fifo" << false;
    QTest::newRow("dangling") << "fehlt.jpg" << false;
}

void TestTrailerFaults::links()
{
    QFETCH(QString, target);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QByteArray before = startingBytes(3000, false);
    QVERIFY(writeAll(dir.filePath(QStringLiteral("echt.jpg")), before));
    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0644) == 0);
    const QString link = dir.filePath(QStringLiteral("link.jpg"));
    QVERIFY(QFile::link(target, link));

    // A fifo would block an open for reading; neither call may hang.
    const PictureReadResult read = ReadPictureInfo(link);
    QCOMPARE(bool(read.error), !written);
    PictureInfo info = sample();
    const TrailerError error = WritePictureInfo(link, info);
    QCOMPARE(bool(error), !written);
    QCOMPARE(QFileInfo(link).isSymLink(), true);
    QCOMPARE(readAll(dir.filePath(QStringLiteral("echt.jpg"))).size(), before.size() + (written ? 914 : 0));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("fehlt.jpg"))));
}

void TestTrailerFaults::newFilesAreExclusive()
{
    QTemporaryDir dir;
    const QString victim = dir.filePath(QStringLiteral("victim"));
    QVERIFY(writeAll(victim, "keep"));
    const QString link = dir.filePath(QStringLiteral("Logo.bmp"));
    QVERIFY(QFile::link(victim, link));
    QCOMPARE(writeNewFile(link, "new"), EEXIST);
    QCOMPARE(writeNewFile(victim, "new"), EEXIST);
    QCOMPARE(readAll(victim), QByteArray("keep"));
    QVERIFY(QFile::remove(link));
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("nirgends")), link)); // dangling
    QCOMPARE(writeNewFile(link, "new"), EEXIST);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("nirgends"))));

    const QString fresh = dir.filePath(QStringLiteral("neu.bmp"));
    QCOMPARE(writeNewFile(fresh, "new"), 0);
    QCOMPARE(readAll(fresh), QByteArray("new"));
    NewFile temporary = createTemporaryFile(dir.path(), QStringLiteral("kopie"));
    QCOMPARE(temporary.error, 0);
    QVERIFY(temporary.handle.isOpen());
    QVERIFY(temporary.path.startsWith(dir.path() + QStringLiteral("/.kopie-")));
}

QTEST_GUILESS_MAIN(TestTrailerFaults)
#include "tst_trailerfaults.moc"
