#include "FolderSource.h"

#include "platform/FileNames.h"

#include <dirent.h>
#include <sys/stat.h>

namespace zv {
namespace {

class SystemFolderSource final : public FolderSource {
public:
    std::optional<QList<SubFolder>> subfolders(const QString &path) const override
    {
        DIR *dir = ::opendir(nativePath(path).constData());
        if (!dir)
            return std::nullopt;
        const QString prefix = path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
        QList<SubFolder> folders;
        const int dirFd = ::dirfd(dir);
        while (const dirent *e = ::readdir(dir)) {
            if (e->d_name[0] == '.' && (e->d_name[1] == 0 || (e->d_name[1] == '.' && e->d_name[2] == 0)))
                continue;
            if (e->d_type != DT_DIR) {
                struct stat st {};
                if ((e->d_type != DT_LNK && e->d_type != DT_UNKNOWN) || ::fstatat(dirFd, e->d_name, &st, 0) != 0
                    || !S_ISDIR(st.st_mode))
                    continue;
            }
            const QString name = decodeFileName(e->d_name);
            folders.append({prefix + name, name});
        }
        ::closedir(dir);
        return folders;
    }
};

} // namespace

std::unique_ptr<FolderSource> makeSystemFolderSource()
{
    return std::make_unique<SystemFolderSource>();
}

} // namespace zv
