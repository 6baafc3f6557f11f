#include "AlbumThumbnails.h"

#include "KindIcons.h"

#include <QEvent>

#include <set>

namespace zv {

AlbumThumbnails::AlbumThumbnails(QListView &view, AlbumListModel &list, AlbumPaths paths, QString cacheRoot)
    : QObject(&view)
    , m_view(view)
    , m_list(list)
    , m_paths(std::move(paths))
    , m_maker(std::move(cacheRoot), kIconSize)
{
    // What is on screen is known once the view has laid out its rows, which it does at the
    // latest to paint them: every scroll, resize and change of rows ends in a paint, and the
    // screen is looked at after it, once per round of events.
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(0);
    connect(&m_refresh, &QTimer::timeout, this, &AlbumThumbnails::refresh);
    connect(&m_list, &QAbstractItemModel::dataChanged, this, &AlbumThumbnails::rowsChanged);
    // A file deleted and made anew under its name comes back as a new row.
    connect(&m_list, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex &, int first, int last) {
        rowsChanged(m_list.index(first, 0), m_list.index(last, 0), {});
    });
    connect(&m_maker, &thumbnails::Thumbnailer::ready, this, &AlbumThumbnails::showReady);
    m_view.viewport()->installEventFilter(this);
}

QVariant AlbumThumbnails::decoration(const ListRow &row) const
{
    if (m_showing && row.kind != MediaKind::Unbekannt)
        if (const QIcon *icon = m_maker.icon(row.name))
            return *icon;
    return KindIcons::icon(row.kind);
}

void AlbumThumbnails::setShowing(bool on)
{
    if (on == m_showing)
        return;
    m_showing = on;
    if (on)
        m_view.viewport()->update();
    else
        m_maker.setShown({});
}

std::vector<int> AlbumThumbnails::rowsOnScreen() const
{
    std::vector<int> rows;
    if (!m_view.isVisible())
        return rows;
    const QRect area = m_view.viewport()->rect();
    QSize step = m_view.gridSize();
    if (!step.isValid() || step.isEmpty())
        step = QSize(16, 16);
    // Probing every half cell meets every cell that shows at least half a cell's width and height.
    const int dx = std::max(1, step.width() / 2);
    const int dy = std::max(1, step.height() / 2);
    std::set<int> seen;
    for (int y = area.top() + 1; y < area.bottom() + dy; y += dy)
        for (int x = area.left() + 1; x < area.right() + dx; x += dx) {
            const QModelIndex index = m_view.indexAt(QPoint(std::min(x, area.right()), std::min(y, area.bottom())));
            if (index.isValid() && seen.insert(index.row()).second)
                rows.push_back(index.row());
        }
    return rows;
}

void AlbumThumbnails::refreshSoon()
{
    if (m_showing)
        m_refresh.start();
}

void AlbumThumbnails::refresh()
{
    if (!m_showing)
        return;
    std::vector<thumbnails::Thumbnailer::Shown> shown;
    for (const int r : rowsOnScreen()) {
        const ListRow &row = m_list.row(r);
        if (row.kind != MediaKind::Unbekannt)
            shown.push_back({row.name, m_paths.mediaFile(row.name),
                             row.kind == MediaKind::Video ? thumbnails::Source::Video : thumbnails::Source::Picture});
    }
    m_maker.setShown(shown);
}

void AlbumThumbnails::rowsChanged(const QModelIndex &first, const QModelIndex &last, const QList<int> &roles)
{
    if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole))
        return;
    // A saved trailer changes the file's time, and its thumbnail is made again.
    // Sorting by size rewrites every row; only the few with a thumbnail cost a look at the disk.
    for (int r = first.row(); r <= last.row(); ++r)
        if (const QString &name = m_list.row(r).name; m_maker.holds(name))
            m_maker.recheck(name, m_paths.mediaFile(name));
}

void AlbumThumbnails::showReady(const QString &name)
{
    // Only rows on screen are made, so the row is found among them.
    for (const int r : rowsOnScreen())
        if (m_list.row(r).name == name)
            m_view.update(m_list.index(r, AlbumListModel::Dateiname));
}

bool AlbumThumbnails::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        refreshSoon();
    return QObject::eventFilter(watched, event);
}

} // namespace zv
