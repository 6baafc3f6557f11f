#include "RotatePicture.h"

#include "metadata/MediaBytes.h"
#include "model/Album.h"
#include "model/AlbumLoader.h"
#include "platform/CanonicalPath.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"
#include "platform/FileReplace.h"
#include "platform/PathStatus.h"
#include "store/PictureTrailer.h"

#include <cerrno>

namespace zv {
namespace {

using Result = RotateOutcome::Result;

QString failure(const QString &shown, const QString &reason)
{
    return QStringLiteral("Das Bild \u201e%1\u201c konnte nicht gedreht werden:\n%2").arg(shown, reason);
}

QString gone(const QString &shown)
{
    return QStringLiteral("Die Datei \u201e%1\u201c gibt es nicht mehr: ein anderes Programm hat sie gel\u00f6scht "
                          "oder umbenannt.")
        .arg(shown);
}

QString notWholeBlocks(const QString &shown, const JpegTurnPlan &plan)
{
    return QStringLiteral("Das Bild \u201e%1\u201c l\u00e4sst sich nicht verlustfrei drehen: es ist %2 \u00d7 %3 "
                          "Bildpunkte gro\u00df, und das ist kein Vielfaches der Bl\u00f6cke von %4 \u00d7 %5 "
                          "Bildpunkten, aus denen das JPEG-Bild besteht. Beim Drehen m\u00fcsste der Rand "
                          "abgeschnitten werden; die Datei bleibt unver\u00e4ndert.")
        .arg(shown)
        .arg(plan.width)
        .arg(plan.height)
        .arg(plan.blockWidth)
        .arg(plan.blockHeight);
}

} // namespace

RotateOutcome turnPictureFile(const QString &path, const QString &folder, Turn turn,
                              const std::function<bool()> &confirmReadOnly)
{
    const QString shown = displayFileName(path.section(QLatin1Char('/'), -1));
    if (!nameStatus(path).exists())
        return {Result::NoFile, gone(shown)};
    if (const TrailerError refusal = refuseLinkOutOf(path, folder))
        return {Result::Failed, refusal.message};
    // A link inside the folder: the file it names is turned, the link stays a link.
    const QString file = canonicalPath(path);
    const std::optional<FileIdentity> before = fileIdentity(file);
    if (!before) {
        if (errno == ENOENT)
            return {Result::NoFile, gone(shown)};
        return {Result::Failed, failure(shown, errno == EISDIR || errno == EINVAL
                                                   ? QStringLiteral("Das ist keine gew\u00f6hnliche Datei.")
                                                   : errorText(errno))};
    }
    const MediaBytes bytes(file);
    if (bytes.isEmpty() && before->size > 0)
        return {Result::Failed, failure(shown, QStringLiteral("Die Datei kann nicht gelesen werden."))};

    const JpegTurnPlan plan = planJpegTurn(bytes.media(), turn);
    switch (plan.status) {
    case JpegTurnPlan::Status::Ready:
        break;
    case JpegTurnPlan::Status::NotJpeg:
        return {Result::NotJpeg,
                QStringLiteral("\u201e%1\u201c ist kein JPEG-Bild. Nur JPEG-Bilder lassen sich hier drehen, ohne dass "
                               "Bildqualit\u00e4t oder Kameraangaben verloren gehen.")
                    .arg(shown)};
    case JpegTurnPlan::Status::AlreadyUpright:
        return {Result::AlreadyUpright,
                QStringLiteral("Das Bild \u201e%1\u201c steht schon aufrecht; es gibt nichts zu drehen.").arg(shown)};
    case JpegTurnPlan::Status::NotWholeBlocks:
        return {Result::NotWholeBlocks, notWholeBlocks(shown, plan)};
    case JpegTurnPlan::Status::Unreadable:
        return {Result::Failed, failure(shown, plan.reason)};
    }

    // The old file is replaced, not written, so read-only needs no lifting: only the user's word.
    if (isReadOnlyMode(before->mode) && !confirmReadOnly())
        return {
            Result::Declined,
            QStringLiteral("Das Bild \u201e%1\u201c ist schreibgesch\u00fctzt und wurde nicht gedreht.").arg(shown)};

    const TurnedJpeg turned = turnJpeg(bytes.media(), plan);
    if (turned.bytes.isEmpty())
        return {Result::Failed, failure(shown, turned.reason)};
    const ReplaceOutcome placed = replaceFileWith(file, *before, {turned.bytes, bytes.trailer()});
    if (placed.changed)
        return {
            Result::Failed,
            failure(shown, QStringLiteral("Ein anderes Programm hat die Datei inzwischen ge\u00e4ndert. Sie bleibt, "
                                          "wie es sie geschrieben hat; bitte noch einmal drehen."))};
    if (placed.error)
        return {Result::Failed, failure(shown, errorText(placed.error))};
    return {Result::Turned, {}};
}

RotateOutcome rotatePicture(AlbumContext &context, const QString &name, Turn turn,
                            const std::function<bool()> &confirmReadOnly)
{
    if (name.isEmpty())
        return {Result::NoFile,
                QStringLiteral("Es wird keine Datei angezeigt. Bitte zuerst ein Bild in der Liste anklicken, dann "
                               "drehen.")};
    const QString folder = context.paths.mediaFolder();
    RotateOutcome outcome = turnPictureFile(context.paths.mediaFile(name), folder, turn, confirmReadOnly);
    if (outcome.result == Result::Turned)
        takeTurnedFile(context.album, folder, name);
    return outcome;
}

void takeTurnedFile(Album &album, const QString &folder, const QString &name)
{
    const auto index = album.indexOf(name);
    if (const auto fresh = index ? loadEntry(folder, name) : std::nullopt)
        album.replaceFile(*index, *fresh);
}

bool turnWouldChange(const QString &path, Turn turn)
{
    const MediaBytes bytes(canonicalPath(path));
    return planJpegTurn(bytes.media(), turn).status == JpegTurnPlan::Status::Ready;
}

QString turnCaption(Turn turn)
{
    switch (turn) {
    case Turn::Upright:
        return QStringLiteral("aufrecht stellen");
    case Turn::Left:
        return QStringLiteral("links drehen");
    case Turn::Right:
        break;
    }
    return QStringLiteral("rechts drehen");
}

} // namespace zv
