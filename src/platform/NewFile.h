#pragma once

#include "FileHandle.h"

#include <QByteArray>
#include <QString>

namespace zv {

struct NewFile {
    FileHandle handle;
    QString path; // the name it was created under
    int error = 0; // errno when it could not be created
};

// Creates path for writing, exclusively: fails with EEXIST when anything has that name, a
// symlink (dangling or not) included, so nothing is written through a link or over a file.
NewFile createNewFile(const QString &path);

// Writes all bytes from offset on, resuming after short writes; errno on failure, else 0.
// *written (when given) tells how many bytes went to the file, also on failure.
int writeAllAt(int fd, const char *bytes, qsizetype size, qint64 offset, qsizetype *written = nullptr);

// createNewFile, all bytes, flushed to the disk; a failure removes the partial file again.
// Returns 0 or the errno of the first failing step.
int writeNewFile(const QString &path, const QByteArray &bytes);

} // namespace zv
