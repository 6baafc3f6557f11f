#include "DeleteEntries.h"

#include "app/Album.h"
#include "app/AlbumListModel.h"
#include "platform/ErrorTexts.h"
#include "platform/FileAttributes.h"
#include "platform/FileNames.h"

#include <unistd.h>

#include <cerrno>

namespace zv {

DeleteOutcome deleteEntries(AlbumContext &context, std::span<const int> rowsAscending)
{
    DeleteOutcome outcome;
    std::vector<int> goneRows;
    QSet<QString> goneNames; // rows copy the album's names exactly
    goneRows.reserve(rowsAscending.size());
    goneNames.reserve(static_cast<qsizetype>(rowsAscending.size()));
    for (const int row : rowsAscending) {
        const QString name = context.list.row(row).name;
        const QString path = context.paths.mediaFile(name);
        // Removing a name needs no write permission on the file itself here, but the user asked
        // for read-only files to go as well, and on shares that do honour the bit it matters.
        const auto mode = fileMode(path);
        if (mode && isReadOnlyMode(*mode))
            setReadOnly(path, false);
        if (::unlink(nativePath(path).constData()) != 0) {
            const int error = errno;
            if (mode && error != ENOENT)
                setFileMode(path, *mode);
            outcome.failures << QStringLiteral("„%1“: %2").arg(displayFileName(name), errorText(error));
            continue;
        }
        goneRows.push_back(row);
        goneNames.insert(name);
    }
    context.list.removeRowList(goneRows);
    context.album.removeNamed(goneNames);
    outcome.deleted = static_cast<int>(goneRows.size());
    return outcome;
}

} // namespace zv
