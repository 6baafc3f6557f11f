#pragma once

#include "FileMoves.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <functional>

#include <sys/types.h>

namespace zv {

// Copies are written as a nameless file in the target folder and get their name only when
// complete and on disk, so a killed copy leaves nothing. Where the file system cannot make
// nameless files, they are written under a temporary name: ".zvcopy-" + eight letters or
// digits + ".part"; whoever lists a folder skips such names, and removeStaleCopies clears those
// whose copier is gone.
inline constexpr char kCopyTempPrefix[] = ".zvcopy-";
inline constexpr char kCopyTempSuffix[] = ".part";
bool isCopyTempName(QStringView name);
// A fresh such name, as the system's bytes.
QByteArray copyTempName();

enum class CopyFailure {
    None,
    SourceMissing, // vanished since it was chosen
    SourceUnreadable,
    NotRegular, // a folder, a pipe, a device
    SameFile, // source and target are one file
    TargetTaken, // a new name was taken by another file while the copy was written
    TargetFolder, // no temporary file could be made in the target folder
    DiskFull,
    TooLarge, // over the largest file the file system or the process may write
    WriteFailed,
    Cancelled,
};

enum class Placing { NewName, Replace };

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
    virtual int setMode(int fd, unsigned int mode);
    // A nameless file in the folder for writing; -1 with errno where the file system has none.
    virtual int namelessFile(int dir);
    // Between the last check of the target's name and the placing: where another writer may
    // slip in. Tests put a file there.
    virtual void beforePlacing(const QByteArray &name);
    virtual RenameCalls &renames();
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
    // Flushes, takes the source's permission bits and gives the copy its name. TargetTaken
    // keeps the copy for retarget(); every other outcome ends it.
    CopyResult complete(CopyIo &io = systemCopyIo());
    // After TargetTaken: another name in the same folder, or the same one replaced.
    void retarget(const QString &name, Placing placing);
    // Before complete(): the copy's bytes from `from` on become `tail`, the file cut or grown to
    // fit, so the copy takes its name already amended. errno, or 0.
    int replaceTail(qint64 from, QByteArrayView tail, CopyIo &io = systemCopyIo());

private:
    friend PendingCopy startCopy(const QString &, const QString &, Placing, const CopyProgress &, CopyIo &);
    void discard();
    int place(CopyIo &io);

    CopyResult m_result;
    int m_dir = -1;
    int m_out = -1;
    QByteArray m_temp; // empty for a nameless copy
    QByteArray m_name;
    Placing m_placing = Placing::NewName;
    unsigned int m_mode = 0600;
    bool m_flushed = false;
};

// Starts a copy of source to target. NewName never replaces a file: one that appeared while the
// copy was written makes complete() answer TargetTaken. Replace is only ever the answer to the
// overwrite question.
PendingCopy startCopy(const QString &source, const QString &target, Placing placing, const CopyProgress &progress = {},
                      CopyIo &io = systemCopyIo());

// Copies source to target byte for byte. The source is only read; the target name shows either
// nothing or the old file, or the complete copy, never a part of it. The copy takes the
// source's permission bits where the file system keeps them, so a write-protected source stays
// protected.
CopyResult copyFile(const QString &source, const QString &target, Placing placing, const CopyProgress &progress = {},
                    CopyIo &io = systemCopyIo());

// Puts a folder's new names on disk. copyFile flushes each file's data but leaves its name to
// this, once per run: a flush of the folder per file costs more than the copy of a small file.
bool syncFolder(const QString &folder);

// Removes temporary copies left in a folder by a copier that died; copies still being written
// are locked by their copier and stay. Returns how many were removed.
int removeStaleCopies(const QString &folder);

} // namespace zv
