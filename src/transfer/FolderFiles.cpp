#include "FolderFiles.h"

#include "model/AlbumEntry.h"
#include "platform/ErrorTexts.h"
#include "platform/FileCopy.h"
#include "platform/FolderReader.h"

#include <cerrno>

namespace zv {

FolderFiles listFolderFiles(const QString &folder)
{
    FolderFiles result;
    FolderReader reader(folder);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    while (const FolderEntry *entry = reader.next()) {
        if (!entry->mayBeFile())
            continue;
        QString name = entry->decodedName();
        QString kind = browserKind(name);
        if (kind.isEmpty() || isCopyTempName(name) || !entry->isFile())
            continue;
        result.files.push_back({name, prefix + name, std::move(kind), entry->size(), sizeInKB(entry->size())});
    }
    result.error = reader.error();
    return result;
}

ListingMessage listingMessage(int error)
{
    // The old system's "path not found" meant a drive without a medium.
    if (error == ENOENT || error == ENOMEDIUM || error == ENODEV)
        return {QStringLiteral("Kein Datenträger"), QStringLiteral("Legen die einen Datenträger in das Laufwerk")};
    return {QStringLiteral("Fehler: ") + QString::number(error), errorText(error)};
}

} // namespace zv
