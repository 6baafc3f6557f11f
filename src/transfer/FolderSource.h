#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace zv {

struct SubFolder {
    QString path; // full path, undecodable bytes escaped, so it leads back to the folder
    QString name; // as the file system gives it
};

// The subfolders of one folder, in the file system's order, or why it cannot be read.
struct SubFolders {
    std::optional<QList<SubFolder>> folders; // nullopt when it cannot be read
    int error = 0; // errno then
};

// Called off the user-interface thread by the tree view, so implementations keep no state.
class FolderSource {
public:
    virtual ~FolderSource() = default;
    virtual SubFolders subfolders(const QString &path) const = 0;
};

std::unique_ptr<FolderSource> makeSystemFolderSource();

} // namespace zv
