#include "RenameEntry.h"

#include "MediaPort.h"

#include "model/Album.h"
#include "model/ProgramState.h"
#include "platform/CanonicalPath.h"
#include "platform/ErrorTexts.h"
#include "platform/FileMoves.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"

namespace zv {
namespace {

Refusal invalid(const QString &why)
{
    return {QStringLiteral("Fehler"), QStringLiteral("ungültiger Name") + QStringLiteral("\n") + why, true};
}

bool isReservedDeviceName(const QString &name)
{
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed().toUpper();
    static const QStringList fixed = {QStringLiteral("CON"), QStringLiteral("PRN"), QStringLiteral("AUX"),
                                      QStringLiteral("NUL")};
    if (fixed.contains(stem))
        return true;
    return stem.size() == 4 && (stem.startsWith(QLatin1String("COM")) || stem.startsWith(QLatin1String("LPT")))
           && stem[3] >= QLatin1Char('1') && stem[3] <= QLatin1Char('9');
}

bool existsAnyCase(const AlbumContext &context, const QString &name)
{
    // A file, as the existence test asks: the empty name and ".." name folders, not files.
    const PathStatus status = nameStatus(context.paths.mediaFile(name));
    return context.album.containsAnyCase(name) || (status.exists() && !status.isFolder());
}

} // namespace

std::optional<Refusal> nameRefusal(const QString &name)
{
    if (name.isEmpty())
        return Refusal{QStringLiteral("Fehler"), QStringLiteral("ungültiger Name"), true};
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return invalid(QStringLiteral("„.“ und „..“ sind keine Dateinamen."));
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            return invalid(QStringLiteral("Der Name enthält ein Steuerzeichen."));
        if (QStringLiteral("/\\:*?\"<>|").contains(c))
            return invalid(QStringLiteral("Die Zeichen \\ / : * ? \" < > | sind in Dateinamen nicht erlaubt."));
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return invalid(QStringLiteral("Ein Dateiname darf nicht auf einen Punkt oder ein Leerzeichen enden."));
    if (isReservedDeviceName(name))
        return invalid(
            QStringLiteral("„%1“ ist unter Windows ein Gerätename.").arg(name.section(QLatin1Char('.'), 0, 0)));
    if (nativePath(name).size() > 255)
        return invalid(QStringLiteral("Der Name ist länger als 255 Bytes."));
    return std::nullopt;
}

std::optional<Refusal> renameEntry(AlbumContext &context, QString oldName, const QString &newName)
{
    if (existsAnyCase(context, newName))
        return Refusal{QStringLiteral("kann nicht umbenannt werden"),
                       QStringLiteral("Eine Datei mit diesem Namen ist\r\nbereits vorhanden."), false};
    if (auto refusal = nameRefusal(newName))
        return refusal;
    // An entry that leads out of the album is shown but never changed: what it names is not the
    // album's.
    if (leadsOutOf(context.paths.mediaFile(oldName), context.paths.mediaFolder()))
        return Refusal{QStringLiteral("kann nicht umbenannt werden"),
                       QStringLiteral("„%1“ ist eine Verknüpfung auf eine Datei außerhalb des Bilderordners und wird "
                                      "nicht umbenannt.")
                           .arg(displayFileName(oldName)),
                       true};

    if (context.media)
        context.media->closeMovie();
    if (const int error = renameNoReplace(context.paths.mediaFile(oldName), context.paths.mediaFile(newName)))
        return Refusal{QStringLiteral("kann nicht umbenannt werden"),
                       QStringLiteral("„%1“ konnte nicht in „%2“ umbenannt werden: %3.")
                           .arg(displayFileName(oldName), newName, errorText(error)),
                       true};
    if (const auto index = context.album.indexOf(oldName))
        context.album.rename(*index, newName);
    if (context.state.CurrentFile == context.paths.mediaFile(oldName))
        context.state.CurrentFile = context.paths.mediaFile(newName);
    return std::nullopt;
}

} // namespace zv
