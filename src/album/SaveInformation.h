#pragma once

#include "AlbumContext.h"

#include "store/PictureInfo.h"

#include <functional>

namespace zv {

struct SaveOutcome {
    enum class Result { Saved, Declined, NoRow, Failed };
    Result result = Result::Saved;
    PictureInfo stored;  // the texts as now on disk, trailing blanks removed
    QString message;     // German, for Failed and NoRow
};

// Writes the typed texts into the trailer of the selected row's file (the shown file), the date
// in its ten-character form. A read-only file is written only when confirm() agrees and is
// read-only again afterwards. A video is released for the write and reopened, playing on from
// the same second if it played. The row and the album entry take the stored texts.
SaveOutcome saveInformation(AlbumContext &context, int selectedRow, const PictureInfo &typed,
                            const std::function<bool()> &confirmReadOnly);

} // namespace zv
