#include "AlbumListModel.h"

#include "Album.h"
#include "KindIcons.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <numeric>

namespace zv {
namespace {

const QString &caption(int column)
{
    static const QString captions[] = {
        QStringLiteral("Dateiname"), QStringLiteral("Größe in KB"), QStringLiteral("Datum"),
        QStringLiteral("Ort"),       QStringLiteral("Namen"),       QStringLiteral("Anlass"),
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
{
}

void AlbumListModel::fill(const Album &album, const std::function<void(int, int)> &progress)
{
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(album.size());
    const int total = static_cast<int>(album.size());
    int i = 0;
    for (const AlbumEntry &e : album.entries()) {
        ++i;
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
    ListRow &target = m_rows[physical(r)];
    target.datum = info.datum;
    target.ort = info.ort;
    target.namen = info.namen;
    target.anlass = info.anlass;
    Q_EMIT dataChanged(index(r, Datum), index(r, Anlass));
}

void AlbumListModel::setRowFile(int r, const QString &size, const PictureInfo &info)
{
    m_rows[physical(r)].size = size;
    setRowInfo(r, info);
    Q_EMIT dataChanged(index(r, Groesse), index(r, Groesse));
}

void AlbumListModel::setRowName(int r, const QString &name)
{
    m_rows[physical(r)].name = name;
    Q_EMIT dataChanged(index(r, Dateiname), index(r, Dateiname));
}

void AlbumListModel::appendRows(std::vector<ListRow> rows)
{
    if (rows.empty())
        return;
    const int first = m_logicalCount;
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    std::move(rows.begin(), rows.end(), std::back_inserter(m_rows));
    m_logicalCount = static_cast<int>(m_rows.size());
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
    // Runs of adjacent rows, announced from the last to the first so that every earlier row
    // keeps its number; the vector is compacted once at the end.
    std::vector<std::pair<int, int>> runs; // first, last
    for (const int r : ascending) {
        if (!runs.empty() && runs.back().second + 1 == r)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    m_removing.reserve(runs.size());
    int removed = 0;
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        beginRemoveRows({}, run->first, run->second);
        removed += run->second - run->first + 1;
        m_removing.push_back({run->first + removed, removed});
        m_logicalCount -= run->second - run->first + 1;
        endRemoveRows();
    }
    std::size_t out = static_cast<std::size_t>(runs.front().first);
    auto next = runs.begin();
    for (std::size_t in = out; in < m_rows.size(); ++in) {
        if (next != runs.end() && static_cast<int>(in) > next->second)
            ++next;
        if (next != runs.end() && static_cast<int>(in) >= next->first)
            continue;
        m_rows[out++] = std::move(m_rows[in]);
    }
    m_rows.resize(out);
    m_removing.clear();
}

void AlbumListModel::removeRowsIf(const std::function<bool(const ListRow &)> &drop)
{
    std::vector<int> rows;
    for (int r = 0; r < m_logicalCount; ++r)
        if (drop(m_rows[static_cast<std::size_t>(r)]))
            rows.push_back(r);
    removeRowList(rows);
}

void AlbumListModel::sortRows(const std::function<bool(const ListRow &, const ListRow &)> &less)
{
    std::vector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return less(m_rows[std::size_t(a)], m_rows[std::size_t(b)]); });

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    std::vector<int> newRowOf(order.size());
    std::vector<ListRow> sorted;
    sorted.reserve(m_rows.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        newRowOf[std::size_t(order[i])] = static_cast<int>(i);
        sorted.push_back(std::move(m_rows[std::size_t(order[i])]));
    }
    m_rows = std::move(sorted);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex &old : before)
        after << index(newRowOf[std::size_t(old.row())], old.column());
    changePersistentIndexList(before, after);
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void AlbumListModel::rewriteRows(const std::function<void(ListRow &)> &rewrite)
{
    for (ListRow &r : m_rows)
        rewrite(r);
    if (!m_rows.empty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int AlbumListModel::rowOf(const QString &name) const
{
    for (std::size_t r = 0; r < m_rows.size(); ++r)
        if (m_rows[r].name.compare(name, Qt::CaseInsensitive) == 0)
            return static_cast<int>(r);
    return -1;
}

QString AlbumListModel::text(int rowIndex, int column) const
{
    const ListRow &r = row(rowIndex);
    switch (column) {
    case Dateiname: return r.name;
    case Groesse: return r.size;
    case Datum: return r.datum;
    case Ort: return r.ort;
    case Namen: return r.namen;
    case Anlass: return r.anlass;
    case Typ: return KindNames(r.kind);
    case Schreibschutz: return r.readOnly ? QStringLiteral("X") : QString();
    default: return {};
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
        return index.column() == Dateiname ? QVariant(KindIcons::icon(r.kind)) : QVariant();
    case Qt::ToolTipRole: return KindNames(r.kind);
    case Qt::TextAlignmentRole:
        return index.column() == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter)
                                         : int(Qt::AlignLeft | Qt::AlignVCenter);
    case RowKeyRole: return rowKey(r);
    case KindRole: return static_cast<int>(r.kind);
    case NameRole: return r.name;
    default: return {};
    }
}

bool AlbumListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != Dateiname || !m_renameHandler)
        return false;
    const QString newName = value.toString();
    if (newName == displayFileName(row(index.row()).name))
        return false; // the editor closed without a change
    if (!m_renameHandler(index.row(), newName))
        return false;
    setRowName(index.row(), newName);
    return true;
}

Qt::ItemFlags AlbumListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Dateiname && m_renameHandler)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant AlbumListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return section == Dateiname ? m_firstCaption : caption(section);
    if (role == Qt::TextAlignmentRole)
        return section == Groesse ? int(Qt::AlignRight | Qt::AlignVCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

} // namespace zv
