// The copy engine: byte-identical copies, and no failure leaves a part of a file under a real
// name.
#include "platform/FileCopy.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zv;

namespace {

QByteArray randomBytes(qsizetype n)
{
    QByteArray b(n, Qt::Uninitialized);
    for (qsizetype i = 0; i < n; ++i)
        b[i] = char(QRandomGenerator::global()->bounded(256));
    return b;
}

void write(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QVERIFY(fd >= 0);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

QByteArray read(const QString &path)
{
    QByteArray bytes;
    const int fd = ::open(nativePath(path).constData(), O_RDONLY);
    if (fd < 0)
        return "<missing>";
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return bytes;
}

// A disk that fills up after `budget` bytes, a kernel without copy_file_range, a failing flush.
class FaultyIo : public CopyIo {
public:
    qint64 budget = -1; // -1: unlimited
    bool ranged = true;
    bool syncFails = false;
    ssize_t copyRange(int in, int out, size_t length) override
    {
        if (!ranged)
            return errno = EXDEV, -1;
        return limit(CopyIo::copyRange(in, out, clamp(length)));
    }
    ssize_t write(int fd, const void *buffer, size_t length) override
    {
        return limit(CopyIo::write(fd, buffer, clamp(length)));
    }
    int sync(int fd) override { return syncFails ? (errno = EIO, -1) : CopyIo::sync(fd); }

private:
    size_t clamp(size_t length) const { return budget < 0 ? length : std::min(length, size_t(budget)); }
    ssize_t limit(ssize_t n)
    {
        if (budget == 0)
            return errno = ENOSPC, -1;
        if (budget > 0 && n > 0)
            budget -= n;
        return n;
    }
};

// Every name, sorted, undecodable bytes escaped.
QStringList folderNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(nativePath(folder).constData());
    while (const dirent *e = dir ? ::readdir(dir) : nullptr)
        if (e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.'))
            names << decodeFileName(e->d_name);
    if (dir)
        ::closedir(dir);
    names.sort();
    return names;
}

} // namespace

class TestFileCopy : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void copies_data();
    void copies();
    void failures_data();
    void failures();
    void readOnlyFolderForAnotherUser();
    void staleCopies();
};

void TestFileCopy::copies_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ranged");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("empty") << 0 << "leer.jpg" << true << false;
    QTest::newRow("with trailer") << 3000 << "bild.jpg" << true << false;
    QTest::newRow("over a chunk") << (9 << 20) << "film.avi" << true << false;
    QTest::newRow("read/write loop") << (3 << 20) << "ton.mp3" << false << false;
    QTest::newRow("latin-1 name") << 100 << decodeFileName("M\xfcll.jpg") << true << false;
    QTest::newRow("write-protected source") << 10 << "fest.jpg" << true << true;
}

void TestFileCopy::copies()
{
    QFETCH(int, size);
    QFETCH(QString, name);
    QFETCH(bool, ranged);
    QFETCH(bool, readOnly);
    QTemporaryDir from, to;
    QByteArray bytes = randomBytes(size);
    if (size >= 914)
        bytes.replace(size - 914, 8, "FileInfo");
    write(from.filePath(name), bytes);
    write(to.filePath(name), "old"); // replaced
    if (readOnly)
        ::chmod(nativePath(from.filePath(name)).constData(), 0444);
    FaultyIo io;
    io.ranged = ranged;
    qint64 reported = 0;
    const CopyResult r = copyFile(from.filePath(name), to.filePath(name), [&](qint64 done, qint64) {
        reported = done;
        return true;
    }, io);
    QVERIFY(r);
    QCOMPARE(r.bytes, qint64(size));
    QCOMPARE(reported, qint64(size));
    QCOMPARE(read(to.filePath(name)), bytes);
    QCOMPARE(read(from.filePath(name)), bytes);
    QCOMPARE(folderNames(to.path()), QStringList{name});
    struct stat st {};
    ::stat(nativePath(to.filePath(name)).constData(), &st);
    QCOMPARE(st.st_mode & 0777, readOnly ? 0444u : 0644u);
}

void TestFileCopy::failures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("failure");
    QTest::newRow("vanished source") << "vanished" << int(CopyFailure::SourceMissing);
    QTest::newRow("write-protected target") << "protected" << int(CopyFailure::TargetReadOnly);
    QTest::newRow("disk fills up") << "full" << int(CopyFailure::DiskFull);
    QTest::newRow("disk fills up, no copy_file_range") << "full-loop" << int(CopyFailure::DiskFull);
    QTest::newRow("flush fails") << "sync" << int(CopyFailure::WriteFailed);
    QTest::newRow("source is the target") << "same" << int(CopyFailure::SameFile);
    QTest::newRow("source is a folder") << "folder" << int(CopyFailure::NotRegular);
    QTest::newRow("no target folder") << "nofolder" << int(CopyFailure::TargetFolder);
    QTest::newRow("cancelled") << "cancel" << int(CopyFailure::Cancelled);
}

void TestFileCopy::failures()
{
    QFETCH(QString, fault);
    QTemporaryDir from, to;
    const QByteArray bytes = randomBytes(2 << 20);
    QString source = from.filePath(QStringLiteral("a.jpg"));
    QString target = to.filePath(QStringLiteral("a.jpg"));
    write(source, bytes);
    write(target, "old");
    FaultyIo io;
    CopyProgress progress;
    if (fault == QLatin1String("vanished"))
        QFile::remove(source);
    if (fault == QLatin1String("protected"))
        ::chmod(nativePath(target).constData(), 0444);
    if (fault.startsWith(QLatin1String("full")))
        io.budget = 1 << 20;
    io.ranged = fault != QLatin1String("full-loop");
    io.syncFails = fault == QLatin1String("sync");
    if (fault == QLatin1String("same"))
        source = target;
    if (fault == QLatin1String("folder"))
        source = from.path();
    if (fault == QLatin1String("nofolder"))
        target = to.filePath(QStringLiteral("weg/a.jpg"));
    if (fault == QLatin1String("cancel"))
        progress = [](qint64, qint64) { return false; };

    const CopyResult r = copyFile(source, target, progress, io);
    QTEST(int(r.failure), "failure");
    QVERIFY(!copyFailureText(r).isEmpty());
    QCOMPARE(folderNames(to.path()), QStringList{"a.jpg"}); // no temporary file left
    QCOMPARE(read(to.filePath(QStringLiteral("a.jpg"))), QByteArray("old"));
    if (fault != QLatin1String("vanished") && fault != QLatin1String("folder"))
        QCOMPARE(read(from.filePath(QStringLiteral("a.jpg"))), bytes);
}

void TestFileCopy::readOnlyFolderForAnotherUser()
{
    // Root may write anywhere; a child that gave up its privileges meets the folder as users do.
    QTemporaryDir from, to;
    ::chmod(QFile::encodeName(from.path()).constData(), 0755);
    ::chmod(QFile::encodeName(to.path()).constData(), 0555);
    write(from.filePath(QStringLiteral("a.jpg")), "abc");
    ::chmod(QFile::encodeName(from.filePath(QStringLiteral("a.jpg"))).constData(), 0644);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        const CopyResult r = copyFile(from.filePath(QStringLiteral("a.jpg")), to.filePath(QStringLiteral("a.jpg")));
        ::_exit(int(r.failure));
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), int(CopyFailure::TargetFolder));
    QVERIFY(folderNames(to.path()).isEmpty());
}

void TestFileCopy::staleCopies()
{
    QTemporaryDir dir;
    write(dir.filePath(QStringLiteral(".zvcopy-dead0000.part")), "half");
    write(dir.filePath(QStringLiteral(".zvcopy-alive000.part")), "busy");
    write(dir.filePath(QStringLiteral("film.part")), "a user's file");
    write(dir.filePath(QStringLiteral(".zvcopy-x")), "not ours either");
    // A copier at work holds its lock, in another process as here in another descriptor.
    const int alive = ::open(QFile::encodeName(dir.filePath(QStringLiteral(".zvcopy-alive000.part"))).constData(), O_RDONLY);
    QCOMPARE(::flock(alive, LOCK_EX), 0);
    QVERIFY(isCopyTempName(u".zvcopy-dead0000.part"));
    QCOMPARE(removeStaleCopies(dir.path()), 1);
    QCOMPARE(folderNames(dir.path()), (QStringList{".zvcopy-alive000.part", ".zvcopy-x", "film.part"}));
    ::close(alive);
    QCOMPARE(removeStaleCopies(dir.path()), 1);
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
