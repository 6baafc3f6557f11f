#pragma once

#include <QString>

#include <array>
#include <optional>

namespace zv {

class AlbumListModel;

enum class ColumnType { Text = 0, Number = 1, Date = 2, None = -1 };
enum class SortOrder { Ascending = 3, Descending = 4 };
// The header icons: 1 sorted ascending, 2 sorted descending, 3 not the sort column.
enum class HeaderIcon { Ascending = 1, Descending = 2, Unsorted = 3 };

// dd.mm.yyyy to yyyymmdd and back, by character positions; a shorter text gives empty pieces.
QString ConvertDate(const QString &text, bool back);

// The type of each 1-based header index (1 "Dateiname" … 8 "Schreibschutz").
ColumnType columnType(int column);

// Sorts the rows by a 1-based column, stably: equal keys keep their order in both directions.
// Text compares as a German reader expects (no case, umlauts beside their base letters);
// numbers by value, with zero sizes shown empty afterwards; dates by their year-month-day form,
// so "xx.xx.2003" follows every known date of 2003. The cells keep their texts.
bool SortColumn(AlbumListModel &list, int column, ColumnType type, SortOrder order);

// The icons of the eight headers and what a click on one of them asks for.
class HeaderSortState {
public:
    struct Request {
        int column;
        ColumnType type;
        SortOrder order;
    };
    // Updates the icons; the sort to run, or nothing for "Schreibschutz".
    std::optional<Request> click(int column);
    HeaderIcon icon(int column) const { return m_icons[std::size_t(column - 1)]; }
    void reset() { m_icons.fill(HeaderIcon::Unsorted); }

private:
    std::array<HeaderIcon, 8> m_icons{HeaderIcon::Unsorted, HeaderIcon::Unsorted, HeaderIcon::Unsorted,
                                      HeaderIcon::Unsorted, HeaderIcon::Unsorted, HeaderIcon::Unsorted,
                                      HeaderIcon::Unsorted, HeaderIcon::Unsorted};
};

} // namespace zv
