#pragma once

#include <QString>

namespace zv {

// The path as the file system will resolve it once its missing folders are made: made absolute,
// "." and ".." folded and trailing slashes dropped as QDir::cleanPath does, then every symbolic
// link along the part that already exists followed. Two spellings of one folder give one result.
QString canonicalPath(const QString &path);

// True when path is folder itself or lies somewhere below it; both canonical.
bool isSameOrBelow(const QString &path, const QString &folder);

// True when path, every link on its way followed, ends outside folder (whose own links are
// followed too): a link in an album that names some other file of the user. A dangling link
// ends where its own name is.
bool leadsOutOf(const QString &path, const QString &folder);

} // namespace zv
