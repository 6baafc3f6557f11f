#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

class QFile;

namespace zv {

// Opens a file for reading by its native name; QFile(path) would turn bytes of a name that are
// not UTF-8 into replacement characters.
bool openForReading(QFile &file, const QString &path);

// The whole content of a regular file of at most maxBytes; nothing for anything else (a pipe
// would block, a device never end).
std::optional<QByteArray> readSmallFile(const QString &path, qint64 maxBytes);

} // namespace zv
