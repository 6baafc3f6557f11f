#pragma once

#include <QString>

namespace zv {

// Gives a file a new name without ever replacing another one, also when one appeared since
// the name was checked. Returns errno (EEXIST for a taken name) or 0.
int renameNoReplace(const QString &from, const QString &to);

// Removes the name of a file (a link itself, not what it points to). Returns errno or 0.
int removeFile(const QString &path);

} // namespace zv
