#pragma once

#include <QListView>
#include <QTreeView>

namespace zv {

// How a click treats the selection in both views of the album list, as in every file manager:
// a click (press and release without dragging) leaves the clicked row the only selected one;
// a press on a selected row waits for the release, so several selected rows can be dragged;
// a click on the name starts a rename only when that row was already the only selected row.
class ClickRules {
public:
    void pressed(const QAbstractItemView &view, const QMouseEvent &event);
    // Whether the view may open its editor on the row: only on a row that is the only selected
    // one, after a plain click that found it so.
    bool mayRename(const QAbstractItemView &view, const QModelIndex &index, QAbstractItemView::EditTrigger trigger,
                   const QEvent *event) const;
    // The selection a plain left release sets, or Qt's own when it is no click.
    QItemSelectionModel::SelectionFlags onRelease(const QAbstractItemView &view, const QModelIndex &index,
                                                  const QEvent *event,
                                                  QItemSelectionModel::SelectionFlags qtCommand) const;

private:
    QPersistentModelIndex m_pressedIndex;
    QPoint m_pressedAt;
    int m_soleSelectedRow = -1; // at the last press
};

// lstBilder: the details view.
class AlbumTreeView : public QTreeView {
    Q_OBJECT
public:
    using QTreeView::QTreeView;
    // Letters typed into the list find file names, whichever cell of the row was clicked.
    void keyboardSearch(const QString &search) override;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    ClickRules m_clicks;
};

// lstSymbole: the same rows as icons, small icons or a list.
class AlbumIconView : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    ClickRules m_clicks;
};

// The selected rows, ascending, read from the ranges: asking row by row costs the square.
std::vector<int> selectedRowsAscending(const QItemSelectionModel &selection);

} // namespace zv
