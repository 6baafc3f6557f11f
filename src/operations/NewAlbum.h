#pragma once

#include "model/AlbumPaths.h"

#include <QStringList>

namespace zv {

class Drives;
class OverwriteQuestion;

struct NewAlbumOutcome {
    QString programFile; // the new album's program, to start; empty when it could not be made
    QStringList failures; // German, one line per thing that could not be copied
};

// Where a new album is proposed: a folder "neues Album" among the user's pictures.
QString proposedNewAlbumFolder();

// Why no new album of source can be made at target, or empty: the album itself, a folder in it,
// or a folder the new album copies (its Skins may be a link to elsewhere) would be copied into
// itself. Links, ".." and trailing slashes are resolved before comparing.
QString newAlbumRefusal(const AlbumPaths &source, const QString &target);

struct NewAlbumCopying {
    // Asked before a picture or video of an existing album is replaced; without one, none is.
    OverwriteQuestion *question = nullptr;
    // Where the room is looked up; without one, it is not checked first.
    const Drives *drives = nullptr;
};

// A complete album folder at target: Bilder/ with copies of the named media files (trailers
// included), Skins/, Hilfe/ and Dorido/ when there is one, and the program files beside them
// (programFile, the running program when empty, and the companion beside it). Every copy gets
// its name only when complete. Nothing starts without the room for all of it; a copy that fails
// takes back what the run made and leaves one message naming the cause. A target refused by
// newAlbumRefusal gets nothing: the refusal is the only failure.
NewAlbumOutcome createNewAlbum(const AlbumPaths &source, const QString &target, const QStringList &mediaNames,
                               NewAlbumCopying copying = {}, const QString &programFile = {});

// The print-ordering program of the album, Dorido/ips or, from an album carried over from
// Windows, Dorido/ips.exe; empty when neither is there and executable.
QString printOrderingProgram(const QString &programFolder);

} // namespace zv
