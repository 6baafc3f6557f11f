#include "FolderFiles.h"

#include "model/AlbumEntry.h"
#include "model/MediaKind.h"
#include "platform/ErrorTexts.h"
#include "platform/FileCopy.h"
#include "platform/FolderReader.h"

#include <cerrno>

namespace zv {

QString browserKind(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    const QStringView ext = fileName.mid(dot + 1);
    // Pictures and videos are what the album shows as such; one table decides both.
    switch (mediaKindForExtension(ext)) {
    case MediaKind::Bild:
        return QStringLiteral("Bild");
    case MediaKind::Video:
        return QStringLiteral("Video");
    case MediaKind::Unbekannt:
        break;
    }
    const auto is = [ext](const char16_t *known) { return ext.compare(QStringView(known), Qt::CaseInsensitive) == 0; };
    if (is(u"wav") || is(u"mp3"))
        return QStringLiteral("Audio");
    if (is(u"pdf"))
        return QStringLiteral("text");
    return {};
}

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
