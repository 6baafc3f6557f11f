#include "SkinFolderList.h"

#include "platform/FolderReader.h"

#include <algorithm>

namespace zv {

std::vector<SkinFolderEntry> ListSkinFolders(const QString &skinsFolder)
{
    std::vector<SkinFolderEntry> skins;
    FolderReader reader(skinsFolder);
    const QString prefix = skinsFolder.endsWith(QLatin1Char('/')) ? skinsFolder : skinsFolder + QLatin1Char('/');
    while (const FolderEntry *entry = reader.next()) {
        if (entry->isHidden() || !entry->isFolder())
            continue;
        const QString name = entry->decodedName();
        skins.push_back({name, prefix + name + QLatin1Char('/')});
    }
    // Case only breaks ties, so that the order does not depend on the file system's.
    std::sort(skins.begin(), skins.end(), [](const SkinFolderEntry &a, const SkinFolderEntry &b) {
        const int folded = a.name.compare(b.name, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.name < b.name;
    });
    return skins;
}

} // namespace zv
