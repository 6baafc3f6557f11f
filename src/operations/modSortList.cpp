#include "modSortList.h"

#include "model/AlbumListModel.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <numeric>

namespace zv {
namespace {

// The text a column sorts by; the kind's name is made once per kind, not per row.
const QString &cellOf(const ListRow &row, int column)
{
    static const QString kinds[] = {KindNames(MediaKind::Video), KindNames(MediaKind::Bild),
                                    KindNames(MediaKind::Unbekannt)};
    switch (column) {
    case 1:
        return row.name;
    case 2:
        return row.size;
    case 3:
        return row.datum;
    case 4:
        return row.ort;
    case 5:
        return row.namen;
    case 6:
        return row.anlass;
    default:
        return kinds[std::clamp(static_cast<int>(row.kind), 1, 3) - 1];
    }
}

// The value of a number cell; sizes are plain digits, read without the general parser.
double numberOf(const QString &cell)
{
    double value = 0;
    for (const QChar c : cell) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return cell.toDouble(); // signs, fractions, blanks: the general way
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

// Sorts by one precomputed key per row, stably in both directions.
template <typename Key, typename Less>
void sortByKeys(AlbumListModel &list, const std::vector<Key> &keys, SortOrder order, Less less)
{
    std::vector<int> order_(keys.size());
    std::iota(order_.begin(), order_.end(), 0);
    const bool descending = order == SortOrder::Descending;
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const Key &x = keys[std::size_t(a)];
        const Key &y = keys[std::size_t(b)];
        return descending ? less(y, x) : less(x, y);
    });
    list.reorderRows(order_);
}

// A German reader's order. Albums repeat their places, names and occasions, so each distinct
// text gets its collation key once and the rows sort by the rank of their text.
std::vector<int> collationRanks(const AlbumListModel &list, int column)
{
    const int rows = list.rowCount();
    QHash<QString, int> distinctIndex;
    std::vector<const QString *> distinct;
    std::vector<int> textOfRow(std::size_t(rows), 0);
    for (int r = 0; r < rows; ++r) {
        const QString &text = cellOf(list.row(r), column);
        auto it = distinctIndex.constFind(text);
        if (it == distinctIndex.constEnd()) {
            it = distinctIndex.insert(text, int(distinct.size()));
            distinct.push_back(&text);
        }
        textOfRow[std::size_t(r)] = *it;
    }
    QCollator collator{QLocale(QLocale::German, QLocale::Germany)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(distinct.size());
    for (const QString *text : distinct)
        keys.push_back(collator.sortKey(*text));
    std::vector<int> byKey(distinct.size());
    std::iota(byKey.begin(), byKey.end(), 0);
    std::sort(byKey.begin(), byKey.end(),
              [&](int a, int b) { return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0; });
    // Texts the collator finds equal ("Zell" and "zell") share a rank and keep the rows' order.
    std::vector<int> rankOfText(distinct.size());
    int rank = 0;
    for (std::size_t i = 0; i < byKey.size(); ++i) {
        if (i > 0 && keys[std::size_t(byKey[i - 1])].compare(keys[std::size_t(byKey[i])]) != 0)
            ++rank;
        rankOfText[std::size_t(byKey[i])] = rank;
    }
    std::vector<int> ranks(static_cast<std::size_t>(rows));
    for (int r = 0; r < rows; ++r)
        ranks[std::size_t(r)] = rankOfText[std::size_t(textOfRow[std::size_t(r)])];
    return ranks;
}

// The year-month-day form ConvertDate makes of a date cell, as a fixed key compared like that
// text but built without allocating: a hundred thousand dates sort in a few milliseconds.
struct DateKey {
    std::array<char16_t, 8> units{};
    std::uint8_t length = 0;

    explicit DateKey(const QString &cell)
    {
        const auto take = [&](qsizetype from, qsizetype count) {
            for (qsizetype i = from; i < from + count && i < cell.size(); ++i)
                units[length++] = cell[i].unicode();
        };
        take(6, 4); // as ConvertDate: year, month, day
        take(3, 2);
        take(0, 2);
    }
    bool operator<(const DateKey &other) const
    {
        return std::lexicographical_compare(units.begin(), units.begin() + length, other.units.begin(),
                                            other.units.begin() + other.length);
    }
};

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
    case 1:
    case 4:
    case 5:
    case 6:
    case 7:
        return ColumnType::Text;
    case 2:
        return ColumnType::Number;
    case 3:
        return ColumnType::Date;
    default:
        return ColumnType::None;
    }
}

bool SortColumn(AlbumListModel &list, int column, ColumnType type, SortOrder order)
{
    const int rows = list.rowCount();
    switch (type) {
    case ColumnType::Text:
        sortByKeys(list, collationRanks(list, column), order, std::less<int>());
        return true;
    case ColumnType::Number: {
        // An empty cell counts as 0; afterwards a zero shows as an empty cell.
        std::vector<double> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            keys.push_back(numberOf(cellOf(list.row(r), column)));
        sortByKeys(list, keys, order, std::less<double>());
        list.rewriteRows([](ListRow &row) {
            if (row.size.isEmpty() || numberOf(row.size) != 0)
                return false;
            row.size.clear();
            return true;
        });
        return true;
    }
    case ColumnType::Date: {
        // Every cell keeps its text and sorts by its converted form, so "xx.xx.2003" sorts as
        // "2003xxxx", after every known date of 2003; only true dates would survive the
        // conversion back.
        std::vector<DateKey> keys;
        keys.reserve(std::size_t(rows));
        for (int r = 0; r < rows; ++r)
            keys.emplace_back(cellOf(list.row(r), column));
        sortByKeys(list, keys, order, std::less<DateKey>());
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
