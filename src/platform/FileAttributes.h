#pragma once

#include <QString>

#include <optional>

namespace zv {

// File attribute bits as the album keeps them; only read-only has a meaning on this platform.
enum FileAttribute : int { ReadOnlyAttribute = 1, DirectoryAttribute = 16, ArchiveAttribute = 32 };

// Read-only is the missing write permission of the owner.
bool isReadOnlyMode(unsigned int posixMode);
// The same permission bits with the owner allowed to write.
unsigned int ownerWritableMode(unsigned int posixMode);
int fileAttributes(const QString &path);
// Read-only takes every write bit away; writable gives the owner's back. Returns errno or 0.
int setReadOnly(const QString &path, bool readOnly);

// The permission bits, to be put back exactly after a file was made writable for a moment.
std::optional<unsigned int> fileMode(const QString &path);
int setFileMode(const QString &path, unsigned int mode);
// The same for the name itself, never through a link: a link's own bits never say read-only,
// and what it points to keeps its mode.
std::optional<unsigned int> nameMode(const QString &path);
int setNameMode(const QString &path, unsigned int mode);

} // namespace zv
