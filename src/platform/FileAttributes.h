#pragma once

#include <QString>

namespace zv {

// File attribute bits as the album keeps them; only read-only has a meaning on this platform.
enum FileAttribute : int { ReadOnlyAttribute = 1, DirectoryAttribute = 16, ArchiveAttribute = 32 };

// Read-only is the missing write permission of the owner.
bool isReadOnlyMode(unsigned int posixMode);
int fileAttributes(const QString &path);
bool setReadOnly(const QString &path, bool readOnly);

} // namespace zv
