#pragma once

#include "model/AlbumEntry.h"

#include <QJsonObject>
#include <QString>
#include <QTextStream>

#include <vector>

// How albuminfo prints entries; every verb that prints entries uses these.
namespace albuminfo {

// A text made safe for one tab-separated column on a terminal: backslash, tab, line feed and
// carriage return as \\ \t \n \r, other control characters below 0x20 and 0x7F as \xNN, the C1
// controls U+0080–U+009F as \uNNNN, and bytes of a file name that are not UTF-8 as \xNN.
QString escapedField(const QString &text);

// Name, kind, KB, Datum, Ort, Namen, Anlass, Bemerkungen, attributes: nine escaped columns.
QString entryLine(const zv::AlbumEntry &entry);

// The same nine values under their names; a name that is not UTF-8 shows its odd bytes as
// Latin-1 characters, as the album window does.
QJsonObject entryJson(const zv::AlbumEntry &entry);

enum class Format { Lines, Json };

// One line per entry, or one JSON array of them.
void printEntries(const std::vector<const zv::AlbumEntry *> &entries, Format format, QTextStream &out);

// The entries in the order the album list shows after one click on a header (two: descending).
int listSorted(const QString &programFolder, const QString &column, bool descending, Format format, QTextStream &out,
               QTextStream &err);

} // namespace albuminfo
