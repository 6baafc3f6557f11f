#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace zv::windows1252 {

// Table-driven because a trailer read is on the album's hot loading path; the result matches
// QStringDecoder("windows-1252") byte for byte.
QString decode(const char *bytes, qsizetype length);

// Characters without a Windows-1252 byte become '?'.
QByteArray encode(const QString &text);

// The characters of text that have no Windows-1252 byte (Chinese, emoji, …), each once, in order
// of first appearance; a character outside the basic plane is one entry. Empty when all fit.
QStringList unencodable(QStringView text);

} // namespace zv::windows1252
