#include "DiaShowList.h"

namespace zv {

DiaShowList::DiaShowList(const AlbumListModel &list, QObject *parent)
    : QObject(parent)
    , m_list(list)
    , m_walk(list.rowCount())
{
    connect(&list, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { m_walk.rowsRemoved(first, last); });
    // Imported rows join the show where they land.
    connect(&list, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { m_walk.rowsInserted(first, last); });
    // Sorted or refilled: the show goes on from the picture on screen at its new place.
    connect(&list, &QAbstractItemModel::layoutChanged, this, &DiaShowList::refind);
    connect(&list, &QAbstractItemModel::modelReset, this, &DiaShowList::refind);
}

void DiaShowList::refind()
{
    const int row = m_shownName.isEmpty() ? -1 : m_list.rowOf(m_shownName);
    m_walk.relocate(row < 0 ? 0 : row + 1, m_list.rowCount());
}

bool DiaShowList::isPicture(int row) const
{
    return row >= 0 && row < m_list.rowCount() && m_list.row(row).kind == MediaKind::Bild;
}

DiaSlide DiaShowList::slideAt(int index) const
{
    return {index, m_walk.rowCount(), m_list.row(index - 1)};
}

std::optional<DiaSlide> DiaShowList::step(DiaWalk::Direction direction)
{
    const auto index = m_walk.step(direction, [this](int row) { return isPicture(row); });
    if (!index)
        return std::nullopt;
    DiaSlide slide = slideAt(*index);
    m_shownName = slide.row.name;
    return slide;
}

std::optional<DiaSlide> DiaShowList::peek(DiaWalk::Direction direction) const
{
    const auto index = m_walk.peek(direction, [this](int row) { return isPicture(row); });
    if (!index)
        return std::nullopt;
    return slideAt(*index);
}

bool DiaShowList::hasPicture() const
{
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (isPicture(row))
            return true;
    return false;
}

} // namespace zv
