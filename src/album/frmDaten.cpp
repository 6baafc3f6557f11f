#include "frmDaten.h"

#include "AlbumListModel.h"
#include "RemarksBox.h"

#include "app/Album.h"
#include "app/AppSettings.h"
#include "app/MainWindowLayout.h"
#include "platform/Dialogs.h"
#include "platform/Shell.h"
#include "skins/ImageButton.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"
#include "store/PictureTrailer.h"
#include "platform/BoxFit.h"
#include "viewing/PictureLoader.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QProgressBar>
#include <QTreeView>
#include <QWindow>

namespace zv {
namespace {

// The list and the field labels use the system's small bold dialog font.
QFont dialogFont()
{
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    font.setBold(true);
    return font;
}

class OverrideCursor {
public:
    OverrideCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~OverrideCursor() { QApplication::restoreOverrideCursor(); }
    OverrideCursor(const OverrideCursor &) = delete;
    OverrideCursor &operator=(const OverrideCursor &) = delete;
};

constexpr std::array<int, AlbumListModel::ColumnCount> kColumnWidths = {190, 75, 85, 120, 96, 96, 96, 1440};

} // namespace

frmDaten::frmDaten(MainWindowServices services, QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_services(std::move(services))
    , m_skinImages(std::make_unique<SkinImages>())
    , m_model(new AlbumListModel(this))
{
    setObjectName(QStringLiteral("frmDaten"));
    setWindowTitle(QStringLiteral("Zidoverev"));
    setFixedSize(layout::kWindow);
    buildControls();
    // A skin that cannot be loaded completely still leaves a usable window; the user is told
    // once the window is up.
    m_skinProblem = applySkin(m_services.settings.SkinPath);
}

frmDaten::~frmDaten() = default;

void frmDaten::buildControls()
{
    picMenue = new SkinPanel(QStringLiteral("picMenue"), this);
    picMenue->setGeometry(layout::kMenuPanel);

    imgLogo = new QLabel(picMenue);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry(layout::kLogo);
    imgLogo->setScaledContents(true);

    picVorschau = new SkinPanel(QStringLiteral("picVorschau"), this);
    picVorschau->setGeometry(layout::kPreview);
    picVorschau->installEventFilter(this);
    imgvorschau = new QLabel(picVorschau);
    imgvorschau->setObjectName(QStringLiteral("imgvorschau"));
    imgvorschau->setScaledContents(true);
    imgvorschau->hide();
    imgvorschau->installEventFilter(this);

    imgSearch = new QLabel(this);
    imgSearch->setObjectName(QStringLiteral("imgSearch"));
    imgSearch->setGeometry(layout::kSearchFrame);
    buildInformationFields();

    picSuche = new SkinPanel(QStringLiteral("picSuche"), this);
    picSuche->setGeometry(layout::kSearchPanel);
    picSuche->hide(); // shown in search mode only

    pbarSearch = new QProgressBar(this);
    pbarSearch->setObjectName(QStringLiteral("pbarSearch"));
    pbarSearch->setGeometry(layout::kProgress);
    pbarSearch->setTextVisible(false);
    pbarSearch->hide();

    lstBilder = new QTreeView(this);
    lstBilder->setObjectName(QStringLiteral("lstBilder"));
    lstBilder->setGeometry(layout::kList);
    lstBilder->setFont(dialogFont());
    lstBilder->setRootIsDecorated(false);
    lstBilder->setItemsExpandable(false);
    lstBilder->setUniformRowHeights(true); // a long album scrolls without measuring every row
    lstBilder->setAllColumnsShowFocus(true);
    lstBilder->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lstBilder->setSelectionBehavior(QAbstractItemView::SelectRows);
    lstBilder->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstBilder->setModel(m_model);
    lstBilder->header()->setStretchLastSection(false);
    lstBilder->header()->setSectionsMovable(false);
    for (int c = 0; c < AlbumListModel::ColumnCount; ++c)
        lstBilder->header()->resizeSection(c, kColumnWidths[static_cast<std::size_t>(c)]);
    lstBilder->installEventFilter(this);
    connect(lstBilder, &QAbstractItemView::clicked, this, [this] { ShowSelected(); });

    buildButtons();
    connectButtons();

    cmdSaveX = new QLabel(picMenue);
    cmdSaveX->setObjectName(QStringLiteral("cmdSaveX"));
    cmdSaveX->setGeometry(layout::kSaveLock);
    cmdSaveX->setScaledContents(true);
    cmdSaveX->setToolTip(QStringLiteral("Dieses Album liegt auf einem schreibgeschützten Datenträger."));
    cmdSaveX->hide();
}

void frmDaten::buildInformationFields()
{
    struct Field {
        const char *label;
        const char *name;
        int maxLength;
    };
    const Field fields[] = {{"Datum:", "txtDatum", 10},
                            {"Ort:", "txtOrt", 128},
                            {"Namen:", "txtNamen", 128},
                            {"Anlass:", "txtStichWorte", 128}};
    QFont boxFont;
    boxFont.setPixelSize(11);
    int top = layout::kFieldTop;
    QLineEdit **boxes[] = {&txtDatum, &txtOrt, &txtNamen, &txtStichWorte};
    for (std::size_t i = 0; i < std::size(fields); ++i, top += layout::kFieldPitch) {
        auto *label = new QLabel(QString::fromUtf8(fields[i].label), this);
        label->setFont(dialogFont());
        label->setGeometry(layout::kFieldLabelLeft, top - 2, layout::kFieldLabelWidth, layout::kField.height() + 4);
        auto *box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(fields[i].name));
        box->setMaxLength(fields[i].maxLength);
        box->setFrame(false);
        box->setFont(boxFont);
        box->setTextMargins(2, 0, 0, 0);
        box->setGeometry(QRect(QPoint(layout::kFieldLeft, top), layout::kField));
        *boxes[i] = box;
    }
    auto *label = new QLabel(QStringLiteral("Bemerkungen:"), this);
    label->setFont(dialogFont());
    label->setGeometry(layout::kFieldLabelLeft, top - 2, layout::kFieldLabelWidth, layout::kField.height() + 4);
    txtBemerkungen = new RemarksBox(512, layout::kRemarksFocusedHeight, this);
    txtBemerkungen->setObjectName(QStringLiteral("txtBemerkungen"));
    txtBemerkungen->setFont(boxFont);
    txtBemerkungen->setGeometry(QRect(QPoint(layout::kFieldLeft, top), layout::kField));
    txtBemerkungen->setCollapsedHeight(layout::kField.height());
}

void frmDaten::setPlayer(QWidget *playerBar, MediaHooks hooks)
{
    m_media = std::move(hooks);
    ctrlAV1 = playerBar;
    if (playerBar) {
        playerBar->setParent(this);
        playerBar->setGeometry(layout::kPlayerBar);
        playerBar->show();
    }
}

QWidget *frmDaten::previewBox() const
{
    return picVorschau;
}

void frmDaten::fillList(QProgressBar *startupProgress)
{
    fillList(startupProgress, true);
}

void frmDaten::FillList()
{
    fillList(nullptr, false);
}

void frmDaten::fillList(QProgressBar *startupProgress, bool startupOpen)
{
    lstBilder->hide();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    const int total = static_cast<int>(m_services.album.size());
    pbarSearch->setMaximum(total);
    if (startupOpen && startupProgress)
        startupProgress->setMaximum(total);
    // A bar moves by pixels; setting it per row would only repaint what cannot be seen.
    const int step = std::max(1, total / 200);
    m_model->fill(m_services.album, [&](int i, int n) {
        if (i % step != 0 && i != n)
            return;
        pbarSearch->setValue(i);
        if (startupOpen && startupProgress) {
            startupProgress->setValue(i);
            startupProgress->repaint();
        }
    });
    if (m_model->rowCount() > 0)
        lstBilder->setCurrentIndex(m_model->index(0, 0));
    lstBilder->show();
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

void frmDaten::ShowSelected()
{
    const OverrideCursor hourglass;
    const QModelIndex current = lstBilder->selectionModel()->isSelected(lstBilder->currentIndex())
                                    ? lstBilder->currentIndex()
                                    : QModelIndex();
    if (current.isValid())
        m_currentFile = m_services.paths.mediaFile(m_model->text(current.row(), AlbumListModel::Dateiname));

    if (m_media.closeMovie)
        m_media.closeMovie();

    if (current.isValid()) {
        const QString kind = m_model->text(current.row(), AlbumListModel::Typ);
        if (kind == KindNames(MediaKind::Bild)) {
            showPicture();
        } else if (kind == KindNames(MediaKind::Video)) {
            imgvorschau->hide();
            if (m_media.openVideo)
                m_media.openVideo(m_currentFile);
        }
    }

    const PictureInfo info = trimmed(ReadPictureInfo(m_currentFile).info);
    txtDatum->setText(info.datum);
    txtOrt->setText(info.ort);
    txtNamen->setText(info.namen);
    txtStichWorte->setText(info.anlass);
    txtBemerkungen->setPlainText(info.bemerkungen);
}

void frmDaten::showPicture()
{
    // A picture that cannot be decoded leaves the last good one in the buffer, shown again.
    if (auto picture = loadPicture(m_currentFile, picVorschau->size())) {
        m_previewBuffer = std::move(picture->image);
        m_previewNatural = picture->naturalSize;
    }
    imgvorschau->hide();
    if (m_previewBuffer.isNull())
        return;
    m_previewRect = fitIntoBox(m_previewNatural, picVorschau->size());
    imgvorschau->setGeometry(m_previewRect.toRect());
    imgvorschau->setPixmap(QPixmap::fromImage(m_previewBuffer));
    imgvorschau->show();
}

void frmDaten::firstActivation()
{
    m_activatedOnce = true;
    if (m_services.album.isEmpty())
        return;
    m_currentFile = m_services.paths.mediaFile(m_services.album.at(0).name);
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
    lstBilder->setFocus();
    if (event->button() == Qt::LeftButton && windowHandle())
        windowHandle()->startSystemMove(); // the window manager drags it like by its title bar
    QWidget::mousePressEvent(event);
}

bool frmDaten::eventFilter(QObject *watched, QEvent *event)
{
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
        default:
            break;
        }
    } else if ((watched == picVorschau || watched == imgvorschau) && event->type() == QEvent::MouseButtonDblClick) {
        Q_EMIT pictureWindowRequested(m_currentFile);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace zv
