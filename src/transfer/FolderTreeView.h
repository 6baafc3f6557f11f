#pragma once

#include "BackgroundRead.h"
#include "FolderTree.h"

#include <QHash>
#include <QTimer>
#include <QTreeWidget>

#include <memory>

namespace zv {

// The tree view tv over FolderTree. Folders are read on threads of their own; a read that has
// not answered after readTimeout shows its node as unreadable, so a hanging network mount never
// freezes the window.
class FolderTreeView : public QTreeWidget {
    Q_OBJECT
public:
    enum { NodeRole = Qt::UserRole + 1, ImageRole };

    FolderTreeView(std::shared_ptr<const FolderSource> source, bool waitCursorOnExpand, QWidget *parent = nullptr);
    ~FolderTreeView() override;

    void fill(const QList<DriveInfo> &drives, FolderTree::Offer offer);
    void fillPlaces(const QList<Place> &places, FolderTree::Offer offer);
    // Both lists asked for off the user-interface thread: a hanging mount may hold up statfs or
    // gvfs, never the window. The drives must outlive the view; the program's do.
    void fillInBackground(const Drives &drives, FolderTree::Offer offer);
    const FolderTree &tree() const { return m_tree; }
    // The folder of the selected node; empty when none is selected.
    QString selectedFolder() const;
    QTreeWidgetItem *itemOf(int node) const { return m_items.value(node); }
    void setReadTimeout(int ms) { m_timeoutMs = ms; }
    // Opens the tree at this folder once the lists are in, level by level as the reads arrive,
    // or at its nearest parent when it is gone; a click or a key of the user's ends the way.
    void openAt(const QString &folder);
    // Reads and lists asked for and not answered yet.
    int pendingReads() const { return int(m_pending.size()) + m_listsPending; }

Q_SIGNALS:
    void folderClicked(const QString &folder);
    void readsSettled(); // no read is outstanding any more

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void steer();
    void request(std::vector<FolderRead> reads);
    void deliver(int batch, const std::vector<SubFolders> &results);
    void timeOut(int batch);
    void settle(int batch);
    void showNode(int node);
    void showTopNodes(const std::vector<FolderRead> &reads, bool places);
    void listArrived();

    std::shared_ptr<const FolderSource> m_source;
    std::shared_ptr<ResultChannel> m_channel;
    bool m_waitCursor;
    int m_timeoutMs = 2000;
    FolderTree m_tree;
    QTimer *m_restingOn = nullptr; // lists the folder the keys stopped on
    QHash<int, QTreeWidgetItem *> m_items;
    QHash<int, std::vector<FolderRead>> m_pending; // by batch
    int m_nextBatch = 0;
    int m_listsPending = 0;
    int m_placeItems = 0; // the first top-level items
    bool m_steering = false; // on the way to the last folder
};

} // namespace zv
