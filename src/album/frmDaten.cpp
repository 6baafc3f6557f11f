#include "frmDaten.h"

#include "AlbumThumbnails.h"
#include "AlbumViews.h"
#include "KindIcons.h"
#include "ListFont.h"
#include "PreviewBox.h"

#include "app/MainWindowLayout.h"
#include "model/Album.h"
#include "model/AlbumListModel.h"
#include "model/MediaKind.h"
#include "model/ProgramState.h"
#include "operations/MediaPort.h"
#include "platform/Dialogs.h"
#include "platform/WaitCursor.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"
#include "store/PictureTrailer.h"
#include "thumbnails/ThumbnailNames.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QStyle>
#include <QTreeView>
#include <QWindow>

namespace zv {
namespace {

constexpr std::array<int, AlbumListModel::ColumnCount> kColumnWidths = {190, 75, 85, 120, 96, 96, 96, 96};

} // namespace

void frmDaten::fitColumns()
{
    QHeaderView *header = lstBilder->header();
    const QFontMetrics cells(lstBilder->font());
    const int padding = 2 * (lstBilder->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, lstBilder) + 1) + 4;
    int kinds = 0;
    for (const MediaKind kind : {MediaKind::Video, MediaKind::Bild, MediaKind::Unbekannt})
        kinds = std::max(kinds, cells.horizontalAdvance(KindNames(kind)) + padding);
    for (int c = 0; c < AlbumListModel::ColumnCount; ++c) {
        const int design = kColumnWidths[static_cast<std::size_t>(c)];
        int width = std::max(design, header->sectionSizeHint(c));
        if (c == AlbumListModel::Typ)
            width = std::max(width, kinds);
        if (c == AlbumListModel::Dateiname)
            width = std::min(width, std::max(design, lstBilder->viewport()->width() / 2));
        header->resizeSection(c, width);
    }
}

frmDaten::frmDaten(MainWindowServices services, const QString &skinFolder, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_services(std::move(services))
    , m_skinImages(std::make_unique<SkinImages>())
{
    setObjectName(QStringLiteral("frmDaten"));
    setWindowTitle(QStringLiteral("Zidoverev"));
    setFixedSize(layout::kWindow);
    buildControls();
    // A skin that cannot be loaded completely still leaves a usable window; the user is told
    // once the window is up.
    m_skinProblem = applySkin(skinFolder);
}

frmDaten::~frmDaten()
{
    // The list outlives the window; the thumbnails do not.
    m_services.list.setDecorations([](const ListRow &row) { return QVariant(KindIcons::icon(row.kind)); }, {});
}

void frmDaten::buildControls()
{
    picMenue = new SkinPanel(QStringLiteral("picMenue"), this);
    picMenue->setGeometry(layout::kMenuPanel);

    imgLogo = new QLabel(picMenue);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(layout::kLogo);
    imgLogo->setScaledContents(true);

    picVorschau = new PreviewBox(this);
    picVorschau->setGeometry(layout::kPreview);
    connect(picVorschau, &PreviewBox::doubleClicked, this, [this] {
        if (!m_services.state.CurrentFile.isEmpty()) // the shown file was deleted
            Q_EMIT pictureWindowRequested(m_services.state.CurrentFile);
    });

    imgSearch = new QLabel(this);
    imgSearch->setObjectName(QStringLiteral("imgSearch"));
    imgSearch->setGeometry(layout::kSearchFrame);
    imgSearch->hide(); // the frame marks search mode
    m_fields = std::make_unique<InfoFields>(this);

    picSuche = new SkinPanel(QStringLiteral("picSuche"), this);
    picSuche->setGeometry(layout::kSearchPanel);
    picSuche->hide(); // shown in search mode only

    pbarSearch = new QProgressBar(this);
    pbarSearch->setObjectName(QStringLiteral("pbarSearch"));
    pbarSearch->setGeometry(layout::kProgress);
    pbarSearch->setTextVisible(false);
    pbarSearch->hide();

    buildList();
    buildButtons();
    connectButtons();

    cmdSaveX = new QLabel(picMenue);
    cmdSaveX->setObjectName(QStringLiteral("cmdSaveX"));
    cmdSaveX->setGeometry(layout::kSaveLock);
    cmdSaveX->setScaledContents(true);
    cmdSaveX->setToolTip(QStringLiteral("Dieses Album liegt auf einem schreibgeschützten Datenträger."));
    cmdSaveX->hide();
}

void frmDaten::buildList()
{
    lstBilder = new AlbumTreeView(this);
    lstBilder->setObjectName(QStringLiteral("lstBilder"));
    lstBilder->setGeometry(layout::kList);
    lstBilder->setFont(dialogFont());
    lstBilder->setRootIsDecorated(false);
    lstBilder->setItemsExpandable(false);
    lstBilder->setUniformRowHeights(true); // a long album scrolls without measuring every row
    lstBilder->setAllColumnsShowFocus(true);
    lstBilder->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBilder->setSelectionBehavior(QAbstractItemView::SelectRows);
    // A second click on the selected row's name, or F2, edits it as the platform does.
    lstBilder->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    m_services.list.setRenameHandler([this](int row, const QString &name) { return renameRow(row, name); });
    lstBilder->setModel(&m_services.list);
    lstBilder->header()->setStretchLastSection(false);
    lstBilder->header()->setSectionsMovable(false);
    lstBilder->header()->setSectionsClickable(true);
    lstBilder->header()->setSortIndicatorShown(true);
    lstBilder->header()->setSortIndicator(-1, Qt::AscendingOrder);
    connect(lstBilder->header(), &QHeaderView::sectionClicked, this, &frmDaten::sortByHeader);
    lstBilder->header()->setTextElideMode(Qt::ElideRight);
    fitColumns();
    connect(&m_services.list, &QAbstractItemModel::headerDataChanged, this, &frmDaten::fitColumns);
    // Coalesced: an import or a refill changes rows in many runs.
    m_listColumns.setSingleShot(true);
    connect(&m_listColumns, &QTimer::timeout, this, &frmDaten::fitListColumns);
    const auto later = [this] { m_listColumns.start(); };
    connect(&m_services.list, &QAbstractItemModel::rowsInserted, this, later);
    connect(&m_services.list, &QAbstractItemModel::rowsRemoved, this, later);
    connect(&m_services.list, &QAbstractItemModel::dataChanged, this, later);
    connect(&m_services.list, &QAbstractItemModel::modelReset, this, later);
    lstBilder->installEventFilter(this);
    lstBilder->viewport()->installEventFilter(this);
    connect(lstBilder, &QAbstractItemView::clicked, this, [this] { ShowSelected(); });

    // Icons, small icons and list show the same rows with the same selection.
    lstSymbole = new AlbumIconView(this);
    lstSymbole->setObjectName(QStringLiteral("lstSymbole"));
    lstSymbole->setGeometry(layout::kList);
    lstSymbole->setFont(dialogFont());
    m_thumbnails = new AlbumThumbnails(*lstSymbole, m_services.list, m_services.paths,
                                       thumbnails::cacheRoot(qgetenv("XDG_CACHE_HOME"), qgetenv("HOME")));
    m_services.list.setDecorations([this](const ListRow &row) { return m_thumbnails->decoration(row); },
                                   markedRowFont());
    lstSymbole->setModel(&m_services.list);
    lstSymbole->setSelectionModel(lstBilder->selectionModel());
    lstSymbole->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstSymbole->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstSymbole->setEditTriggers(lstBilder->editTriggers());
    lstSymbole->setUniformItemSizes(true);
    lstSymbole->setResizeMode(QListView::Adjust);
    lstSymbole->hide();
    lstSymbole->installEventFilter(this);
    lstSymbole->viewport()->installEventFilter(this);
    connect(lstSymbole, &QAbstractItemView::clicked, this, [this] { ShowSelected(); });
    m_services.list.setMediaFolder(m_services.paths.mediaFolder());
    allowDragAndDrop(lstBilder);
    allowDragAndDrop(lstSymbole);

    connect(lstBilder->selectionModel(), &QItemSelectionModel::selectionChanged, this, &frmDaten::updateShownMark);
    connect(lstBilder->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmDaten::updateShownMark);
}

void frmDaten::setPlayer(QWidget *playerBar, MediaPort *media)
{
    m_media = media;
    ctrlAV1 = playerBar;
    if (playerBar) {
        playerBar->setParent(this);
        playerBar->setGeometry(layout::kPlayerBar);
        playerBar->show();
    }
}

QAbstractItemView *frmDaten::shownList() const
{
    if (m_services.state.ViewMode == AlbumView::Details)
        return lstBilder;
    return lstSymbole;
}

void frmDaten::FillList(const std::function<void(int, int)> &startupProgress)
{
    QAbstractItemView *shown = shownList();
    shown->hide();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const int total = static_cast<int>(m_services.album.size());
    pbarSearch->setMaximum(total);
    // A bar moves by pixels; setting it per row would only repaint what cannot be seen.
    const int step = std::max(1, total / 200);
    m_services.list.fill(m_services.album, [&](int i, int n) {
        if (i % step != 0 && i != n)
            return;
        pbarSearch->setValue(i);
        if (startupProgress)
            startupProgress(i, n);
    });
    // The rows are in album order again; no header claims otherwise.
    m_sortState.reset();
    showSortIcons();
    m_listNarrowed = false;
    if (m_services.list.rowCount() > 0)
        lstBilder->setCurrentIndex(m_services.list.index(0, 0));
    updateShownMark();
    shown->show();
}

void frmDaten::showMainWindow()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
    lstBilder->setFocus();
    if (!m_skinProblem.isEmpty()) {
        const QString problem = std::exchange(m_skinProblem, QString());
        m_services.dialogs.message(QStringLiteral("Zidoverev"),
                                   problem + QStringLiteral("\n\nDas Album ist trotzdem vollständig benutzbar."),
                                   MessageIcon::Warning, MessageButtons::Ok);
    }
}

void frmDaten::setSaveLocked(bool locked)
{
    cmdSaveX->setVisible(locked);
    if (locked)
        cmdSaveX->raise();
}

const QString &frmDaten::currentFile() const
{
    return m_services.state.CurrentFile;
}

int frmDaten::selectedRow() const
{
    const QModelIndex current = lstBilder->currentIndex();
    if (!current.isValid() || !lstBilder->selectionModel()->isSelected(current))
        return -1;
    return current.row();
}

bool frmDaten::mediaBusy() const
{
    return m_media && m_media->isBusy();
}

QString frmDaten::currentName() const
{
    return m_services.paths.mediaName(m_services.state.CurrentFile);
}

void frmDaten::updateShownMark()
{
    const QString shown = currentName();
    const int row = selectedRow();
    const bool shownIsSelected = row >= 0 && m_services.list.row(row).name == shown;
    m_services.list.setMarkedName(shownIsSelected ? QString() : shown);
}

void frmDaten::showNoFile()
{
    m_services.state.CurrentFile.clear();
    picVorschau->clear();
    m_fields->show({});
    updateShownMark();
}

void frmDaten::ShowSelected()
{
    // A click that arrives while the device still opens the last file would open a second one
    // inside the first.
    if (mediaBusy())
        return;
    const WaitCursor hourglass;
    const int row = selectedRow();
    ProgramState &state = m_services.state;
    if (row >= 0)
        state.CurrentFile = m_services.paths.mediaFile(m_services.list.row(row).name);

    if (m_media)
        m_media->closeMovie();

    if (row >= 0) {
        switch (m_services.list.row(row).kind) {
        case MediaKind::Bild:
            picVorschau->showPicture(state.CurrentFile);
            break;
        case MediaKind::Video:
            picVorschau->hidePicture();
            if (m_media)
                m_media->openVideo(state.CurrentFile);
            break;
        case MediaKind::Unbekannt:
            break;
        }
    }
    // With no file shown (it was deleted) there is nothing to read; the boxes stay empty.
    m_fields->show(state.CurrentFile.isEmpty() ? PictureInfo{} : trimmed(ReadPictureInfo(state.CurrentFile).info));
    state.SearchWordsInBoxes = false;
    updateShownMark();
}

void frmDaten::firstActivation()
{
    m_activatedOnce = true;
    if (m_services.album.isEmpty())
        return;
    m_services.state.CurrentFile = m_services.paths.mediaFile(m_services.album.at(0).name);
    ShowSelected();
}

void frmDaten::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !m_activatedOnce)
        firstActivation();
}

void frmDaten::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_background.isNull())
        painter.fillRect(rect(), QColor(255, 224, 192));
    else
        painter.drawPixmap(0, 0, m_background);
}

void frmDaten::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    // Only the free surface is a handle: presses on panels, the logo or the frame end here too,
    // as those do not take mouse input themselves.
    if (childAt(event->position().toPoint()) != nullptr)
        return;
    lstBilder->setFocus();
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove(); // the window manager drags it like by its title bar
}

void frmDaten::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::RightButton && childAt(event->position().toPoint()) == nullptr)
        showMenu();
}

bool frmDaten::eventFilter(QObject *watched, QEvent *event)
{
    if (dragEvent(watched, event))
        return true;
    if ((watched == lstBilder->viewport() || watched == lstSymbole->viewport())
        && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        showMenu();
        return true;
    }
    if (watched == lstSymbole)
        watched = lstBilder; // the keys mean the same in every view
    // F2 edits the name whichever cell of the row is current: the name is the row's label.
    // A rename is of one file: with several rows selected F2 does nothing.
    if (watched == lstBilder && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F2) {
        if (selectedRow() >= 0 && selectedRowsAscending().size() == 1)
            shownList()->edit(lstBilder->currentIndex().siblingAtColumn(AlbumListModel::Dateiname));
        return true;
    }
    if (watched == lstBilder && event->type() == QEvent::KeyRelease) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (!key->isAutoRepeat())
                ShowSelected();
            break;
        case Qt::Key_Delete:
            if (!key->isAutoRepeat())
                DeleteSelected();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zv
