#pragma once

#include "FolderSource.h"

#include "platform/Drives.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <vector>

namespace zv {

// The drive and folder tree of the import browser and the export dialog, without widgets.
// Folders are read one level ahead of what is shown: the tree says which folders it wants
// read (FolderRead), the caller reads them where it likes (off the user-interface thread in
// the windows) and hands the result back.
struct FolderNode {
    QString key; // folder path; drives "drive:" + mount point, places "place:" + folder, and a
                 // place's folders its key + "|" + path, so a mount point or place shown as a
                 // folder of its parent drive is a node of its own
    QString text; // what the user sees
    QString image; // image key: drive type name, place image, "zu" or "auf"
    QString path; // the node's folder
    int parent = -1;
    std::vector<int> children;
    bool isDrive = false; // or a place: a top-level node whose image stays
    bool listed = false; // its subfolders have arrived
    bool unreadable = false; // reading them failed or took too long
    int error = 0; // errno of the failed read; 0 when it took too long
    bool isPlace = false;
    bool expanded = false; // shown open: folders a new read finds are read one level ahead too
};

struct FolderRead {
    int node;
    QString path;
};

class FolderTree {
public:
    enum class Offer { AllDrives, NoCdOrUnknown };

    // Drive type name, also the image key ("unbekannt", "wechselbar", "intern", ...).
    static QString driveTypeName(DriveType type);

    // Image key of a place ("heim", "bilder", "medium", "telefon", "kamera", "freigabe", "CD").
    static QString placeImage(const Place &place);

    // Adds one node per offered drive and asks for each drive's root folder.
    std::vector<FolderRead> fill(const QList<DriveInfo> &drives, Offer offer);
    // The same for places, which come before the drives; the export dialog leaves out cameras,
    // which take no files, besides CDs and volumes of unknown type.
    std::vector<FolderRead> fillPlaces(const QList<Place> &places, Offer offer);
    // Shows the node open and asks for its own subfolders again, so folders made since its last
    // read appear, and for those of each of its children not read yet.
    std::vector<FolderRead> expand(int node);
    void collapse(int node);
    // The subfolders of a node that was asked for; returns the nodes added. Folders already in
    // the tree are not added twice; the children stay in German order, blind to letter case,
    // and names beginning with a dot are hidden unless the last folder lies in them.
    std::vector<int> deliver(int node, const SubFolders &read);
    // The folder the dialog was last left at, to open there again.
    void setLastFolder(const QString &folder);
    // The way to the last folder as far as it is read: the deepest node on its path (-1 when
    // none is), and whether the way ends there: it is the folder itself, it cannot be read, or
    // its subfolders are known and none leads on (the folder is gone; this is its nearest
    // parent). Places come before drives, the most specific first.
    struct Way {
        int node = -1;
        bool ends = false;
    };
    Way wayToLastFolder() const;
    // A read that did not answer in time; a late answer still arrives through deliver.
    void markUnreadable(int node);

    const FolderNode &node(int i) const { return m_nodes[std::size_t(i)]; }
    int size() const { return int(m_nodes.size()); }
    std::vector<int> topLevel() const; // places first, then drives
    int find(const QString &key) const { return m_byKey.value(key, -1); }
    QString folderOf(int node) const { return m_nodes[std::size_t(node)].path; }

    // Reads the asked folders at once through `source` (tests, the companion).
    void readNow(const std::vector<FolderRead> &reads, const FolderSource &source);

private:
    int add(FolderNode node);
    bool leadsToLastFolder(const QString &path) const;

    QString m_lastFolder;
    std::vector<FolderNode> m_nodes;
    QHash<QString, int> m_byKey;
};

} // namespace zv
