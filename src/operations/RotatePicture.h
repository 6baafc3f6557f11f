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

} // namespace zv
