#include "ImportSources.h"

#include "model/MediaKind.h"
#include "platform/CanonicalPath.h"
#include "platform/FileCopy.h"
#include "platform/FileNames.h"
#include "platform/FolderReader.h"
#include "platform/PathStatus.h"

#include <QSet>

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

namespace {

QString folderOf(const QString &path)
{
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

QString nameOf(const QString &path)
{
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

class Planner {
public:
    explicit Planner(const AlbumPaths &paths)
        : m_mediaFolder(canonicalPath(paths.mediaFolder()))
    { }

    void file(const QString &path)
    {
        // Where the name lies, not where a link leads: a link in Bilder is an album file.
        const QString folder = canonicalPath(folderOf(path));
        if (folder == m_mediaFolder) {
            ++plan.inAlbum;
            return;
        }
        if (browserKind(nameOf(path)).isEmpty() || isCopyTempName(nameOf(path))
            || m_taken.contains(folder + QLatin1Char('/') + nameOf(path))) {
            ++plan.leftOut;
            return;
        }
        m_taken.insert(folder + QLatin1Char('/') + nameOf(path));
        plan.sources << path;
    }

    void folder(const QString &path)
    {
        const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        FolderReader reader(prefix);
        if (!reader.isOpen()) {
            ++plan.leftOut;
            return;
        }
        while (const FolderEntry *entry = reader.next())
            if (entry->mayBeFile() && entry->isFile())
                file(prefix + entry->decodedName());
        if (reader.error())
            ++plan.leftOut;
    }

    DropPlan plan;

private:
    QString m_mediaFolder;
    QSet<QString> m_taken;
};

} // namespace

DropPlan planDroppedImport(const QList<QUrl> &urls, const AlbumPaths &paths)
{
    Planner planner(paths);
    for (const QUrl &url : urls) {
        const std::optional<QString> path = localFilePath(url);
        const PathStatus status = path ? pathStatus(*path) : PathStatus{};
        if (status.isFile())
            planner.file(*path);
        else if (status.isFolder())
            planner.folder(*path);
        else
            ++planner.plan.leftOut;
    }
    return planner.plan;
}

} // namespace zv
