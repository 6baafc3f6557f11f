#include "DeleteEntries.h"

#include "model/Album.h"
#include "model/ProgramState.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileMoves.h"
#include "platform/FileNames.h"

#include <cerrno>

namespace zv {

QString DeleteOutcome::failureText() const
{
    if (failures.isEmpty())
        return {};
    return QStringLiteral("Diese Dateien konnten nicht gelöscht werden:\n") + failures.join(QLatin1Char('\n'));
}

QString deleteQuestion(const QStringList &names)
{
    QString count;
    if (names.isEmpty())
        count = QStringLiteral("Es ist keine Datei ausgewählt.");
    else if (names.size() == 1)
        count = QStringLiteral("Ausgewählt: 1 Datei („%1“)").arg(displayFileName(names.front()));
    else
        count = QStringLiteral("Ausgewählt: %1 Dateien").arg(names.size());
    return QStringLiteral("Soll der Löschvorgang gestartet werden?\r\n\r\n") + count;
}

DeleteOutcome deleteEntries(AlbumContext &context, const QStringList &names)
{
    DeleteOutcome outcome;
    QSet<QString> gone;
    gone.reserve(names.size());
    for (const QString &name : names) {
        const QString path = context.paths.mediaFile(name);
        // Removing a name needs no write permission on the file itself here, but the user asked
        // for read-only files to go as well, and on shares that do honour the bit it matters.
        // A link goes by itself: what it points to, which may lie anywhere, keeps its mode.
        const auto mode = nameMode(path);
        const bool madeWritable = mode && isReadOnlyMode(*mode) && setNameMode(path, ownerWritableMode(*mode)) == 0;
        if (const int error = removeFile(path)) {
            if (madeWritable && error != ENOENT)
                setNameMode(path, *mode);
            outcome.failures << QStringLiteral("„%1“: %2").arg(displayFileName(name), errorText(error));
            continue;
        }
        gone.insert(name);
    }
    context.album.removeNamed(gone);
    outcome.deleted = static_cast<int>(gone.size());
    const QString shown = context.paths.mediaName(context.state.CurrentFile);
    if (!shown.isEmpty() && gone.contains(shown)) {
        context.state.CurrentFile.clear();
        outcome.shownFileDeleted = true;
    }
    return outcome;
}

} // namespace zv
