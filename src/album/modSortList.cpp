#include "modSortList.h"

#include "app/AlbumListModel.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace zv {
namespace {

QString cellOf(const ListRow &row, int column)
{
    switch (column) {
    case 1: return row.name;
    case 2: return row.size;
    case 3: return row.datum;
    case 4: return row.ort;
    case 5: return row.namen;
    case 6: return row.anlass;
    case 7: return KindNames(row.kind);
    default: return {};
    }
}

// Sorts by precomputed keys: one key per row, compared as often as the sort needs.
template <typename Key, typename Less>
void sortByKeys(AlbumListModel &list, std::vector<Key> keys, SortOrder order, Less less)
{
    std::vector<int> rank(keys.size());
    std::iota(rank.begin(), rank.end(), 0);
    const bool descending = order == SortOrder::Descending;
    std::stable_sort(rank.begin(), rank.end(), [&](int a, int b) {
        return descending ? less(keys[std::size_t(b)], keys[std::size_t(a)]) : less(keys[std::size_t(a)], keys[std::size_t(b)]);
    });
    std::vector<int> position(keys.size());
    for (std::size_t i = 0; i < rank.size(); ++i)
        position[std::size_t(rank[i])] = static_cast<int>(i);
    list.reorderRows(position);
}

} // namespace

QString ConvertDate(const QString &text, bool back)
{
    // Positions are 1-based in the rule; mid() gives empty pieces past the end, as wanted.
    if (!back)
        return text.mid(6, 4) + text.mid(3, 2) + text.mid(0, 2);
    return text.mid(6, 2) + QLatin1Char('.') + text.mid(4, 2) + QLatin1Char('.') + text.mid(0, 4);
}

ColumnType columnType(int column)
{
    switch (column) {
    case 1: case 4: case 5: case 6: case 7: return ColumnType::Text;
    case 2: return ColumnType::Number;
    case 3: return ColumnType::Date;
    default: return ColumnType::None;
    }
}

bool SortColumn(AlbumListModel &list, int column, ColumnType type, SortOrder order)
{
    const int rows = list.rowCount();
    switch (type) {
    case ColumnType::Text: {
        QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        std::vector<QCollatorSortKey> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            keys.push_back(collator.sortKey(cellOf(list.row(r), column)));
        sortByKeys(list, std::move(keys), order,
                   [](const QCollatorSortKey &a, const QCollatorSortKey &b) { return a.compare(b) < 0; });
        return true;
    }
    case ColumnType::Number: {
        // An empty cell counts as 0; the cell is written back as its value, and 0 as empty.
        std::vector<double> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            keys.push_back(cellOf(list.row(r), column).toDouble()); // empty reads as 0
        sortByKeys(list, std::move(keys), order, std::less<double>());
        list.rewriteRows([](ListRow &row) {
            if (row.size.isEmpty())
                return;
            const double value = row.size.toDouble();
            row.size = value == 0 ? QString() : QString::number(value, 'g', 15);
        });
        return true;
    }
    case ColumnType::Date: {
        // Only ten-character dates round-trip through the conversion; every cell keeps its text
        // and sorts by its converted form, so "xx.xx.2003" sorts as "2003xxxx".
        std::vector<QString> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            keys.push_back(ConvertDate(cellOf(list.row(r), column), false));
        sortByKeys(list, std::move(keys), order, [](const QString &a, const QString &b) { return a < b; });
        return true;
    }
    case ColumnType::None:
        return true;
    }
    return true;
}

std::optional<HeaderSortState::Request> HeaderSortState::click(int column)
{
    std::optional<Request> request;
    if (column >= 1 && column <= 7) {
        HeaderIcon &icon = m_icons[std::size_t(column - 1)];
        const SortOrder order = icon == HeaderIcon::Ascending ? SortOrder::Descending : SortOrder::Ascending;
        icon = order == SortOrder::Descending ? HeaderIcon::Descending : HeaderIcon::Ascending;
        request = Request{column, columnType(column), order};
    }
    for (int c = 1; c <= 8; ++c)
        if (c != column)
            m_icons[std::size_t(c - 1)] = HeaderIcon::Unsorted;
    return request;
}

} // namespace zv
