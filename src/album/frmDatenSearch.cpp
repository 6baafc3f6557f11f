// Search mode and sorting by the column headers; the rules live in modSuche and modSortList.
#include "frmDaten.h"

#include "AlbumViews.h"

#include "model/AlbumListModel.h"
#include "model/ProgramState.h"
#include "operations/SearchList.h"
#include "platform/Dialogs.h"
#include "skins/SkinPanel.h"
#include "store/PictureTrailer.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QTreeView>

namespace zv {

void frmDaten::enterSearchMode()
{
    m_services.state.SearchApplied = false;
    m_services.state.SearchWordsInBoxes = true;
    m_fields->clearForSearch();
    picSuche->show();
    imgSearch->show();
}

void frmDaten::runSearch()
{
    if (m_services.list.rowCount() == 0) {
        m_services.dialogs.message(QStringLiteral("Fehler"), QStringLiteral("Es sind keine Einträge in der Liste"),
                                   MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    const int total = m_services.list.rowCount();
    pbarSearch->setMaximum(total);
    pbarSearch->setValue(0);
    pbarSearch->show();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const SearchQuery query = SearchQuery::fromBoxes(m_fields->typed());
    QAbstractItemView *shown = shownList();
    shown->hide();
    const int step = std::max(1, total / 200); // a bar moves by pixels, not by rows
    const int left = zv::runSearch(m_services.list, query, [&](int examined, int n) {
        if (examined % step == 0 || examined == n)
            pbarSearch->setValue(examined);
    });
    m_services.list.setFoundCount(left);
    m_listNarrowed = true;
    shown->show();
    m_services.state.SearchApplied = true;
    pbarSearch->hide();
}

void frmDaten::leaveSearchMode()
{
    picSuche->hide();
    imgSearch->hide();
    const QString &current = m_services.state.CurrentFile;
    m_fields->show(current.isEmpty() ? PictureInfo{} : trimmed(ReadPictureInfo(current).info));
    m_services.state.SearchWordsInBoxes = false;
    if (m_services.state.SearchApplied || m_listNarrowed)
        FillList();
    pbarSearch->hide();
}

void frmDaten::sortByHeader(int logicalIndex)
{
    const auto request = m_sortState.click(logicalIndex + 1);
    if (request) {
        QAbstractItemView *shown = shownList();
        shown->hide(); // drawn once, in the new order
        SortColumn(m_services.list, request->column, request->type, request->order);
        shown->show();
    }
    showSortIcons();
}

void frmDaten::showSortIcons()
{
    QHeaderView *header = lstBilder->header();
    for (int c = 1; c <= 8; ++c) {
        const HeaderIcon icon = m_sortState.icon(c);
        if (icon != HeaderIcon::Unsorted) {
            header->setSortIndicator(c - 1, icon == HeaderIcon::Ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
            return;
        }
    }
    header->setSortIndicator(-1, Qt::AscendingOrder);
}

} // namespace zv
