#pragma once

#include "model/AlbumPaths.h"

#include <QStringList>

namespace zv {

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

// A complete album folder at target: Bilder/ with copies of the named media files (trailers
// included), Skins/, Hilfe/ and Dorido/ when there is one, and the program files beside them
// (programFile, the running program when empty, and the companion beside it). Every file is
// copied to a temporary name and renamed into place; a failure is named and the rest still copied.
// A target refused by newAlbumRefusal gets nothing: the refusal is the only failure.
NewAlbumOutcome createNewAlbum(const AlbumPaths &source, const QString &target, const QStringList &mediaNames,
                               const QString &programFile = {});

// The print-ordering program of the album, Dorido/ips or, from an album carried over from
// Windows, Dorido/ips.exe; empty when neither is there and executable.
QString printOrderingProgram(const QString &programFolder);

} // namespace zv
