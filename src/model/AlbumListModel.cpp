#include "AlbumListModel.h"

#include "platform/FileNames.h"

#include <QMimeData>

#include <algorithm>
#include <numeric>
#include <set>

namespace zv {
namespace {

const QString &caption(int column)
{
    static const QString captions[] = {QStringLiteral("Dateiname"), QStringLiteral("Größe in KB"),
                                       QStringLiteral("Datum"),     QStringLiteral("Ort"),
                                       QStringLiteral("Namen"),     QStringLiteral("Anlass"),
                                       QStringLiteral("Typ"),       QStringLiteral("Schreibschutz")};
    return captions[column];
}

} // namespace

ListRow ListRow::fromEntry(int key, const AlbumEntry &e)
{
    return {key, e.name, e.sizeText(), e.info.datum, e.info.ort, e.info.namen, e.info.anlass, e.kind, e.isReadOnly()};
}

AlbumListModel::AlbumListModel(QObject *parent)
    : QAbstractTableModel(parent)
    , m_firstCaption(caption(Dateiname))
{ }

AlbumListModel::~AlbumListModel()
{
    if (m_followed)
        m_followed->setObserver(nullptr);
}

void AlbumListModel::follow(Album &album)
{
    if (m_followed)
        m_followed->setObserver(nullptr);
    m_followed = &album;
    album.setObserver(this);
}

void AlbumListModel::entryAppended(int key, const AlbumEntry &entry)
{
    // Only an import appends; its rows get the read-only mark with the next full filling.
    ListRow row = ListRow::fromEntry(key, entry);
    row.readOnly = false;
    appendRows({std::move(row)});
}

void AlbumListModel::entryChanged(const AlbumEntry &entry)
{
    // Rows a search dropped need nothing: leaving the search fills the list from the album.
    for (std::size_t r = 0; r < m_order.size(); ++r) {
        ListRow &row = at(r);
        if (row.name != entry.name)
            continue;
        row.size = entry.sizeText();
        row.datum = entry.info.datum;
        row.ort = entry.info.ort;
        row.namen = entry.info.namen;
        row.anlass = entry.info.anlass;
        announceRow(int(r), Groesse, Anlass);
    }
}

void AlbumListModel::entryRenamed(const QString &oldName, const AlbumEntry &entry)
{
    for (std::size_t r = 0; r < m_order.size(); ++r) {
        if (at(r).name != oldName)
            continue;
        at(r).name = entry.name;
        announceRow(int(r), Dateiname, Dateiname);
    }
    if (m_markedName == oldName)
        m_markedName = entry.name;
}

void AlbumListModel::entriesRemoved(const QSet<QString> &names)
{
    removeRowsIf([&](const ListRow &row) { return names.contains(row.name); });
    if (names.contains(m_markedName))
        m_markedName.clear();
}

void AlbumListModel::announceRow(int row, int firstColumn, int lastColumn)
{
    Q_EMIT dataChanged(index(row, firstColumn), index(row, lastColumn));
}

void AlbumListModel::setMarkedName(const QString &name)
{
    if (name == m_markedName)
        return;
    const QString before = std::exchange(m_markedName, name);
    for (const QString &changed : {before, name}) {
        if (changed.isEmpty())
            continue;
        if (const int r = rowOf(changed); r >= 0)
            announceRow(r, 0, ColumnCount - 1);
    }
}

void AlbumListModel::fill(const Album &album, const std::function<void(int, int)> &progress)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(album.size());
    m_order.clear();
    m_order.reserve(album.size());
    const int total = static_cast<int>(album.size());
    int i = 0;
    for (const AlbumEntry &e : album.entries()) {
        ++i;
        m_order.push_back(static_cast<int>(m_rows.size()));
        m_rows.push_back(ListRow::fromEntry(i, e));
        if (progress)
            progress(i, total);
    }
    m_logicalCount = total;
    endResetModel();
    setLoadedCount(total);
}

void AlbumListModel::setFirstCaption(const QString &suffix)
{
    m_firstCaption = caption(Dateiname) + suffix;
    Q_EMIT headerDataChanged(Qt::Horizontal, Dateiname, Dateiname);
}

void AlbumListModel::setLoadedCount(int count)
{
    setFirstCaption(QStringLiteral(" [") + QString::number(count) + QStringLiteral(" Dateien geladen]"));
}

void AlbumListModel::setFoundCount(int count)
{
    setFirstCaption(QStringLiteral(" [") + QString::number(count) + QStringLiteral(" Dateien gefunden]"));
}

void AlbumListModel::setRowInfo(int r, const PictureInfo &info)
{
    ListRow &target = at(physical(r));
    target.datum = info.datum;
    target.ort = info.ort;
    target.namen = info.namen;
    target.anlass = info.anlass;
    Q_EMIT dataChanged(index(r, Datum), index(r, Anlass));
}

void AlbumListModel::appendRows(std::vector<ListRow> rows)
{
    if (rows.empty())
        return;
    const int first = m_logicalCount;
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    for (ListRow &row : rows) {
        m_order.push_back(static_cast<int>(m_rows.size()));
        m_rows.push_back(std::move(row));
    }
    m_logicalCount = static_cast<int>(m_order.size());
    endInsertRows();
}

std::size_t AlbumListModel::physical(int logical) const
{
    const auto x = static_cast<std::size_t>(logical);
    if (m_removing.empty())
        return x;
    // A run's key (its start plus the rows removed from it to the end) grows with its start;
    // the runs were announced back to front, so the keys stand in descending order.
    const int announcedTotal = m_removing.back().removedBefore;
    const int target = logical + announcedTotal;
    const auto it = std::lower_bound(m_removing.begin(), m_removing.end(), target,
                                     [](const RemovedRun &run, int t) { return run.logicalStart > t; });
    if (it == m_removing.end())
        return x;
    const int removedAfter = it == m_removing.begin() ? 0 : std::prev(it)->removedBefore;
    return x + static_cast<std::size_t>(announcedTotal - removedAfter);
}

void AlbumListModel::removeRowList(std::span<const int> ascending)
{
    if (ascending.empty())
        return;
    std::vector<std::pair<int, int>> runs; // first, last
    for (const int r : ascending) {
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    // Each announced run costs Qt a walk over its table of persistent indexes, which never
    // shrinks once a large selection has filled it: ten thousand runs took over a second. Past
    // a few dozen runs the rows go in one layout change instead, with every persistent index
    // moved or invalidated as a removal would.
    constexpr std::size_t kRunsAnnouncedOneByOne = 64;
    if (runs.size() > kRunsAnnouncedOneByOne)
        removeRunsInOneLayoutChange(runs);
    else
        removeRunsOneByOne(runs);
}

void AlbumListModel::removeRunsOneByOne(const std::vector<std::pair<int, int>> &runs)
{
    // Announced from the last run to the first so that every earlier row keeps its number; the
    // vector is compacted once at the end.
    m_removing.reserve(runs.size());
    int removed = 0;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows({}, run->first, run->second);
        removed += run->second - run->first + 1;
        m_removing.push_back({run->first + removed, removed});
        m_logicalCount -= run->second - run->first + 1;
        endRemoveRows();
    }
    compact(runs);
    m_removing.clear();
}

void AlbumListModel::removeRunsInOneLayoutChange(const std::vector<std::pair<int, int>> &runs)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    std::vector<int> newRowOf(m_order.size());
    int next = 0;
    auto run = runs.begin();
    for (int r = 0; r < static_cast<int>(m_order.size()); ++r) {
        while (run != runs.end() && r > run->second)
            ++run;
        newRowOf[std::size_t(r)] = run != runs.end() && r >= run->first ? -1 : next++;
    }
    compact(runs);
    m_logicalCount = static_cast<int>(m_order.size());
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before) {
        const int row = newRowOf[std::size_t(old.row())];
        after << (row < 0 ? QModelIndex() : index(row, old.column()));
    }
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
}

void AlbumListModel::compact(const std::vector<std::pair<int, int>> &runs)
{
    std::size_t out = static_cast<std::size_t>(runs.front().first);
    auto next = runs.begin();
    for (std::size_t in = out; in < m_order.size(); ++in) {
        if (next != runs.end() && static_cast<int>(in) > next->second)
            ++next;
        if (next != runs.end() && static_cast<int>(in) >= next->first)
            continue;
        m_order[out++] = m_order[in];
    }
    // The removed rows stay in the store until the next fill; only their places go.
    m_order.resize(out);
}

void AlbumListModel::removeRowsIf(const std::function<bool(const ListRow &)> &drop)
{
    std::vector<int> rows;
    for (int r = 0; r < m_logicalCount; ++r)
        if (drop(at(static_cast<std::size_t>(r))))
            rows.push_back(r);
    removeRowList(rows);
}

void AlbumListModel::sortRows(const std::function<bool(const ListRow &, const ListRow &)> &less)
{
    std::vector<int> order(m_order.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(at(std::size_t(a)), at(std::size_t(b))); });
    reorderRows(order);
}

void AlbumListModel::reorderRows(const std::vector<int> &order)
{
    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    // Only the places move; the rows themselves stay where they are stored.
    std::vector<int> sorted(order.size());
    std::vector<int> newRowOf(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        sorted[i] = m_order[std::size_t(order[i])];
        newRowOf[std::size_t(order[i])] = static_cast<int>(i);
    }
    m_order = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newRowOf[std::size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void AlbumListModel::rewriteRows(const std::function<bool(ListRow &)> &rewrite)
{
    for (std::size_t r = 0; r < m_order.size(); ++r)
        if (rewrite(at(r)))
            Q_EMIT dataChanged(index(int(r), 0), index(int(r), ColumnCount - 1));
}

int AlbumListModel::rowOf(const QString &name) const
{
    for (std::size_t r = 0; r < m_order.size(); ++r)
        if (at(r).name == name)
            return static_cast<int>(r);
    return -1;
}

QString AlbumListModel::text(int rowIndex, int column) const
{
    const ListRow &r = row(rowIndex);
    switch (column) {
    case Dateiname:
        return r.name;
    case Groesse:
        return r.size;
    case Datum:
        return r.datum;
    case Ort:
        return r.ort;
    case Namen:
        return r.namen;
    case Anlass:
        return r.anlass;
    case Typ:
        return KindNames(r.kind);
    case Schreibschutz:
        return r.readOnly ? QStringLiteral("X") : QString();
    default:
        return {};
    }
}

int AlbumListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_logicalCount;
}

int AlbumListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant AlbumListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const ListRow &r = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return index.column() == Dateiname ? displayFileName(r.name) : text(index.row(), index.column());
    case Qt::DecorationRole:
        return index.column() == Dateiname && m_rowIcon ? m_rowIcon(r) : QVariant();
    case Qt::ToolTipRole:
        return KindNames(r.kind);
    case Qt::FontRole:
        return !m_markedName.isEmpty() && r.name == m_markedName ? m_markFont : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter)
                                         : int(Qt::AlignLeft | Qt::AlignVCenter);
    case RowKeyRole:
        return rowKey(r);
    case KindRole:
        return static_cast<int>(r.kind);
    case NameRole:
        return r.name;
    default:
        return {};
    }
}

void AlbumListModel::setDecorations(RowDecoration icon, QVariant markFont)
{
    m_rowIcon = std::move(icon);
    m_markFont = std::move(markFont);
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0), {Qt::DecorationRole, Qt::FontRole});
}

bool AlbumListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != Dateiname || !m_renameHandler)
        return false;
    const QString newName = value.toString();
    if (newName == displayFileName(row(index.row()).name))
        return false; // the editor closed without a change
    // The album renames the entry, and its announcement renames the row.
    return m_renameHandler(index.row(), newName);
}

Qt::ItemFlags AlbumListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Dateiname && m_renameHandler)
        f |= Qt::ItemIsEditable;
    if (index.isValid() && !m_mediaFolder.isEmpty())
        f |= Qt::ItemIsDragEnabled;
    return f;
}

QStringList AlbumListModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list")};
}

QMimeData *AlbumListModel::mimeData(const QModelIndexList &indexes) const
{
    // A view hands in every cell of a selected row.
    std::set<int> rows;
    for (const QModelIndex &index : indexes)
        if (index.isValid())
            rows.insert(index.row());
    if (rows.empty() || m_mediaFolder.isEmpty())
        return nullptr;
    QList<QUrl> urls;
    for (const int r : rows)
        urls << localFileUrl(m_mediaFolder + row(r).name);
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    // The tooltip tells a caption the header had to cut short.
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
        return section == Dateiname ? m_firstCaption : caption(section);
    if (role == Qt::TextAlignmentRole)
        return section == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

} // namespace zv
