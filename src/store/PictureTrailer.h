#pragma once

#include "PictureInfo.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zv {

// What went wrong with a trailer operation; the texts are German and fit a message box.
struct TrailerError {
    enum class Kind { None, Missing, CannotOpen, CannotRead, CannotWrite, LeadsOut };
    Kind kind = Kind::None;
    QString message;

    explicit operator bool() const { return kind != Kind::None; }
};

struct PictureReadResult {
    PictureInfo info; // five empty texts when the file has no trailer or could not be read
    TrailerError error;
};

// Reads the trailer of a file; a file without one yields empty texts and no error.
// Never changes or creates the file; anything but a regular file (or a symlink to one) is an error.
PictureReadResult ReadPictureInfo(const QString &path);

// Stores the five texts as the file's trailer: in place over an existing one, else appended.
// Never writes before the trailer's offset, never creates a missing file, writes only to a
// regular file (through a symlink only to one that lies in folder, or below it: an album may
// come from someone else, and a link in it could name any file of the user). An empty folder
// is the one the name lies in. Success means the bytes were flushed to the
// disk (fdatasync). On failure the file is rolled back: an append is cut back to the old length,
// an overwrite gets the old trailer back; the message says so when even that failed.
// The write runs in a forked child, so the trailer is written whole even when this process is
// killed meanwhile. Ignores SIGXFSZ for the whole process, so the file-size limit is an error.
// Sets info.marker to "FileInfo" as a side effect, as callers rely on.
TrailerError WritePictureInfo(const QString &path, PictureInfo &info, const QString &folder = {});

// The refusal for a link that leads out of folder (see WritePictureInfo), asked before anything
// else about the file changes, its mode too; no error when it stays inside.
TrailerError refuseLinkOutOf(const QString &path, const QString &folder);

namespace trailer {

inline constexpr char kMarker[] = "FileInfo";

// True when the 914 bytes start with the marker (case matters).
bool hasMarker(const char *trailerBytes);

// The fields of a 914-byte trailer, decoded but still padded to their widths.
PictureInfo decode(const char *trailerBytes);

// The same with trailing blanks already removed, as the album keeps them; cheaper to build.
PictureInfo decodeTrimmed(const char *trailerBytes);

// The 914 bytes for the five texts: Windows-1252, blank-padded, cut at each width.
QByteArray encode(const PictureInfo &info);

// What ReadPictureInfo makes of a file's last bytes (the whole file when it is shorter): the
// decoded trailer when the last 914 start with the marker, else five empty texts.
PictureInfo readTail(QByteArrayView fileEnd);

// Where WritePictureInfo puts the trailer in a file of fileSize bytes whose last 914 bytes do or
// do not start with the marker: over the old trailer, else after the end.
struct Placement {
    qint64 offset = 0;
    bool overwrite = false;
};
Placement placeFor(qint64 fileSize, bool markerAtEnd);

} // namespace trailer
} // namespace zv
