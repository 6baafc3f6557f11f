#include "FolderSource.h"

#include "platform/FolderReader.h"

namespace zv {
namespace {

class SystemFolderSource final : public FolderSource {
public:
    SubFolders subfolders(const QString &path) const override
    {
        FolderReader reader(path);
        if (!reader.isOpen())
            return {std::nullopt, reader.error()};
        const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        QList<SubFolder> folders;
        while (const FolderEntry *entry = reader.next()) {
            if (!entry->isFolder())
                continue;
            const QString name = entry->decodedName();
            folders.append({prefix + name, name});
        }
        return {folders};
    }
};

} // namespace

std::unique_ptr<FolderSource> makeSystemFolderSource()
{
    return std::make_unique<SystemFolderSource>();
}

} // namespace zv
