#pragma once

#include <functional>
#include <optional>

namespace zv {

// Where the slide show stands in the list: a 1-based row number (0 before the first picture)
// and the number of rows it walks. Only rows that are pictures are stopped at; the walk wraps
// around at both ends.
class DiaWalk {
public:
    enum class Direction { Forward, Back };
    using IsPicture = std::function<bool(int row)>; // 0-based row

    explicit DiaWalk(int rowCount = 0)
        : m_rowCount(rowCount)
    { }

    // Moves to the next picture row in the direction and returns its 1-based number; nullopt
    // when no row is a picture, and then the walk stays where it was.
    std::optional<int> step(Direction direction, const IsPicture &isPicture);
    // Where step would go, without going there.
    std::optional<int> peek(Direction direction, const IsPicture &isPicture) const;

    // The list changed under the walk (0-based, inclusive row numbers).
    void rowsRemoved(int first, int last);
    void rowsInserted(int first, int last);
    void relocate(int current, int rowCount);

    int current() const { return m_current; }
    int rowCount() const { return m_rowCount; }

private:
    int m_current = 0;
    int m_rowCount = 0;
};

} // namespace zv
