#include "SkinFolderList.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace zv {
namespace {

struct DirCloser {
    void operator()(DIR *dir) const { ::closedir(dir); }
};

bool isFolder(int dirFd, const dirent *e)
{
    if (e->d_type == DT_DIR)
        return true;
    if (e->d_type != DT_LNK && e->d_type != DT_UNKNOWN)
        return false;
    struct stat st {};
    return ::fstatat(dirFd, e->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::vector<SkinFolderEntry> ListSkinFolders(const QString &skinsFolder)
{
    std::vector<SkinFolderEntry> skins;
    const std::unique_ptr<DIR, DirCloser> dir(::opendir(nativePath(skinsFolder).constData()));
    if (!dir)
        return skins;
    const QString prefix = skinsFolder.endsWith(QLatin1Char('/')) ? skinsFolder : skinsFolder + QLatin1Char('/');
    const int dirFd = ::dirfd(dir.get());
    while (const dirent *e = ::readdir(dir.get())) {
        if (e->d_name[0] == '.' || !isFolder(dirFd, e))
            continue;
        const QString name = decodeFileName(e->d_name);
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
