// The copy engine: byte-identical copies, and no failure leaves a part of a file under a real
// name.
#include "platform/FileCopy.h"
#include "platform/FileNames.h"

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
    QByteArray b(n, 'r');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(b.data()), n / 4);
    return b;
}

// Through nativePath, as names with bytes that are not UTF-8 need.
void write(const QString &path, const QByteArray &bytes)
{
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QCOMPARE(::write(fd, bytes.constData(), size_t(bytes.size())), ssize_t(bytes.size()));
    ::close(fd);
}

QByteArray read(const QString &path)
{
    QByteArray bytes;
    const int fd = ::open(nativePath(path).constData(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return fd < 0 ? QByteArray("<missing>") : bytes;
}

// Every name, sorted; QDir would skip the undecodable ones.
QStringList names(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(nativePath(folder).constData());
    while (const dirent *e = ::readdir(dir))
        if (e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.'))
            names << decodeFileName(e->d_name);
    ::closedir(dir);
    names.sort();
    return names;
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
    QFETCH(bool, ranged);
    io.ranged = ranged;
    qint64 reported = 0;
    const auto progress = [&](qint64 done, qint64) {
        reported = done;
        return true;
    };
    const CopyResult r = copyFile(from.filePath(name), to.filePath(name), progress, io);
    QVERIFY(r);
    QCOMPARE(r.bytes, qint64(size));
    QCOMPARE(reported, qint64(size));
    QCOMPARE(read(to.filePath(name)), bytes);
    QCOMPARE(read(from.filePath(name)), bytes);
    QCOMPARE(names(to.path()), QStringList{name});
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
    QCOMPARE(names(to.path()), QStringList{"a.jpg"}); // no temporary file left
    QCOMPARE(read(to.filePath(QStringLiteral("a.jpg"))), QByteArray("old"));
    if (fault != QLatin1String("vanished") && fault != QLatin1String("folder"))
        QCOMPARE(read(from.filePath(QStringLiteral("a.jpg"))), bytes);
}

void TestFileCopy::readOnlyFolderForAnotherUser()
{
    // Root may write anywhere; a child that gave up its privileges meets the folder as users do.
    QTemporaryDir from, to;
    const QString source = from.filePath(QStringLiteral("a.jpg"));
    write(source, "abc");
    ::chmod(QFile::encodeName(from.path()).constData(), 0755);
    ::chmod(QFile::encodeName(to.path()).constData(), 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(100);
        ::_exit(int(copyFile(source, to.filePath(QStringLiteral("a.jpg"))).failure));
    }
    int status = 0;
    QCOMPARE(::waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), int(CopyFailure::TargetFolder));
    QVERIFY(names(to.path()).isEmpty());
}

void TestFileCopy::staleCopies()
{
    QTemporaryDir dir;
    for (const char *name : {".zvcopy-dead0000.part", ".zvcopy-alive000.part", "film.part", ".zvcopy-x"})
        write(dir.filePath(QLatin1String(name)), "x");
    // A copier at work holds its lock, in another process as here in another descriptor.
    const int alive = ::open(QFile::encodeName(dir.filePath(QStringLiteral(".zvcopy-alive000.part"))).constData(), O_RDONLY);
    QCOMPARE(::flock(alive, LOCK_EX), 0);
    QCOMPARE(removeStaleCopies(dir.path()), 1);
    QCOMPARE(names(dir.path()), (QStringList{".zvcopy-alive000.part", ".zvcopy-x", "film.part"}));
    ::close(alive);
    QCOMPARE(removeStaleCopies(dir.path()), 1);
}

QTEST_GUILESS_MAIN(TestFileCopy)
#include "tst_filecopy.moc"
