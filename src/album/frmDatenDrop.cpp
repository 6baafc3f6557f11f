// Drag and drop between the list and a file manager: rows go out as copies of their files,
// files and folders dropped in are handed to the program to import.
#include "frmDaten.h"

#include "AlbumViews.h"

#include <QDropEvent>
#include <QListView>
#include <QMimeData>
#include <QProgressBar>
#include <QTreeView>

namespace zv {

void frmDaten::allowDragAndDrop(QAbstractItemView *view)
{
    view->setDragEnabled(true);
    view->setAcceptDrops(true);
    view->viewport()->setAcceptDrops(true);
    // The view's own drop handling would move rows; drops are taken in dragEvent instead.
    view->setDragDropMode(QAbstractItemView::DragDrop);
    view->setDefaultDropAction(Qt::CopyAction);
    view->setDropIndicatorShown(false);
}

bool frmDaten::dragEvent(QObject *watched, QEvent *event)
{
    if (watched != lstBilder->viewport() && watched != lstSymbole->viewport())
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        // The list's own rows lie in Bilder already; from outside, only files can come in.
        const bool fromOutside = drop->source() != lstBilder && drop->source() != lstSymbole;
        if (!fromOutside || !drop->mimeData()->hasUrls() || !(drop->possibleActions() & Qt::CopyAction)) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop)
            Q_EMIT filesDropped(drop->mimeData()->urls());
        return true;
    }
    case QEvent::DragLeave:
        return true;
    default:
        return false;
    }
}

void frmDaten::showTransferProgress(int done, int total)
{
    pbarSearch->setMaximum(std::max(total, 1));
    pbarSearch->setValue(std::min(done, total));
    pbarSearch->show();
}

void frmDaten::endTransferProgress()
{
    pbarSearch->hide();
}

} // namespace zv
