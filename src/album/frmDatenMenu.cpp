// The popup menu: what it offers is built in modMenu; carrying out a command is done here or
// asked of the program.
#include "frmDaten.h"

#include "AlbumThumbnails.h"
#include "AlbumViews.h"
#include "ListFont.h"

#include "metadata/JpegTurn.h"
#include "model/AlbumListModel.h"
#include "model/ProgramState.h"
#include "operations/MediaPort.h"
#include "operations/NewAlbum.h"
#include "platform/Dialogs.h"
#include "platform/FileNames.h"
#include "platform/Shell.h"
#include "platform/WaitCursor.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListView>
#include <QMenu>
#include <QStyle>
#include <QTreeView>

namespace zv {

std::vector<int> frmDaten::selectedRowsAscending() const
{
    return zv::selectedRowsAscending(*lstBilder->selectionModel());
}

QStringList frmDaten::selectedNamesInListOrder() const
{
    QStringList names;
    for (const int r : selectedRowsAscending())
        names << m_services.list.row(r).name;
    return names;
}

void frmDaten::showMenu()
{
    MenuState state;
    state.hasDorido = QFileInfo(m_services.paths.programFolder + QStringLiteral("/Dorido")).isDir();
    state.viewMode = m_services.state.ViewMode;
    state.hasSelection = lstBilder->selectionModel()->hasSelection();
    state.picturesRunning = m_picturesRunning;
    if (m_services.driveUsage)
        state.drive = m_services.driveUsage();
    const std::unique_ptr<QMenu> menu = BuildPopupMenu(state, this);
    m_lastMenu = menu.get();
    QAction *chosen = menu->exec(QCursor::pos());
    m_lastMenu = nullptr;
    if (chosen)
        runMenuCommand(chosen->data().toInt());
}

void frmDaten::runMenuCommand(int identifier)
{
    switch (identifier) {
    case ViewIcons:
    case ViewSmallIcons:
    case ViewList:
    case ViewDetails:
        setViewMode(static_cast<AlbumView>(identifier));
        break;
    case SaveAs: // a new list each time: no export selection to empty with ClearCollection
        Q_EMIT exportRequested(selectedNamesInListOrder());
        break;
    case SelectAll:
        lstBilder->selectAll();
        break;
    case ChooseSkin:
        Q_EMIT skinChooserRequested();
        break;
    case RemoveFiles:
        DeleteSelected();
        break;
    case AddFiles:
        Q_EMIT importRequested();
        break;
    case NewAlbum:
        createNewAlbum();
        break;
    case OrderPrints:
        orderPrints();
        break;
    case TakeCameraDate:
        Q_EMIT cameraDatesRequested(selectedNamesInListOrder());
        break;
    case StopCameraDate:
        Q_EMIT cameraDatesStopRequested();
        break;
    case TurnUpright:
        turnSelected(Turn::Upright);
        break;
    case TurnLeft:
        turnSelected(Turn::Left);
        break;
    case TurnRight:
        turnSelected(Turn::Right);
        break;
    case StopTurns:
        Q_EMIT turnsStopRequested();
        break;
    default: // "Speicher-Info:", the chart and the drive texts only inform
        break;
    }
}

void frmDaten::fitListColumns()
{
    if (m_services.state.ViewMode != AlbumView::List)
        return;
    const AlbumListModel &list = m_services.list;
    const int names = widestText(
        list.rowCount(), [&list](int row) { return displayFileName(list.row(row).name); },
        // The shown file's row is set slanted, and a little wider.
        QFontMetrics(QFont(lstSymbole->font()).resolve(markedRowFont())));
    const QStyle *style = lstSymbole->style();
    const int padding = lstSymbole->iconSize().width() + 4 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 8;
    const int height = std::max(lstSymbole->iconSize().height(), lstSymbole->fontMetrics().height()) + 4;
    // The frame's inside, not the viewport: a hidden view's viewport is not laid out yet.
    lstSymbole->setGridSize(QSize(std::min(names + padding, lstSymbole->contentsRect().width() - 4), height));
}

void frmDaten::setViewMode(AlbumView mode)
{
    m_services.state.ViewMode = mode;
    const bool details = mode == AlbumView::Details;
    if (!details) {
        const bool list = mode == AlbumView::List;
        lstSymbole->setViewMode(list ? QListView::ListMode : QListView::IconMode);
        lstSymbole->setFlow(list ? QListView::TopToBottom : QListView::LeftToRight);
        lstSymbole->setWrapping(true);
        const bool icons = mode == AlbumView::Icons;
        // Thumbnails of 64 pixels and a line of name fill the 137 pixels of the list.
        const int icon = icons ? AlbumThumbnails::kIconSize : 16;
        lstSymbole->setIconSize(QSize(icon, icon));
        lstSymbole->setGridSize(icons ? QSize(96, 90) : QSize());
    }
    m_thumbnails->setShowing(mode == AlbumView::Icons);
    fitListColumns();
    allowDragAndDrop(lstSymbole); // QListView's modes turn dragging and dropping off or on
    lstSymbole->setVisible(!details);
    lstBilder->setVisible(details);
    (details ? static_cast<QWidget *>(lstBilder) : lstSymbole)->setFocus();
}

void frmDaten::createNewAlbum()
{
    const std::optional<QString> folder =
        m_services.dialogs.input(QStringLiteral("neues Album"),
                                 QStringLiteral("Geben sie den Pfad des neuen Albums ein"), proposedNewAlbumFolder());
    if (!folder || folder->isEmpty())
        return;
    NewAlbumOutcome outcome;
    {
        const WaitCursor hourglass;
        if (m_media)
            m_media->closeMovie();
        outcome = zv::createNewAlbum(m_services.paths, *folder, selectedNamesInListOrder(),
                                     {m_services.question, m_services.drives}, m_services.newAlbumProgram);
    }
    if (!outcome.failures.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("neues Album"), outcome.failures.join(QLatin1Char('\n')),
                                   MessageIcon::Warning, MessageButtons::Ok);
    }
    if (outcome.programFile.isEmpty())
        return;
    if (!m_services.shell.startProgram(outcome.programFile, {}, {}))
        m_services.dialogs.message(QStringLiteral("neues Album"),
                                   QStringLiteral("Das neue Album „%1“ konnte nicht gestartet werden.").arg(*folder),
                                   MessageIcon::Warning, MessageButtons::Ok);
}

void frmDaten::orderPrints()
{
    const QString program = printOrderingProgram(m_services.paths.programFolder);
    if (program.isEmpty()) {
        m_services.dialogs.message(QStringLiteral("bei Dorido bestellen"),
                                   QStringLiteral("Das Bestellprogramm „Dorido/ips“ fehlt im Albumordner oder lässt "
                                                  "sich nicht ausführen."),
                                   MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    QStringList paths;
    for (const QString &name : selectedNamesInListOrder())
        paths << m_services.paths.mediaFile(name);
    if (!m_services.shell.startProgram(program, paths, {}))
        m_services.dialogs.message(
            QStringLiteral("bei Dorido bestellen"),
            QStringLiteral("Das Bestellprogramm „%1“ konnte nicht gestartet werden.").arg(program),
            MessageIcon::Warning, MessageButtons::Ok);
}

} // namespace zv
