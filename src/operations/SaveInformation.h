#pragma once

#include "AlbumContext.h"

#include "store/PictureInfo.h"

#include <functional>
#include <optional>
#include <vector>

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

// The five fields in the order the window shows them.
enum class InfoField { Datum, Ort, Namen, Anlass, Bemerkungen };
QString fieldCaption(InfoField field);

// A field that the user and another program both changed, to different texts.
struct FieldConflict {
    InfoField field = InfoField::Datum;
    QString mine; // as it would be stored (a date in its stored form)
    QString theirs; // as the file holds it now
};

struct MergedInformation {
    PictureInfo info; // what to store; a conflicting field holds the user's text until decided
    std::vector<FieldConflict> conflicts;
};

// Three texts per field: what the boxes were given (shown), what they hold now (typed) and
// what the file holds now (onDisk). A field the user left alone takes the file's text, a field
// only the user changed keeps the user's; where both changed it to different texts, the field
// is a conflict. Trailing blanks never count, and dates are compared in their stored form.
MergedInformation mergeInformation(const PictureInfo &shown, const PictureInfo &typed, const PictureInfo &onDisk);

// The question for one conflict, with both texts: Ja keeps the user's, Nein the file's,
// Abbrechen saves nothing.
QString conflictQuestion(const QString &name, const FieldConflict &conflict);

// Asked for each conflict: true keeps the user's text, false takes the file's, nothing saves
// nothing.
using ConflictChoice = std::function<std::optional<bool>(const FieldConflict &)>;

// Speichern from the window: the file is read first, so that what another program wrote since
// the boxes were filled is kept where the user did not change it (mergeInformation), then saved
// as saveInformation does. A file that is gone is NoFile, with a message that says so.
SaveOutcome saveOverOtherChanges(AlbumContext &context, const QString &name, const PictureInfo &shown,
                                 const PictureInfo &typed, const std::function<bool()> &confirmReadOnly,
                                 const ConflictChoice &keepMine);

} // namespace zv
