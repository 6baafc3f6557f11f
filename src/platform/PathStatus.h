#pragma once

#include <QString>

#include <cstdint>

namespace zv {

// What a name in the file system is.
struct PathStatus {
    enum class Kind { Missing, File, Folder, Other };
    Kind kind = Kind::Missing;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0; // since 1970, as thumbnail caches record it
    bool exists() const { return kind != Kind::Missing; }
    bool isFile() const { return kind == Kind::File; }
    bool isFolder() const { return kind == Kind::Folder; }
};

// Links followed: what a program opening the name would get.
PathStatus pathStatus(const QString &path);
// The name itself: a link, even a dangling one, is Other.
PathStatus nameStatus(const QString &path);
// A regular file the user may run.
bool isRunnableFile(const QString &path);

} // namespace zv
