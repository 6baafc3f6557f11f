#include "AlbumViews.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>

#include <algorithm>

namespace zv {
namespace { } // namespace

std::vector<int> selectedRowsAscending(const QItemSelectionModel &selection)
{
    std::vector<int> rows;
    for (const QItemSelectionRange &range : selection.selection())
        for (int r = range.top(); r <= range.bottom(); ++r)
            rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

int widestText(int count, const std::function<QString(int)> &text, const QFontMetrics &metrics)
{
    QHash<char16_t, int> advances;
    int widest = 0;
    for (int i = 0; i < count; ++i) {
        int width = 0;
        for (const QChar c : text(i)) {
            auto known = advances.constFind(c.unicode());
            if (known == advances.constEnd())
                known = advances.insert(c.unicode(), metrics.horizontalAdvance(c));
            width += *known;
        }
        widest = std::max(widest, width);
    }
    return widest;
}

void ClickRules::pressed(const QAbstractItemView &view, const QMouseEvent &event)
{
    m_pressedAt = event.position().toPoint();
    const QModelIndex index = view.indexAt(m_pressedAt);
    m_pressedIndex = index;
    m_soleSelectedRow = -1;
    if (!index.isValid() || !view.selectionModel())
        return;
    const std::vector<int> rows = selectedRowsAscending(*view.selectionModel());
    if (rows.size() == 1)
        m_soleSelectedRow = rows.front();
}

bool ClickRules::mayRename(const QAbstractItemView &view, const QModelIndex &index,
                           QAbstractItemView::EditTrigger trigger, const QEvent *event) const
{
    // Qt's click on a selected row ignores the keys held, and its delayed editor comes back
    // without an event (as all triggers): a rename is of one file, clicked plainly.
    if (trigger == QAbstractItemView::SelectedClicked) {
        const auto *mouse =
            event && event->type() == QEvent::MouseButtonRelease ? static_cast<const QMouseEvent *>(event) : nullptr;
        if (!mouse || mouse->modifiers() != Qt::NoModifier || index.row() != m_soleSelectedRow)
            return false;
    }
    if (trigger == QAbstractItemView::SelectedClicked || trigger == QAbstractItemView::AllEditTriggers)
        return view.selectionModel() && selectedRowsAscending(*view.selectionModel()) == std::vector<int>{index.row()};
    return true;
}

QItemSelectionModel::SelectionFlags ClickRules::onRelease(const QAbstractItemView &view, const QModelIndex &index,
                                                          const QEvent *event,
                                                          QItemSelectionModel::SelectionFlags qtCommand) const
{
    if (!event || event->type() != QEvent::MouseButtonRelease || !index.isValid()
        || view.selectionMode() != QAbstractItemView::ExtendedSelection)
        return qtCommand;
    const auto *mouse = static_cast<const QMouseEvent *>(event);
    const bool click =
        mouse->button() == Qt::LeftButton && mouse->modifiers() == Qt::NoModifier && index.row() == m_pressedIndex.row()
        && (mouse->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance();
    // A press on a selected row left the selection alone, so several rows can be dragged; the
    // release of a click decides it.
    return click ? QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows : qtCommand;
}

void AlbumTreeView::keyboardSearch(const QString &search)
{
    const QModelIndex current = currentIndex();
    if (current.isValid() && current.column() != 0)
        selectionModel()->setCurrentIndex(current.siblingAtColumn(0), QItemSelectionModel::NoUpdate);
    QTreeView::keyboardSearch(search);
}

} // namespace zv
