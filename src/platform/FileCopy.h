#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>

#include <sys/types.h>

namespace zv {

// Copies land under a temporary name in the target folder and are renamed into place only when
// complete and on disk. The name is ".zvcopy-" + eight letters or digits + ".part"; whoever lists
// a folder skips such names, and removeStaleCopies clears those whose copier is gone.
inline constexpr char kCopyTempPrefix[] = ".zvcopy-";
inline constexpr char kCopyTempSuffix[] = ".part";
bool isCopyTempName(QStringView name);

enum class CopyFailure {
    None,
    SourceMissing, // vanished since it was chosen
    SourceUnreadable,
    NotRegular, // a folder, a pipe, a device
    SameFile, // source and target are one file
    TargetReadOnly, // the existing target is write-protected
    TargetFolder, // no temporary file could be made in the target folder
    DiskFull,
    WriteFailed,
    Cancelled,
};

struct CopyResult {
    CopyFailure failure = CopyFailure::None;
    int error = 0; // errno of the failing call, 0 when the failure is not a system error
    qint64 bytes = 0;
    explicit operator bool() const { return failure == CopyFailure::None; }
};

// The reason in German, for a message that names the file.
QString copyFailureText(const CopyResult &result);

// The system calls the copy makes, so a test can make the disk fill up or a write fail.
class CopyIo {
public:
    virtual ~CopyIo() = default;
    virtual ssize_t copyRange(int in, int out, size_t length);
    virtual ssize_t read(int fd, void *buffer, size_t length);
    virtual ssize_t write(int fd, const void *buffer, size_t length);
    virtual int sync(int fd);
};
CopyIo &systemCopyIo();

// Called after every chunk with the bytes copied so far; returning false cancels the copy.
using CopyProgress = std::function<bool(qint64 done, qint64 total)>;

// A copy whose bytes are written but not yet flushed and renamed into place. Completing it
// later lets the disk write it back while the next file is copied. Dropped without complete(),
// it leaves nothing behind.
class PendingCopy {
public:
    PendingCopy() = default;
    PendingCopy(PendingCopy &&other) noexcept;
    PendingCopy &operator=(PendingCopy &&other) noexcept;
    ~PendingCopy();

    // The failure so far; a success only means the bytes are written.
    const CopyResult &result() const { return m_result; }
    // Flushes, takes the source's permission bits and renames into place.
    CopyResult complete(CopyIo &io = systemCopyIo());

private:
    friend PendingCopy startCopy(const QString &, const QString &, const CopyProgress &, CopyIo &);
    void discard();

    CopyResult m_result;
    int m_dir = -1;
    int m_out = -1;
    QByteArray m_temp;
    QByteArray m_name;
    unsigned int m_mode = 0600;
};

PendingCopy startCopy(const QString &source, const QString &target, const CopyProgress &progress = {},
                      CopyIo &io = systemCopyIo());

// Copies source to target byte for byte and replaces a target of that name. The source is only
// read; the target name shows either the old file or the complete copy, never a part of it.
// The copy takes the source's permission bits, so a write-protected source stays protected.
CopyResult copyFile(const QString &source, const QString &target, const CopyProgress &progress = {},
                    CopyIo &io = systemCopyIo());

// Puts a folder's new names on disk. copyFile flushes each file's data but leaves its name to
// this, once per run: a flush of the folder per file costs more than the copy of a small file.
bool syncFolder(const QString &folder);

// Removes temporary copies left in a folder by a copier that died; copies still being written
// are locked by their copier and stay. Returns how many were removed.
int removeStaleCopies(const QString &folder);

} // namespace zv
