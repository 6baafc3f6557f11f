#include "DiaWalk.h"

#include <algorithm>

namespace zv {

std::optional<int> DiaWalk::peek(Direction direction, const IsPicture &isPicture) const
{
    // Each row is looked at once at most: a list without a picture ends the search instead
    // of skipping round and round.
    int index = m_current;
    for (int tried = 0; tried < m_rowCount; ++tried) {
        if (direction == Direction::Forward)
            index = index + 1 > m_rowCount ? 1 : index + 1;
        else
            index = index - 1 < 1 ? m_rowCount : index - 1; // from the first (or none yet) to the last
        if (isPicture(index - 1))
            return index;
    }
    return std::nullopt;
}

std::optional<int> DiaWalk::step(Direction direction, const IsPicture &isPicture)
{
    const auto index = peek(direction, isPicture);
    if (index)
        m_current = *index;
    return index;
}

void DiaWalk::rowsRemoved(int first, int last)
{
    const int removed = last - first + 1;
    m_rowCount = std::max(0, m_rowCount - removed);
    // Rows before the shown one move it up. When the shown row itself goes, the walk stands
    // just before the gap, so the row that followed it comes next.
    if (m_current - 1 > last)
        m_current -= removed;
    else if (m_current - 1 >= first)
        m_current = first;
    m_current = std::clamp(m_current, 0, m_rowCount);
}

void DiaWalk::rowsInserted(int first, int last)
{
    const int inserted = last - first + 1;
    m_rowCount += inserted;
    if (m_current - 1 >= first)
        m_current += inserted;
}

void DiaWalk::relocate(int current, int rowCount)
{
    m_rowCount = std::max(0, rowCount);
    m_current = std::clamp(current, 0, m_rowCount);
}

} // namespace zv
