#pragma once

#include <QString>

namespace zv {

// The system calls a rename without replacing is made of, so a test can answer like a file
// system that lacks one of them (exFAT and FAT through FUSE, shares).
class RenameCalls {
public:
    virtual ~RenameCalls() = default;
    // Each returns 0 or sets errno and returns -1, like the call it stands for.
    virtual int renameNoReplace(int fromDir, const char *from, int toDir, const char *to);
    virtual int link(int fromDir, const char *from, int toDir, const char *to);
    virtual int rename(int fromDir, const char *from, int toDir, const char *to);
    virtual int unlink(int dir, const char *name);
    virtual bool exists(int dir, const char *name);
};
RenameCalls &systemRenameCalls();

// Gives a file a new name without ever replacing another one, also when one appeared since
// the name was checked. Returns errno (EEXIST for a taken name) or 0.
int renameNoReplace(const QString &from, const QString &to, RenameCalls &calls = systemRenameCalls());

// The same within folders already open (AT_FDCWD for the working folder).
int renameNoReplaceAt(int fromDir, const char *from, int toDir, const char *to,
                      RenameCalls &calls = systemRenameCalls());

// Removes the name of a file (a link itself, not what it points to). Returns errno or 0.
int removeFile(const QString &path);

} // namespace zv
