#pragma once

#include <QByteArray>
#include <QString>

namespace zv::windows1252 {

// Table-driven because a trailer read is on the album's hot loading path; the result matches
// QStringDecoder("windows-1252") byte for byte.
QString decode(const char *bytes, qsizetype length);

// Characters without a Windows-1252 byte become '?'.
QByteArray encode(const QString &text);

} // namespace zv::windows1252
