#include "FileCopy.h"

#include "FileHandle.h"
#include "FileNames.h"
#include "FolderReader.h"

#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <utility>
#include <vector>

namespace zv {
namespace {

CopyResult fail(CopyFailure failure, int error = errno)
{
    return {failure, error, 0};
}

CopyFailure writeFailure(int error)
{
    if (error == EFBIG)
        return CopyFailure::TooLarge;
    return error == ENOSPC || error == EDQUOT ? CopyFailure::DiskFull : CopyFailure::WriteFailed;
}

// Splits a target path into its folder and its last name, both as the system's bytes.
void splitTarget(const QByteArray &target, QByteArray &folder, QByteArray &name)
{
    const qsizetype slash = target.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    name = target.mid(slash + 1);
}

// The data itself: copy_file_range lets the kernel move the bytes (or share extents); file
// systems and kernels that refuse it get a plain read/write loop.
CopyResult copyData(int in, int out, qint64 total, const CopyProgress &progress, CopyIo &io)
{
    constexpr size_t chunk = 8 << 20;
    qint64 done = 0;
    bool ranged = true;
    std::unique_ptr<char[]> buffer;
    for (;;) {
        ssize_t n;
        if (ranged) {
            n = io.copyRange(in, out, chunk);
            if (n < 0 && done == 0
                && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP || errno == EPERM)) {
                ranged = false;
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(errno == EIO || errno == EBADF ? CopyFailure::SourceUnreadable : writeFailure(errno));
        } else {
            if (!buffer)
                buffer = std::make_unique<char[]>(1 << 20);
            n = io.read(in, buffer.get(), 1 << 20);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return fail(CopyFailure::SourceUnreadable);
            for (ssize_t written = 0; written < n;) {
                const ssize_t w = io.write(out, buffer.get() + written, size_t(n - written));
                if (w < 0 && errno == EINTR)
                    continue;
                if (w <= 0)
                    return fail(writeFailure(w < 0 ? errno : ENOSPC));
                written += w;
            }
        }
        if (n == 0)
            break;
        // Start writing this chunk to disk now, so the flush at the end finds little left to
        // do: the disk works while the next chunk is copied.
        ::sync_file_range(out, done, n, SYNC_FILE_RANGE_WRITE);
        done += n;
        if (progress && !progress(done, total))
            return fail(CopyFailure::Cancelled, 0);
    }
    // A source that shrank while it was copied would give a copy that is not the file.
    if (done != total)
        return fail(CopyFailure::SourceUnreadable, EIO);
    return {CopyFailure::None, 0, done};
}

} // namespace

QByteArray copyTempName()
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(kCopyTempPrefix);
    for (int i = 0; i < 8; ++i)
        name += letters[QRandomGenerator::global()->bounded(36)];
    return name + kCopyTempSuffix;
}

bool isCopyTempName(QStringView name)
{
    return name.startsWith(QLatin1String(kCopyTempPrefix)) && name.endsWith(QLatin1String(kCopyTempSuffix));
}

QString copyFailureText(const CopyResult &r)
{
    switch (r.failure) {
    case CopyFailure::None:
        return {};
    case CopyFailure::SourceMissing:
        return QStringLiteral("die Quelldatei ist nicht mehr vorhanden");
    case CopyFailure::SourceUnreadable:
        return QStringLiteral("die Quelldatei kann nicht gelesen werden");
    case CopyFailure::NotRegular:
        return QStringLiteral("das ist keine gewöhnliche Datei");
    case CopyFailure::SameFile:
        return QStringLiteral("Quelle und Ziel sind dieselbe Datei");
    case CopyFailure::TargetTaken:
        return QStringLiteral("eine andere Datei hat inzwischen diesen Namen bekommen");
    case CopyFailure::TargetFolder:
        return QStringLiteral("in den Zielordner kann nicht geschrieben werden");
    case CopyFailure::DiskFull:
        return QStringLiteral("auf dem Datenträger ist nicht genügend Platz");
    case CopyFailure::TooLarge:
        return QStringLiteral("die Datei ist größer, als der Datenträger oder das System eine Datei erlaubt");
    case CopyFailure::WriteFailed:
        return QStringLiteral("die Zieldatei kann nicht geschrieben werden");
    case CopyFailure::Cancelled:
        return QStringLiteral("das Kopieren wurde abgebrochen");
    }
    return {};
}

ssize_t CopyIo::copyRange(int in, int out, size_t length)
{
    return ::copy_file_range(in, nullptr, out, nullptr, length, 0);
}

ssize_t CopyIo::read(int fd, void *buffer, size_t length)
{
    return ::read(fd, buffer, length);
}

ssize_t CopyIo::write(int fd, const void *buffer, size_t length)
{
    return ::write(fd, buffer, length);
}

int CopyIo::sync(int fd)
{
    return ::fdatasync(fd);
}

int CopyIo::setMode(int fd, unsigned int mode)
{
    return ::fchmod(fd, mode);
}

int CopyIo::namelessFile(int dir)
{
    // Named into place through /proc; without it the copy takes a temporary name.
    static const bool procFds = ::access("/proc/self/fd", X_OK) == 0;
    if (!procFds) {
        errno = EOPNOTSUPP;
        return -1;
    }
    return ::openat(dir, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

void CopyIo::beforePlacing(const QByteArray &)
{ }

RenameCalls &CopyIo::renames()
{
    return systemRenameCalls();
}

CopyIo &systemCopyIo()
{
    static CopyIo io;
    return io;
}

PendingCopy::PendingCopy(PendingCopy &&other) noexcept
{
    *this = std::move(other);
}

PendingCopy &PendingCopy::operator=(PendingCopy &&other) noexcept
{
    if (this != &other) {
        discard();
        m_result = other.m_result;
        m_dir = std::exchange(other.m_dir, -1);
        m_out = std::exchange(other.m_out, -1);
        m_temp = std::move(other.m_temp);
        m_name = std::move(other.m_name);
        m_placing = other.m_placing;
        m_mode = other.m_mode;
        m_flushed = other.m_flushed;
    }
    return *this;
}

PendingCopy::~PendingCopy()
{
    discard();
}

int PendingCopy::replaceTail(qint64 from, QByteArrayView tail, CopyIo &io)
{
    if (m_out < 0 || !m_result || m_flushed || from < 0 || from > m_result.bytes)
        return EBADF;
    // A copy half amended is no copy: it fails as a copy that could not be written.
    const auto fail = [this](int error) {
        m_result = {error == ENOSPC || error == EDQUOT ? CopyFailure::DiskFull : CopyFailure::WriteFailed, error,
                    m_result.bytes};
        discard();
        return error;
    };
    if (::lseek(m_out, from, SEEK_SET) < 0)
        return fail(errno);
    for (qsizetype written = 0; written < tail.size();) {
        const ssize_t n = io.write(m_out, tail.data() + written, size_t(tail.size() - written));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail(n < 0 ? errno : EIO);
        written += n;
    }
    const qint64 end = from + tail.size();
    if (end < m_result.bytes && ::ftruncate(m_out, end) != 0)
        return fail(errno);
    m_result.bytes = end;
    return 0;
}

void PendingCopy::discard()
{
    if (m_out >= 0) {
        if (!m_temp.isEmpty())
            ::unlinkat(m_dir, m_temp.constData(), 0);
        ::close(m_out);
        m_out = -1;
    }
    if (m_dir >= 0)
        ::close(m_dir);
    m_dir = -1;
}

namespace {

// Modes a file system cannot keep (FAT, exFAT, many shares) are no reason to fail a copy.
bool modeNotKept(int error)
{
    return error == ENOSYS || error == EPERM || error == EOPNOTSUPP || error == ENOTSUP;
}

} // namespace

// Returns errno or 0; EEXIST when the name is taken and the copy may not replace it.
int PendingCopy::place(CopyIo &io)
{
    io.beforePlacing(m_name);
    if (m_temp.isEmpty()) {
        const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_out);
        if (m_placing == Placing::NewName)
            return ::linkat(AT_FDCWD, self.constData(), m_dir, m_name.constData(), AT_SYMLINK_FOLLOW) == 0 ? 0 : errno;
        // Replacing takes a name of its own first, then the rename swaps it in whole.
        for (int attempt = 0; attempt < 16 && m_temp.isEmpty(); ++attempt) {
            const QByteArray temp = copyTempName();
            if (::linkat(AT_FDCWD, self.constData(), m_dir, temp.constData(), AT_SYMLINK_FOLLOW) == 0)
                m_temp = temp;
            else if (errno != EEXIST)
                return errno;
        }
        if (m_temp.isEmpty())
            return EEXIST;
    }
    if (m_placing == Placing::Replace)
        return io.renames().rename(m_dir, m_temp.constData(), m_dir, m_name.constData()) == 0 ? 0 : errno;
    return renameNoReplaceAt(m_dir, m_temp.constData(), m_dir, m_name.constData(), io.renames());
}

CopyResult PendingCopy::complete(CopyIo &io)
{
    if (m_out < 0)
        return m_result;
    if (!m_flushed) {
        if (io.sync(m_out) != 0 || (io.setMode(m_out, m_mode) != 0 && !modeNotKept(errno))) {
            m_result = fail(writeFailure(errno));
            discard();
            return m_result;
        }
        m_flushed = true;
    }
    // Named while still open and locked, so no cleaner can take it for a dead copy.
    if (const int error = place(io)) {
        m_result = fail(error == EEXIST ? CopyFailure::TargetTaken : CopyFailure::WriteFailed, error);
        if (error == EEXIST)
            return m_result; // kept for retarget()
    } else {
        m_temp.clear(); // in place: nothing to discard
    }
    discard();
    return m_result;
}

void PendingCopy::retarget(const QString &name, Placing placing)
{
    m_name = nativePath(name);
    m_placing = placing;
    m_result = {CopyFailure::None, 0, m_result.bytes};
}

PendingCopy startCopy(const QString &source, const QString &target, Placing placing, const CopyProgress &progress,
                      CopyIo &io)
{
    PendingCopy pending;
    pending.m_placing = placing;
    CopyResult &result = pending.m_result;
    const FileHandle in(::open(nativePath(source).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    struct stat src { };
    if (in.get() < 0) {
        result = fail(errno == ENOENT || errno == ENOTDIR ? CopyFailure::SourceMissing : CopyFailure::SourceUnreadable);
        return pending;
    }
    if (::fstat(in.get(), &src) != 0) {
        result = fail(CopyFailure::SourceUnreadable);
        return pending;
    }
    if (!S_ISREG(src.st_mode)) {
        result = fail(CopyFailure::NotRegular, 0);
        return pending;
    }

    QByteArray folder;
    splitTarget(nativePath(target), folder, pending.m_name);
    pending.m_dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (pending.m_dir < 0) {
        result = fail(CopyFailure::TargetFolder);
        return pending;
    }
    struct stat existing { };
    if (::fstatat(pending.m_dir, pending.m_name.constData(), &existing, AT_SYMLINK_NOFOLLOW) == 0) {
        if (existing.st_dev == src.st_dev && existing.st_ino == src.st_ino)
            result = fail(CopyFailure::SameFile, 0);
        // A write-protected file is replaced too: only the user's "Ja" leads here, and the rename
        // needs the folder's permission, not the file's.
        else if (S_ISDIR(existing.st_mode))
            result = fail(CopyFailure::NotRegular, EISDIR);
        if (!result)
            return pending;
    }

    pending.m_out = io.namelessFile(pending.m_dir);
    for (int attempt = 0; attempt < 16 && pending.m_out < 0; ++attempt) {
        pending.m_temp = copyTempName();
        pending.m_out = ::openat(pending.m_dir, pending.m_temp.constData(),
                                 O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (pending.m_out < 0 && errno != EEXIST) {
            result = fail(errno == ENOSPC || errno == EDQUOT ? CopyFailure::DiskFull : CopyFailure::TargetFolder);
            return pending;
        }
    }
    if (pending.m_out < 0) {
        result = fail(CopyFailure::TargetFolder);
        return pending;
    }
    // The lock tells removeStaleCopies that this copy is alive; it ends with the process.
    ::flock(pending.m_out, LOCK_EX | LOCK_NB);
    pending.m_mode = src.st_mode & 07777 & ~mode_t(S_ISUID | S_ISGID);
    result = copyData(in.get(), pending.m_out, src.st_size, progress, io);
    if (!result)
        pending.discard();
    return pending;
}

CopyResult copyFile(const QString &source, const QString &target, Placing placing, const CopyProgress &progress,
                    CopyIo &io)
{
    return startCopy(source, target, placing, progress, io).complete(io);
}

bool syncFolder(const QString &folder)
{
    const FileHandle dir(::open(nativePath(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.get() >= 0 && ::fsync(dir.get()) == 0;
}

int removeStaleCopies(const QString &folder)
{
    FolderReader reader(folder);
    std::vector<QByteArray> stale;
    const int dirFd = reader.fd();
    while (const FolderEntry *entry = reader.next()) {
        if (!isCopyTempName(QString::fromLatin1(entry->name())))
            continue;
        const FileHandle fd(::openat(dirFd, entry->name(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
        if (fd.get() >= 0 && ::flock(fd.get(), LOCK_EX | LOCK_NB) == 0)
            stale.emplace_back(entry->name());
    }
    int removed = 0;
    for (const QByteArray &name : stale)
        removed += ::unlinkat(dirFd, name.constData(), 0) == 0;
    return removed;
}

} // namespace zv
