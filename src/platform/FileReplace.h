#pragma once

#include <QByteArrayView>
#include <QString>

#include <initializer_list>
#include <optional>

namespace zv {

// Which file a name leads to and how it was when looked at: a file rewritten, replaced or
// touched since compares unequal.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    unsigned int mode = 0; // the permission bits
    unsigned int owner = 0;
    unsigned int group = 0;
    bool operator==(const FileIdentity &other) const = default;
};

// Links followed; nothing for a name that leads to no regular file (errno tells why).
std::optional<FileIdentity> fileIdentity(const QString &path);

struct ReplaceOutcome {
    int error = 0; // errno of the failing step
    bool changed = false; // the file was no longer the one expected; nothing was replaced
    explicit operator bool() const { return error == 0 && !changed; }
};

// Replaces the regular file at path (no link: resolve it first) by the parts written one after
// the other, in one rename: readers see the old file or the whole new one. The new file is
// written under a temporary copy name (FileCopy.h) in the same folder, takes the old one's
// permission bits and, where allowed, its owner, and is flushed before the rename. Nothing is
// replaced when path is no longer the file `expected` describes. The write, the check and the
// rename run in a child process that finishes them, or removes its temporary file, whatever
// happens to this one; a process killed meanwhile leaves the old file or the new one, never a
// temporary name.
ReplaceOutcome replaceFileWith(const QString &path, const FileIdentity &expected,
                               std::initializer_list<QByteArrayView> parts);

} // namespace zv
