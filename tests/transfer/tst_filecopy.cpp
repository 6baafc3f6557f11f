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
    void staleCopies();
};

void TestFileCopy::copies_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("failure");
    const int ok = int(CopyFailure::None);
    QTest::newRow("empty") << "" << 0 << "leer.jpg" << ok;
    QTest::newRow("with trailer") << "" << 3000 << "bild.jpg" << ok;
    QTest::newRow("over a chunk") << "" << (9 << 20) << "film.avi" << ok;
    QTest::newRow("read/write loop") << "loop" << (3 << 20) << "ton.mp3" << ok;
    QTest::newRow("latin-1 name") << "" << 100 << decodeFileName("M\xfcll.jpg") << ok;
    QTest::newRow("write-protected source") << "readonly" << 10 << "fest.jpg" << ok;
    const int size = 2 << 20;
    QTest::newRow("vanished source") << "vanished" << size << "a.jpg" << int(CopyFailure::SourceMissing);
    QTest::newRow("write-protected target") << "protected" << size << "a.jpg" << int(CopyFailure::TargetReadOnly);
    QTest::newRow("disk fills up") << "full" << size << "a.jpg" << int(CopyFailure::DiskFull);
    QTest::newRow("disk fills up, no copy_file_range") << "full-loop" << size << "a.jpg" << int(CopyFailure::DiskFull);
    QTest::newRow("flush fails") << "sync" << size << "a.jpg" << int(CopyFailure::WriteFailed);
    QTest::newRow("source is the target") << "same" << size << "a.jpg" << int(CopyFailure::SameFile);
    QTest::newRow("source is a folder") << "folder" << size << "a.jpg" << int(CopyFailure::NotRegular);
    QTest::newRow("no target folder") << "nofolder" << size << "a.jpg" << int(CopyFailure::TargetFolder);
    QTest::newRow("cancelled") << "cancel" << size << "a.jpg" << int(CopyFailure::Cancelled);
}

void TestFileCopy::copies()
{
    QFETCH(QString, fault);
    QFETCH(int, size);
    QFETCH(QString, name);
    QFETCH(int, failure);
    QTemporaryDir from, to;
    QByteArray bytes = randomBytes(size);
    if (size >= 914)
        bytes.replace(size - 914, 8, "FileInfo");
    QString source = from.filePath(name);
    QString target = to.filePath(name);
    write(source, bytes);
    write(target, "old"); // replaced
    const bool sourceStays = fault != QLatin1String("vanished") && fault != QLatin1String("folder");
    if (!sourceStays)
        QFile::remove(source);
    if (fault == QLatin1String("folder"))
        source = from.path();
    if (fault == QLatin1String("readonly"))
        ::chmod(nativePath(source).constData(), 0444);
    if (fault == QLatin1String("protected"))
        ::chmod(nativePath(target).constData(), 0444);
    if (fault == QLatin1String("same"))
        source = target;
    if (fault == QLatin1String("nofolder"))
        target = to.filePath(QStringLiteral("weg/a.jpg"));
    FaultyIo io;
    io.budget = fault.startsWith(QLatin1String("full")) ? 1 << 20 : -1;
    io.ranged = !fault.endsWith(QLatin1String("loop"));
    io.syncFails = fault == QLatin1String("sync");
    qint64 reported = 0;
    const auto progress = [&](qint64 done, qint64) {
        reported = done;
        return fault != QLatin1String("cancel");
    };

    const CopyResult r = copyFile(source, target, progress, io);
    const bool copied = failure == int(CopyFailure::None);
    QTEST(int(r.failure), "failure");
    QCOMPARE(copyFailureText(r).isEmpty(), copied);
    QCOMPARE(names(to.path()), QStringList{name}); // no temporary file left
    QCOMPARE(read(to.filePath(name)), copied ? bytes : QByteArray("old"));
    if (sourceStays)
        QCOMPARE(read(from.filePath(name)), bytes);
    if (!copied)
        return;
    QCOMPARE(r.bytes, qint64(size));
    QCOMPARE(reported, qint64(size));
    struct stat st {};
    ::stat(nativePath(target).constData(), &st);
    QCOMPARE(st.st_mode & 0777, fault == QLatin1String("readonly") ? 0444u : 0644u);
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
