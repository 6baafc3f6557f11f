#pragma once
// Whole-file reads and writes the core tests share, and media bytes a shifted byte shows in.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <fcntl.h>
#include <unistd.h>

namespace zv::test {

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// By the name's own bytes, which need not be UTF-8.
inline bool writeNative(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool ok = fd >= 0 && ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    ::close(fd);
    return ok;
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    return writeNative(QFile::encodeName(path), bytes);
}

inline QByteArray mediaBytes(int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 37 + 11) & 0xFF);
    return bytes;
}

} // namespace zv::test
