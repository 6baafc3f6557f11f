#pragma once

#include <QFontMetrics>
#include <QListView>
#include <QMouseEvent>
#include <QTreeView>

#include <vector>

#include <functional>

namespace zv {

// The selected rows, ascending, read from the ranges: asking row by row costs the square.
std::vector<int> selectedRowsAscending(const QItemSelectionModel &selection);

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

// A view of the album list that follows the click rules.
template <typename View>
class ClickRulesView : public View {
public:
    using View::edit;
    using View::View;

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        m_clicks.pressed(*this, *event);
        View::mousePressEvent(event);
    }
    bool edit(const QModelIndex &index, QAbstractItemView::EditTrigger trigger, QEvent *event) override
    {
        return m_clicks.mayRename(*this, index, trigger, event) && View::edit(index, trigger, event);
    }
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index, const QEvent *event) const override
    {
        return m_clicks.onRelease(*this, index, event, View::selectionCommand(index, event));
    }
    // A rename is of one file: a selection grown or emptied meanwhile ("alles markieren") ends
    // it, keeping what was typed, as a click elsewhere does.
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override
    {
        View::selectionChanged(selected, deselected);
        if (this->state() != QAbstractItemView::EditingState || !this->selectionModel()
            || selectedRowsAscending(*this->selectionModel()).size() == 1)
            return;
        for (QWidget *editor : this->viewport()->template findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (editor->isVisible()) {
                this->commitData(editor);
                this->closeEditor(editor, QAbstractItemDelegate::NoHint);
            }
    }

private:
    ClickRules m_clicks;
};

// lstBilder: the details view.
class AlbumTreeView : public ClickRulesView<QTreeView> {
public:
    using ClickRulesView::ClickRulesView;
    // Letters typed into the list find file names, whichever cell of the row was clicked.
    void keyboardSearch(const QString &search) override;
};

// lstSymbole: the same rows as icons, small icons or a list.
class AlbumIconView : public ClickRulesView<QListView> {
public:
    using ClickRulesView::ClickRulesView;
};

// The width of the widest of `count` texts, summed from each character's advance: laying out
// 100,000 file names one by one would take the better part of a second, adding cached advances
// takes milliseconds. Kerning only ever makes a text narrower than this.
int widestText(int count, const std::function<QString(int)> &text, const QFontMetrics &metrics);

} // namespace zv
