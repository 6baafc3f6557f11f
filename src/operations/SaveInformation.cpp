#include "SaveInformation.h"

#include "MediaPort.h"

#include "model/Album.h"
#include "model/DateForm.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
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

} // namespace zv
