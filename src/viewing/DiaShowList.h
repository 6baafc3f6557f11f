#pragma once

#include "DiaWalk.h"

#include "model/AlbumListModel.h"

#include <QObject>
#include <QString>

#include <optional>

namespace zv {

// One picture of the show: its row as the list held it when the show came to it.
struct DiaSlide {
    int index = 0; // 1-based row number
    int rowCount = 0; // rows the show walks
    ListRow row;
};

// The slide show's walk over the album list in the list's current order. The list may change
// while the show runs (search, sorting, deleting, import): the walk follows, so it never reads
// a row that is no longer there.
class DiaShowList : public QObject {
    Q_OBJECT
public:
    explicit DiaShowList(const AlbumListModel &list, QObject *parent = nullptr);

    std::optional<DiaSlide> step(DiaWalk::Direction direction);
    // The picture that a step in the direction would come to, for preparing it.
    std::optional<DiaSlide> peek(DiaWalk::Direction direction) const;
    bool hasPicture() const;

    int current() const { return m_walk.current(); }
    int rowCount() const { return m_walk.rowCount(); }

private:
    DiaSlide slideAt(int index) const;
    bool isPicture(int row) const;
    void refind();

    const AlbumListModel &m_list;
    DiaWalk m_walk;
    QString m_shownName; // to find the shown row again after sorting or refilling
};

} // namespace zv
