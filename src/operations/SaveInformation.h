#pragma once

#include "AlbumContext.h"

#include "store/PictureInfo.h"

#include <functional>

namespace zv {

struct SaveOutcome {
    enum class Result { Saved, Declined, NoFile, Failed };
    Result result = Result::Saved;
    PictureInfo stored; // the texts as now on disk, trailing blanks removed
    QString message; // German, for Failed and NoFile
};

// Writes the typed texts into the trailer of the named media file (the shown file, never the
// selection), the date in its ten-character form. A read-only file is written only when
// confirm() agrees and is read-only again afterwards. A video is released for the write and
// reopened, playing on from the same second if it played. The album entry of exactly that name
// takes the stored texts, and the list follows it.
SaveOutcome saveInformation(AlbumContext &context, const QString &name, const PictureInfo &typed,
                            const std::function<bool()> &confirmReadOnly);

} // namespace zv
