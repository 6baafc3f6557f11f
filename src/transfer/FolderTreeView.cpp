#include "FolderTreeView.h"

#include "TransferIcons.h"

#include "platform/ErrorTexts.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

namespace zv {

FolderTreeView::FolderTreeView(std::shared_ptr<const FolderSource> source, bool waitCursorOnExpand, QWidget *parent)
    : QTreeWidget(parent)
    , m_source(std::move(source))
    , m_channel(std::make_shared<ResultChannel>(this))
    , m_waitCursor(waitCursorOnExpand)
{
    setObjectName(QStringLiteral("tv"));
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem *item) {
        const int node = item->data(0, NodeRole).toInt();
        request(m_tree.expand(node));
        showNode(node);
    });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem *item) {
        const int node = item->data(0, NodeRole).toInt();
        m_tree.collapse(node);
        showNode(node);
    });
    // A click lists the folder at once. Moving with the keys lists the folder they stop on, as
    // a tree in a file manager does; the folders passed on the way (a hanging share, one that
    // cannot be read and would complain) are not read.
    m_restingOn = new QTimer(this);
    m_restingOn->setSingleShot(true);
    m_restingOn->setInterval(300);
    connect(m_restingOn, &QTimer::timeout, this, [this] {
        if (QTreeWidgetItem *item = currentItem())
            Q_EMIT folderClicked(m_tree.folderOf(item->data(0, NodeRole).toInt()));
    });
    connect(this, &QTreeWidget::currentItemChanged, m_restingOn, qOverload<>(&QTimer::start));
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        m_restingOn->stop();
        Q_EMIT folderClicked(m_tree.folderOf(item->data(0, NodeRole).toInt()));
    });
}

FolderTreeView::~FolderTreeView()
{
    m_channel->close();
}

void FolderTreeView::fill(const QList<DriveInfo> &drives, FolderTree::Offer offer)
{
    showTopNodes(m_tree.fill(drives, offer), false);
}

void FolderTreeView::fillPlaces(const QList<Place> &places, FolderTree::Offer offer)
{
    showTopNodes(m_tree.fillPlaces(places, offer), true);
}

void FolderTreeView::fillInBackground(const Drives &drives, FolderTree::Offer offer)
{
    m_listsPending += 2;
    readInBackground<QList<Place>>(
        m_channel, [&drives] { return drives.places(); },
        [this, offer](QList<Place> places) {
            fillPlaces(places, offer);
            listArrived();
        });
    readInBackground<QList<DriveInfo>>(
        m_channel, [&drives] { return drives.list(); },
        [this, offer](QList<DriveInfo> list) {
            fill(list, offer);
            listArrived();
        });
}

void FolderTreeView::showTopNodes(const std::vector<FolderRead> &reads, bool places)
{
    // Nodes that arrive later must not take away what the user chose meanwhile.
    const bool noneChosen = !currentItem();
    // One read per node: a drive that hangs must not hold back the others.
    for (const FolderRead &read : reads) {
        auto *item = new QTreeWidgetItem;
        item->setData(0, NodeRole, read.node);
        m_items.insert(read.node, item);
        if (places)
            insertTopLevelItem(m_placeItems++, item);
        else
            addTopLevelItem(item);
        showNode(read.node);
        request({read});
    }
    if (noneChosen)
        setCurrentItem(nullptr);
}

void FolderTreeView::listArrived()
{
    --m_listsPending;
    steer();
    if (pendingReads() == 0)
        Q_EMIT readsSettled();
}

void FolderTreeView::openAt(const QString &folder)
{
    m_tree.setLastFolder(folder);
    m_steering = !folder.isEmpty();
    steer();
}

void FolderTreeView::steer()
{
    // Places and drives both: the most specific way in is known only when both lists are.
    if (!m_steering || m_listsPending > 0)
        return;
    const FolderTree::Way way = m_tree.wayToLastFolder();
    if (way.node < 0) {
        m_steering = false;
        return;
    }
    std::vector<QTreeWidgetItem *> path;
    for (QTreeWidgetItem *item = m_items.value(way.node); item; item = item->parent())
        path.push_back(item);
    // Expanding asks for the next level; its answer steers again.
    for (auto it = path.rbegin(); it + 1 != path.rend(); ++it)
        (*it)->setExpanded(true);
    if (!way.ends)
        return;
    m_steering = false;
    path.front()->setExpanded(true);
    setCurrentItem(path.front());
    scrollToItem(path.front());
}

void FolderTreeView::keyPressEvent(QKeyEvent *event)
{
    m_steering = false;
    QTreeWidget::keyPressEvent(event);
}

void FolderTreeView::mousePressEvent(QMouseEvent *event)
{
    m_steering = false;
    QTreeWidget::mousePressEvent(event);
}

QString FolderTreeView::selectedFolder() const
{
    const QList<QTreeWidgetItem *> selected = selectedItems();
    return selected.isEmpty() ? QString() : m_tree.folderOf(selected.first()->data(0, NodeRole).toInt());
}

void FolderTreeView::showNode(int node)
{
    QTreeWidgetItem *item = m_items.value(node);
    const FolderNode &n = m_tree.node(node);
    item->setText(0, n.text);
    if (item->data(0, ImageRole).toString() != n.image) {
        item->setIcon(0, transferIcon(n.image));
        item->setData(0, ImageRole, n.image);
    }
    // Only a node that could not be read looks different; the others keep the view's defaults.
    if (n.unreadable || !item->toolTip(0).isEmpty()) {
        const QString why = n.error ? QStringLiteral(": ") + errorText(n.error) : QString();
        item->setToolTip(0, n.unreadable ? QStringLiteral("nicht lesbar") + why : QString());
        item->setForeground(0, n.unreadable ? palette().brush(QPalette::Disabled, QPalette::Text)
                                            : palette().brush(QPalette::Active, QPalette::Text));
    }
}

void FolderTreeView::request(std::vector<FolderRead> reads)
{
    if (reads.empty())
        return;
    const int batch = m_nextBatch++;
    if (m_waitCursor && m_pending.isEmpty() && window())
        window()->setCursor(Qt::WaitCursor);
    m_pending.insert(batch, reads);
    using Results = std::vector<SubFolders>;
    readInBackground<Results>(
        m_channel,
        [source = m_source, reads = std::move(reads)] {
            Results results;
            results.reserve(reads.size());
            for (const FolderRead &r : reads)
                results.push_back(source->subfolders(r.path));
            return results;
        },
        [this, batch](Results results) { deliver(batch, results); });
    QTimer::singleShot(m_timeoutMs, this, [this, batch] { timeOut(batch); });
}

void FolderTreeView::deliver(int batch, const std::vector<SubFolders> &results)
{
    // A late answer after a time-out still fills its nodes.
    const auto it = m_pending.constFind(batch);
    if (it == m_pending.constEnd())
        return;
    const std::vector<FolderRead> reads = *it;
    std::vector<FolderRead> ahead; // folders new in an open folder, read one level ahead too
    setUpdatesEnabled(false);
    for (std::size_t i = 0; i < reads.size(); ++i) {
        const int node = reads[i].node;
        const int wasError = m_tree.node(node).unreadable ? m_tree.node(node).error : -1;
        const std::vector<int> added = m_tree.deliver(node, results[i]);
        for (const int child : added) {
            auto *item = new QTreeWidgetItem;
            item->setData(0, NodeRole, child);
            m_items.insert(child, item);
            showNode(child);
            if (m_tree.node(node).expanded)
                ahead.push_back({child, m_tree.folderOf(child)});
        }
        QTreeWidgetItem *parent = m_items.value(node);
        const std::vector<int> &order = m_tree.node(node).children;
        if (!added.empty() && parent->childCount() == 0) {
            QList<QTreeWidgetItem *> children;
            children.reserve(qsizetype(order.size()));
            for (const int child : order)
                children << m_items.value(child);
            parent->addChildren(children);
        } else if (!added.empty()) {
            for (std::size_t pos = 0; pos < order.size(); ++pos)
                if (QTreeWidgetItem *item = m_items.value(order[pos]); !item->parent())
                    parent->insertChild(int(pos), item);
        }
        if ((m_tree.node(node).unreadable ? m_tree.node(node).error : -1) != wasError)
            showNode(node);
    }
    setUpdatesEnabled(true);
    request(std::move(ahead));
    steer(); // before settling, so the reads it asks for keep readsSettled back
    settle(batch);
}

void FolderTreeView::timeOut(int batch)
{
    const auto it = m_pending.constFind(batch);
    if (it == m_pending.constEnd())
        return;
    for (const FolderRead &r : *it) {
        m_tree.markUnreadable(r.node);
        showNode(r.node);
    }
    steer();
    // The batch stays known for a late answer, but no longer holds the wait cursor.
    if (m_waitCursor && window())
        window()->unsetCursor();
}

void FolderTreeView::settle(int batch)
{
    m_pending.remove(batch);
    if (m_pending.isEmpty()) {
        if (m_waitCursor && window())
            window()->unsetCursor();
        if (m_listsPending == 0)
            Q_EMIT readsSettled();
    }
}

} // namespace zv
