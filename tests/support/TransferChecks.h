#pragma once
// Files written and read back byte for byte, through nativePath as names with bytes that are not
// UTF-8 need.

#include "CoreChecks.h"

#include "platform/FileNames.h"

#include <QStringList>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace zv::test {

inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    return writeNative(nativePath(path), bytes);
}

inline QByteArray readFile(const QString &path)
{
    QByteArray bytes;
    const int fd = ::open(nativePath(path).constData(), O_RDONLY);
    char buffer[65536];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.append(buffer, n);
    ::close(fd);
    return fd < 0 ? QByteArray("<missing>") : bytes;
}

// Every name but . and .., sorted; QDir would skip the undecodable ones.
inline QStringList folderNames(const QString &folder)
{
    QStringList names;
    DIR *dir = ::opendir(nativePath(folder).constData());
    while (const dirent *e = dir ? ::readdir(dir) : nullptr)
        if (e->d_name[0] != '.' || (e->d_name[1] != 0 && e->d_name[1] != '.'))
            names << decodeFileName(e->d_name);
    if (dir)
        ::closedir(dir);
    names.sort();
    return names;
}

} // namespace zv::test
