#include "SaveInformation.h"

#include "MediaPort.h"

#include "model/Album.h"
#include "model/DateForm.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"
#include "platform/Rounding.h"
#include "store/PictureTrailer.h"

namespace zv {
namespace {

QString failure(const QString &path, const QString &reason)
{
    return QStringLiteral("Die Bildinformationen von \u201e%1\u201c konnten nicht gespeichert werden:\n%2")
        .arg(displayFileName(path.section(QLatin1Char('/'), -1)), reason);
}

// The device holds an open video; it lets go for the write and shows it again afterwards.
TrailerError writeAroundPlayer(MediaPort *media, const QString &path, PictureInfo &info, const QString &folder)
{
    if (!media)
        return WritePictureInfo(path, info, folder);
    const bool playing = media->isPlaying();
    const int position = playing ? media->positionInMS() : 0;
    if (playing)
        media->stopMovie();
    media->closeMovie();
    const TrailerError error = WritePictureInfo(path, info, folder);
    media->openVideo(path);
    if (playing) {
        media->playMovie();
        media->setPositionTo(static_cast<int>(roundHalfEven(position / 1000.0)));
    }
    return error;
}

} // namespace

SaveOutcome saveInformation(AlbumContext &context, const QString &name, const PictureInfo &typed,
                            const std::function<bool()> &confirmReadOnly)
{
    // With no file shown (the shown one was deleted) the boxes belong to nobody.
    if (name.isEmpty())
        return {SaveOutcome::Result::NoFile,
                {},
                QStringLiteral("Es wird keine Datei angezeigt. Bitte zuerst eine Datei in der Liste anklicken, "
                               "dann speichern.")};

    const QString path = context.paths.mediaFile(name);
    const QString folder = context.paths.mediaFolder();
    if (const TrailerError refusal = refuseLinkOutOf(path, folder))
        return {SaveOutcome::Result::Failed, {}, refusal.message};
    const auto mode = fileMode(path);
    const bool readOnly = mode && isReadOnlyMode(*mode);
    if (readOnly) {
        if (!confirmReadOnly())
            return {SaveOutcome::Result::Declined, {}, {}};
        if (const int error = setFileMode(path, ownerWritableMode(*mode)))
            return {SaveOutcome::Result::Failed, {}, failure(path, errorText(error))};
    }

    PictureInfo info = typed;
    info.datum = dateForm(typed.datum);
    const auto entryIndex = context.album.indexOf(name);
    const bool video = entryIndex && context.album.at(*entryIndex).kind == MediaKind::Video;
    const TrailerError error =
        video ? writeAroundPlayer(context.media, path, info, folder) : WritePictureInfo(path, info, folder);
    if (readOnly)
        setFileMode(path, *mode);
    if (error)
        return {SaveOutcome::Result::Failed, {}, error.message}; // it names the file and the reason

    const PictureInfo stored = trimmed(info);
    if (entryIndex)
        context.album.replaceInfo(*entryIndex, stored);
    return {SaveOutcome::Result::Saved, stored, {}};
}

QString fieldCaption(InfoField field)
{
    switch (field) {
    case InfoField::Datum:
        return QStringLiteral("Datum");
    case InfoField::Ort:
        return QStringLiteral("Ort");
    case InfoField::Namen:
        return QStringLiteral("Namen");
    case InfoField::Anlass:
        return QStringLiteral("Anlass");
    case InfoField::Bemerkungen:
        return QStringLiteral("Bemerkungen");
    }
    return {};
}

MergedInformation mergeInformation(const PictureInfo &shown, const PictureInfo &typed, const PictureInfo &onDisk)
{
    MergedInformation merged;
    merged.info = typed;
    const auto field = [&](InfoField which, QString PictureInfo::*text) {
        // What each would store: a date only in its stored form, any text without trailing blanks.
        const auto stored = [which](const QString &t) {
            return which == InfoField::Datum ? dateForm(t) : withoutTrailingSpaces(t);
        };
        const QString was = stored(shown.*text);
        const QString mine = stored(typed.*text);
        const QString theirs = stored(onDisk.*text);
        if (theirs == was || theirs == mine)
            return; // only the user changed it, or both alike: the typed text stands
        if (mine == was) {
            merged.info.*text = onDisk.*text;
            return;
        }
        merged.conflicts.push_back({which, mine, withoutTrailingSpaces(onDisk.*text)});
    };
    field(InfoField::Datum, &PictureInfo::datum);
    field(InfoField::Ort, &PictureInfo::ort);
    field(InfoField::Namen, &PictureInfo::namen);
    field(InfoField::Anlass, &PictureInfo::anlass);
    field(InfoField::Bemerkungen, &PictureInfo::bemerkungen);
    return merged;
}

QString conflictQuestion(const QString &name, const FieldConflict &conflict)
{
    return QStringLiteral("Ein anderes Programm hat \u201e%1\u201c von \u201e%2\u201c ge\u00e4ndert, w\u00e4hrend Sie "
                          "es bearbeitet haben.\n\nIhre Eingabe: \u201e%3\u201c\nJetzt in der Datei: \u201e%4\u201c\n\n"
                          "Soll Ihre Eingabe gespeichert werden?\n(Nein: der Text des anderen Programms bleibt; "
                          "Abbrechen: es wird nichts gespeichert.)")
        .arg(fieldCaption(conflict.field), displayFileName(name), conflict.mine, conflict.theirs);
}

SaveOutcome saveOverOtherChanges(AlbumContext &context, const QString &name, const PictureInfo &shown,
                                 const PictureInfo &typed, const std::function<bool()> &confirmReadOnly,
                                 const ConflictChoice &keepMine)
{
    if (name.isEmpty())
        return saveInformation(context, name, typed, confirmReadOnly);
    const QString path = context.paths.mediaFile(name);
    if (!pathStatus(path).exists())
        return {
            SaveOutcome::Result::NoFile,
            {},
            QStringLiteral("Die Datei \u201e%1\u201c gibt es nicht mehr: ein anderes Programm hat sie gel\u00f6scht "
                           "oder umbenannt.\nIhre Eingaben stehen weiter in den Feldern.")
                .arg(displayFileName(name))};
    PictureInfo info = typed;
    // A file that cannot be read is left to the write, which says why it fails.
    if (const PictureReadResult onDisk = ReadPictureInfo(path); !onDisk.error) {
        MergedInformation merged = mergeInformation(shown, typed, trimmed(onDisk.info));
        for (const FieldConflict &conflict : merged.conflicts) {
            const std::optional<bool> mine = keepMine(conflict);
            if (!mine)
                return {SaveOutcome::Result::Declined, {}, {}};
            if (*mine)
                continue;
            switch (conflict.field) {
            case InfoField::Datum:
                merged.info.datum = conflict.theirs;
                break;
            case InfoField::Ort:
                merged.info.ort = conflict.theirs;
                break;
            case InfoField::Namen:
                merged.info.namen = conflict.theirs;
                break;
            case InfoField::Anlass:
                merged.info.anlass = conflict.theirs;
                break;
            case InfoField::Bemerkungen:
                merged.info.bemerkungen = conflict.theirs;
                break;
            }
        }
        info = merged.info;
    }
    return saveInformation(context, name, info, confirmReadOnly);
}

} // namespace zv
