#pragma once

#include <QString>

#include <vector>

namespace zv {

struct SkinFolderEntry {
    QString name; // the folder's name, which is the skin's name
    QString path; // full path, ending with a slash
};

// The skins in skinsFolder: its subfolders (links to folders too), sorted by name without regard
// to case, the way a file manager shows them. Files, hidden folders (a leading dot) and broken
// links are no skins. A missing or unreadable folder holds none.
std::vector<SkinFolderEntry> ListSkinFolders(const QString &skinsFolder);

} // namespace zv
