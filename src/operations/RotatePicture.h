#pragma once

#include "AlbumContext.h"

#include "metadata/JpegTurn.h"

#include <QString>

#include <functional>

namespace zv {

struct RotateOutcome {
    enum class Result { Turned, AlreadyUpright, NotJpeg, NotWholeBlocks, Declined, NoFile, Failed };
    Result result = Result::Turned;
    QString message; // German, for everything but Turned
};

// Turns a JPEG file losslessly (metadata/JpegTurn.h) and puts the turned file in its place in
// one rename, its trailer carried over byte for byte and its permission bits kept. A link is
// followed only to a file inside folder. A read-only file is turned only when confirm() agrees,
// and stays read-only. A file another program changed while it was turned is left as that
// program wrote it. On any failure the file stays as it was.
RotateOutcome turnPictureFile(const QString &path, const QString &folder, Turn turn,
                              const std::function<bool()> &confirmReadOnly);

// Turns one album file; the album entry of that name follows (its file time/size change, texts stay).
RotateOutcome rotatePicture(AlbumContext &context, const QString &name, Turn turn,
                            const std::function<bool()> &confirmReadOnly);

// The album entry of a file turned elsewhere (on a worker) takes its new time and size.
void takeTurnedFile(Album &album, const QString &folder, const QString &name);

// Whether the turn would rewrite the file: a JPEG it can turn that is not upright already. Read
// before the user is asked about a read-only file, so nobody is asked about a file left alone.
bool turnWouldChange(const QString &path, Turn turn);

// The command's name in the menu, for the titles of its boxes.
QString turnCaption(Turn turn);

} // namespace zv
