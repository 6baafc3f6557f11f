#pragma once

#include "FileHandle.h"

#include <QString>

namespace zv {

struct RegularFile {
    FileHandle handle;
    qint64 size = 0;
    int error = 0; // errno; ENOENT for a file that is not there
    bool notRegular = false;
    bool outside = false; // a link leading out of the folder the file had to lie in; not opened
};

// Opens only regular files: a symlink is followed only to one, and a FIFO or device is never
// opened (a FIFO would block, a tape would rewind). The file opened is the one checked. Never
// creates: a file that vanished is reported, not made anew. With a folder given, the file must
// lie in it or below it once every link is followed (the folder's own links are followed too):
// the name is resolved, checked and then opened without following a link in its last part.
RegularFile openRegularFile(const QString &path, bool forWriting, const QString &within = {});

// Reads size bytes at offset; errno, or EIO for a file that ended early (it shrank meanwhile).
int readAllAt(int fd, char *bytes, qsizetype size, qint64 offset);

// A process over its file-size limit gets SIGXFSZ and dies mid-write, leaving half a file;
// ignored, the write fails with EFBIG instead and is rolled back like any other. Both programs
// call this once at their start.
void ignoreFileSizeSignal();

struct EndWriteOutcome {
    int error = 0; // errno of the write or its flush
    bool restored = true; // after a failure: the file is as it was
};

// Writes bytes at offset, near the end of a file oldSize long, flushed to the disk: over the
// old bytes `old` that lie there (overwrite) or appended. A failure rolls back: an append is
// cut back to oldSize, an overwrite gets back the old bytes it replaced. The write and its
// rollback run in a child process, which finishes them whatever happens to this one; a process
// over its file-size limit gets EFBIG instead of being killed mid-write.
EndWriteOutcome writeNearEnd(int fd, QByteArrayView bytes, qint64 offset, qint64 oldSize, const char *old,
                             bool overwrite);

} // namespace zv
