#include "PictureTrailer.h"

#include "Windows1252.h"

#include "platform/ErrorTexts.h"
#include "platform/FileHandle.h"
#include "platform/FileNames.h"
#include "platform/NewFile.h"

#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zv {
namespace trailer {
namespace {

struct Field {
    QString PictureInfo::*member;
    int width;
};

// On-disk order after the marker.
constexpr Field kFields[] = {
    {&PictureInfo::namen, PictureInfo::NamenWidth},
    {&PictureInfo::ort, PictureInfo::OrtWidth},
    {&PictureInfo::datum, PictureInfo::DatumWidth},
    {&PictureInfo::anlass, PictureInfo::AnlassWidth},
    {&PictureInfo::bemerkungen, PictureInfo::BemerkungenWidth},
};

} // namespace

bool hasMarker(const char *trailerBytes)
{
    return std::memcmp(trailerBytes, kMarker, PictureInfo::MarkerWidth) == 0;
}

PictureInfo decode(const char *trailerBytes)
{
    PictureInfo info;
    info.marker = QString::fromLatin1(trailerBytes, PictureInfo::MarkerWidth);
    const char *p = trailerBytes + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        info.*field.member = windows1252::decode(p, field.width);
        p += field.width;
    }
    return info;
}

PictureInfo decodeTrimmed(const char *trailerBytes)
{
    PictureInfo info;
    info.marker = QStringLiteral("FileInfo"); // only called once the marker matched
    const char *p = trailerBytes + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        int length = field.width;
        while (length > 0 && p[length - 1] == ' ')
            --length;
        if (length > 0)
            info.*field.member = windows1252::decode(p, length);
        p += field.width;
    }
    return info;
}

QByteArray encode(const PictureInfo &info)
{
    QByteArray bytes(PictureInfo::TrailerSize, ' ');
    std::memcpy(bytes.data(), kMarker, PictureInfo::MarkerWidth);
    char *p = bytes.data() + PictureInfo::MarkerWidth;
    for (const Field &field : kFields) {
        const QByteArray text = windows1252::encode(info.*field.member);
        std::memcpy(p, text.constData(), std::min<qsizetype>(text.size(), field.width));
        p += field.width;
    }
    return bytes;
}

PictureInfo readTail(QByteArrayView fileEnd)
{
    if (fileEnd.size() < PictureInfo::TrailerSize)
        return {};
    const char *bytes = fileEnd.data() + fileEnd.size() - PictureInfo::TrailerSize;
    return hasMarker(bytes) ? decode(bytes) : PictureInfo();
}

Placement placeFor(qint64 fileSize, bool markerAtEnd)
{
    const bool overwrite = markerAtEnd && fileSize >= PictureInfo::TrailerSize;
    return {overwrite ? fileSize - PictureInfo::TrailerSize : fileSize, overwrite};
}

} // namespace trailer

namespace {

QString displayName(const QString &path)
{
    return displayFileName(QFileInfo(path).fileName());
}

TrailerError missing(const QString &path)
{
    return {TrailerError::Kind::Missing,
            QStringLiteral("Die Datei \"%1\" ist nicht mehr vorhanden.").arg(displayName(path))};
}

TrailerError cannotRead(const QString &path, TrailerError::Kind kind, const QString &reason)
{
    return {kind, QStringLiteral("Die Datei \"%1\" kann nicht gelesen werden: %2.").arg(displayName(path), reason)};
}

// A process over its file-size limit gets SIGXFSZ and dies, mid-trailer; ignored, the write
// fails with EFBIG instead and is rolled back like any other.
void ignoreFileSizeSignal()
{
    static const bool ignored = [] {
        struct sigaction action {};
        action.sa_handler = SIG_IGN;
        sigemptyset(&action.sa_mask);
        return ::sigaction(SIGXFSZ, &action, nullptr) == 0;
    }();
    (void)ignored;
}

struct OpenedFile {
    FileHandle handle;
    qint64 size = 0;
    int error = 0; // errno; ENOENT for a file that is not there
    bool notRegular = false;
};

// Opens only regular files: a symlink is followed only to one, and a FIFO or device is never
// opened (a FIFO would block, a tape would rewind). The file opened must be the one checked.
OpenedFile openRegular(const QString &path, int flags)
{
    OpenedFile file;
    const QByteArray native = nativePath(path);
    struct stat before {};
    if (::stat(native.constData(), &before) != 0) {
        file.error = errno == ENOTDIR ? ENOENT : errno;
        return file;
    }
    if (!S_ISREG(before.st_mode)) {
        file.notRegular = true;
        return file;
    }
    const int fd = ::open(native.constData(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        file.error = errno;
        return file;
    }
    file.handle = FileHandle(fd);
    struct stat opened {};
    if (::fstat(fd, &opened) != 0) {
        file.error = errno;
        return file;
    }
    if (!S_ISREG(opened.st_mode) || opened.st_dev != before.st_dev || opened.st_ino != before.st_ino) {
        file.notRegular = true;
        return file;
    }
    file.size = opened.st_size;
    return file;
}

QString openFailure(const OpenedFile &file)
{
    return file.notRegular ? QStringLiteral("keine gewöhnliche Datei") : errorText(file.error);
}

// errno, or EIO for a file that ended early (it shrank since fstat).
int readAllAt(int fd, char *bytes, qsizetype size, qint64 offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, bytes, static_cast<size_t>(size), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            return EIO;
        bytes += got;
        size -= got;
        offset += got;
    }
    return 0;
}

struct WriteOutcome {
    int error = 0;        // errno of the write or its flush
    bool restored = true; // after a failure: the file is as it was
};

// The write, its flush and, on failure, its rollback: an append is cut back to the old length,
// an overwrite gets back the old bytes it replaced (only those: the rest may lie beyond what the
// failure allows). System calls only, nothing allocated, so a forked child can run it.
WriteOutcome writeTrailer(int fd, const char *bytes, qint64 offset, qint64 oldSize, const char *old, bool overwrite)
{
    WriteOutcome outcome;
    qsizetype written = 0;
    outcome.error = writeAllAt(fd, bytes, PictureInfo::TrailerSize, offset, &written);
    if (!outcome.error && ::fdatasync(fd) != 0)
        outcome.error = errno;
    if (outcome.error) {
        outcome.restored = overwrite ? writeAllAt(fd, old, written, offset) == 0 && ::fdatasync(fd) == 0
                                     : ::ftruncate(fd, oldSize) == 0;
    }
    return outcome;
}

// Runs writeTrailer in a child process. The kernel abandons a write between two memory pages
// once its process is killed, so a trailer across a page boundary could be left half written
// (the kill test found it); a child finishes the write and its rollback whatever happens to us.
WriteOutcome writeTrailerInChild(int fd, const char *bytes, qint64 offset, qint64 oldSize, const char *old,
                                 bool overwrite)
{
    int channel[2];
    if (::pipe2(channel, O_CLOEXEC) != 0)
        return writeTrailer(fd, bytes, offset, oldSize, old, overwrite);
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(channel[0]);
        ::close(channel[1]);
        return writeTrailer(fd, bytes, offset, oldSize, old, overwrite);
    }
    if (child == 0) {
        const WriteOutcome outcome = writeTrailer(fd, bytes, offset, oldSize, old, overwrite);
        (void)!::write(channel[1], &outcome, sizeof outcome);
        ::_exit(0);
    }
    ::close(channel[1]);
    WriteOutcome outcome;
    ssize_t got;
    do {
        got = ::read(channel[0], &outcome, sizeof outcome);
    } while (got < 0 && errno == EINTR);
    ::close(channel[0]);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
    if (got != sizeof outcome)
        return {EIO, false}; // the child died before it could say
    return outcome;
}

} // namespace

PictureReadResult ReadPictureInfo(const QString &path)
{
    PictureReadResult result;
    const OpenedFile file = openRegular(path, O_RDONLY);
    if (file.error == ENOENT) {
        result.error = missing(path);
        return result;
    }
    if (file.error || file.notRegular) {
        result.error = cannotRead(path, TrailerError::Kind::CannotOpen, openFailure(file));
        return result;
    }
    if (file.size < PictureInfo::TrailerSize)
        return result;
    char bytes[PictureInfo::TrailerSize];
    if (const int error = readAllAt(file.handle.get(), bytes, PictureInfo::TrailerSize,
                                    file.size - PictureInfo::TrailerSize)) {
        result.error = cannotRead(path, TrailerError::Kind::CannotRead, errorText(error));
        return result;
    }
    result.info = trailer::readTail(QByteArrayView(bytes, PictureInfo::TrailerSize));
    return result;
}

TrailerError WritePictureInfo(const QString &path, PictureInfo &info)
{
    ignoreFileSizeSignal();
    // Never O_CREAT: a file that vanished is reported, not recreated as a bare trailer.
    const OpenedFile file = openRegular(path, O_RDWR);
    if (file.error == ENOENT)
        return missing(path);
    if (file.error || file.notRegular) {
        return {TrailerError::Kind::CannotOpen,
                QStringLiteral("Die Datei \"%1\" kann nicht beschrieben werden: %2.")
                    .arg(displayName(path), openFailure(file))};
    }
    const int fd = file.handle.get();
    const qint64 size = file.size;
    char old[PictureInfo::TrailerSize];
    bool marked = false;
    if (size >= PictureInfo::TrailerSize) {
        if (const int error = readAllAt(fd, old, PictureInfo::TrailerSize, size - PictureInfo::TrailerSize))
            return cannotRead(path, TrailerError::Kind::CannotRead, errorText(error));
        marked = trailer::hasMarker(old);
    }
    const trailer::Placement place = trailer::placeFor(size, marked);

    info.marker = QString::fromLatin1(trailer::kMarker);
    const QByteArray bytes = trailer::encode(info);
    const WriteOutcome outcome = writeTrailerInChild(fd, bytes.constData(), place.offset, size, old, place.overwrite);
    if (!outcome.error)
        return {};
    QString message = QStringLiteral("Die Informationen konnten nicht in \"%1\" gespeichert werden: %2.")
                          .arg(displayName(path), errorText(outcome.error));
    if (!outcome.restored)
        message += QStringLiteral(" Die gespeicherten Informationen der Datei sind möglicherweise beschädigt.");
    return {TrailerError::Kind::CannotWrite, message};
}

} // namespace zv
