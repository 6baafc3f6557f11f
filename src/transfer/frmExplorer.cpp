#include "frmExplorer.h"

#include "FolderTreeView.h"
#include "frmRequest.h"
#include "TransferDriver.h"
#include "TransferIcons.h"

#include "model/SettingsKeys.h"
#include "operations/Numbering.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace zv {
namespace {
constexpr int twips(int t)
{
    return t / 15;
}
constexpr int kMargin = twips(300); // the border keeps this far from either edge
constexpr int kEdge = twips(120); // around the bottom row's groups
constexpr int kGap = twips(60); // within the numbering group
constexpr int kPathRole = Qt::UserRole + 1;
} // namespace

frmExplorer::frmExplorer(ExplorerServices services, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_services(std::move(services))
    , m_tv(new FolderTreeView(m_services.folders, true, this))
    , m_lv(new QTreeWidget(this))
    , m_picDrop(new QProgressBar(this))
    , m_chkNumber(new QCheckBox(QStringLiteral("Dateien fortlaufend nummerieren und bei"), this))
    , m_txtNumber(new QLineEdit(QStringLiteral("000000"), this))
    , m_lblBegin(new QLabel(QStringLiteral("beginnen."), this))
    , m_chkAufnahmedatum(new QCheckBox(QStringLiteral("Aufnahmedatum übernehmen"), this))
    , m_cmdAdd(new QPushButton(QStringLiteral("hinzufügen"), this))
    , m_cmdCancel(new QPushButton(QStringLiteral("abbrechen"), this))
    , m_driver(new TransferDriver(this))
    , m_channel(std::make_shared<ResultChannel>(this))
{
    setObjectName(QStringLiteral("frmExplorer"));
    setWindowTitle(QStringLiteral("Velmora - Dateien einfügen"));
    if (!m_services.question) {
        m_request = std::make_unique<frmRequest>();
        m_services.question = m_request.get();
    }
    m_lv->setObjectName(QStringLiteral("lv"));
    m_lv->setHeaderLabels({QStringLiteral("Dateiname"), QStringLiteral("Größe")});
    m_lv->setRootIsDecorated(false);
    m_lv->setUniformRowHeights(true);
    m_lv->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_picDrop->setObjectName(QStringLiteral("picDrop"));
    m_picDrop->setOrientation(Qt::Vertical);
    m_picDrop->setTextVisible(false);
    m_picDrop->setFixedWidth(twips(120));
    m_picDrop->setCursor(Qt::SplitHCursor);
    m_picDrop->setValue(0);
    m_picDrop->installEventFilter(this);
    m_chkNumber->setObjectName(QStringLiteral("chkNumber"));
    m_txtNumber->setObjectName(QStringLiteral("txtNumber"));
    m_lblBegin->setObjectName(QStringLiteral("lblBegin"));
    m_chkAufnahmedatum->setObjectName(QStringLiteral("chkAufnahmedatum"));
    m_cmdAdd->setObjectName(QStringLiteral("cmdAdd"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    // Each control as large as its caption needs in the font of the day, never below the design.
    const QSize buttonSize = QSize(twips(1215), twips(375))
                                 .expandedTo(m_cmdAdd->sizeHint())
                                 .expandedTo(m_cmdCancel->sizeHint())
                                 .expandedTo(QSize(0, m_txtNumber->sizeHint().height()));
    m_cmdAdd->resize(buttonSize);
    m_cmdCancel->resize(buttonSize);
    m_chkNumber->adjustSize();
    m_lblBegin->adjustSize();
    m_chkAufnahmedatum->adjustSize();
    const int numberWidth = m_txtNumber->fontMetrics().horizontalAdvance(QStringLiteral("00000000"));
    m_txtNumber->resize(std::max(twips(900), numberWidth), buttonSize.height());
    // The window never gets narrower than its bottom row, so nothing there overlaps.
    const int row = kEdge + m_chkNumber->width() + kGap + m_txtNumber->width() + kGap + m_lblBegin->width() + kEdge
                    + m_chkAufnahmedatum->width() + kEdge + m_cmdAdd->width() + kEdge + m_cmdCancel->width() + kEdge;
    setMinimumSize(row, buttonSize.height() * 3 / 2 + twips(1500));

    // The name takes the free width, so long names stay apart; the size only what it needs.
    m_lv->header()->setStretchLastSection(false);
    m_lv->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_lv->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    m_txtNumber->setText(m_services.settings.value(kImportSection, kNumberKey, QStringLiteral("0")));
    connect(m_txtNumber, &QLineEdit::textChanged, this, &frmExplorer::validateNumber);
    m_chkNumber->setChecked(m_services.settings.value(kImportSection, kChkStateKey, QStringLiteral("0"))
                            == QLatin1String("1"));
    m_chkAufnahmedatum->setChecked(m_services.settings.value(kImportSection, kCameraDateKey, QStringLiteral("0"))
                                   == QLatin1String("1"));
    connect(m_tv, &FolderTreeView::folderClicked, this, &frmExplorer::listFolder);
    connect(m_cmdAdd, &QPushButton::clicked, this, &frmExplorer::startImport);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    connect(m_driver, &TransferDriver::handled, m_picDrop, &QProgressBar::setValue);
    connect(m_driver, &TransferDriver::failed, this, [this](const TransferFailure &f) {
        m_services.dialogs.message(f.title, f.text, MessageIcon::Critical, MessageButtons::Ok);
    });
    connect(m_driver, &TransferDriver::stopped, this, [this](const QString &title, const QString &text) {
        m_services.dialogs.message(title, text, MessageIcon::Critical, MessageButtons::Ok);
    });
    connect(m_driver, &TransferDriver::finished, this, &frmExplorer::importDone);

    m_tv->fillInBackground(m_services.drives, FolderTree::Offer::AllDrives);
    m_tv->openAt(m_services.settings.value(kImportSection, kLastFolderKey, {}));
    resize(QSize(twips(8130), twips(4575)).expandedTo(minimumSize()));
    m_innerWidth = width();
    placeBorder(twips(2700));
}

frmExplorer::~frmExplorer()
{
    m_channel->close();
    delete m_driver; // before m_run: the copy at hand may be amended for it on the worker
}

bool frmExplorer::isImporting() const
{
    return m_driver->isRunning();
}

void frmExplorer::listFolder(const QString &folder)
{
    const int listing = ++m_listing;
    m_services.settings.setValue(kImportSection, kLastFolderKey, folder);
    setCursor(Qt::WaitCursor);
    m_lv->clear();
    // Off the user-interface thread: a network folder may take its time.
    readInBackground<FolderFiles>(
        m_channel, [folder] { return listFolderFiles(folder); },
        [this, listing](FolderFiles files) {
            if (listing == m_listing)
                showFiles(files);
        });
}

void frmExplorer::showFiles(const FolderFiles &files)
{
    QList<QTreeWidgetItem *> rows;
    rows.reserve(qsizetype(files.files.size()));
    for (const ListedFile &f : files.files) {
        auto *row = new QTreeWidgetItem({displayFileName(f.name), QString::number(f.sizeKB)});
        row->setData(0, kPathRole, f.path);
        row->setIcon(0, transferIcon(f.kind));
        rows << row;
    }
    m_lv->addTopLevelItems(rows);
    unsetCursor();
    if (files.error != 0) {
        const ListingMessage m = listingMessage(files.error);
        m_services.dialogs.message(m.title, m.text, MessageIcon::None, MessageButtons::Ok);
    }
    Q_EMIT listed();
}

void frmExplorer::validateNumber(const QString &text)
{
    if (isNumberText(text))
        return;
    m_txtNumber->setText(m_services.settings.value(kImportSection, kNumberKey, QStringLiteral("0")));
    m_services.dialogs.message(QStringLiteral("Hinweis"), QStringLiteral("Bitte nur Zahlen eingeben"),
                               MessageIcon::Information, MessageButtons::Ok);
}

void frmExplorer::startImport()
{
    if (m_driver->isRunning())
        return;
    QStringList sources;
    for (int i = 0; i < m_lv->topLevelItemCount(); ++i)
        if (m_lv->topLevelItem(i)->isSelected())
            sources << m_lv->topLevelItem(i)->data(0, kPathRole).toString();
    m_run = std::make_unique<ImportRun>(
        ImportContext{m_services.paths, m_services.album, &m_services.list, m_services.drives, m_services.settings,
                      *m_services.question},
        sources, ImportOptions{m_chkNumber->isChecked(), m_txtNumber->text(), m_chkAufnahmedatum->isChecked()});
    if (const auto refused = m_run->begin()) {
        m_services.dialogs.message(refused->title, refused->text, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    if (sources.isEmpty())
        return;
    setCursor(Qt::WaitCursor);
    // No second import while this one runs or its question waits.
    m_cmdAdd->setEnabled(false);
    m_picDrop->setMaximum(int(sources.size()));
    m_picDrop->setValue(0);
    m_driver->start(*m_run);
}

void frmExplorer::importDone(bool completed)
{
    unsetCursor();
    m_cmdAdd->setEnabled(true);
    m_run->end();
    if (m_closeWhenDone) {
        close();
        return;
    }
    if (completed) {
        QString done = QStringLiteral("Aktion ausgeführt.");
        if (m_chkAufnahmedatum->isChecked())
            done += QStringLiteral("\n\n") + cameraDateSummary(m_run->cameraDates());
        m_services.dialogs.message(QString(), done, MessageIcon::None, MessageButtons::Ok);
        m_cmdCancel->setText(QStringLiteral("fertig"));
    }
    Q_EMIT importFinished();
}

void frmExplorer::placeBorder(int left)
{
    const int w = width();
    m_picDrop->move(left, m_picDrop->y());
    m_tv->resize(left, m_tv->height());
    const int lvLeft = left + m_picDrop->width();
    m_lv->setGeometry(lvLeft, m_lv->y(), w - lvLeft, m_lv->height());
}

void frmExplorer::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int h = height();
    const int buttonH = m_cmdAdd->height();
    const int top = h - buttonH * 5 / 4;
    m_chkNumber->move(kEdge, top + (buttonH - m_chkNumber->height()) / 2);
    m_txtNumber->move(m_chkNumber->x() + m_chkNumber->width() + kGap, top);
    m_lblBegin->move(m_txtNumber->x() + m_txtNumber->width() + kGap, top + (buttonH - m_lblBegin->height()) / 2);
    m_chkAufnahmedatum->move(m_lblBegin->x() + m_lblBegin->width() + kEdge,
                             top + (buttonH - m_chkAufnahmedatum->height()) / 2);
    m_cmdCancel->move(width() - m_cmdCancel->width() - kEdge, top);
    m_cmdAdd->move(m_cmdCancel->x() - m_cmdAdd->width() - kEdge, top);
    const int paneH = h - buttonH * 3 / 2;
    m_tv->setGeometry(0, 0, m_tv->width(), paneH);
    m_lv->setGeometry(m_lv->x(), 0, m_lv->width(), paneH);
    m_picDrop->setGeometry(m_picDrop->x(), 0, m_picDrop->width(), paneH);
    // The border keeps its share of the width.
    if (m_innerWidth > 0)
        placeBorder(int(qint64(m_picDrop->x()) * width() / m_innerWidth));
    m_innerWidth = width();
}

bool frmExplorer::eventFilter(QObject *watched, QEvent *event)
{
    // A press on picDrop grabs the mouse for it; the moves that follow arrive here.
    if (watched == m_picDrop && event->type() == QEvent::MouseMove) {
        const auto *move = static_cast<QMouseEvent *>(event);
        const int x = m_picDrop->mapTo(this, move->position().toPoint()).x();
        if (move->buttons() == Qt::LeftButton && x > kMargin && x < m_innerWidth - kMargin)
            placeBorder(x - m_picDrop->width() / 2);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmExplorer::closeEvent(QCloseEvent *event)
{
    if (m_driver->isRunning()) {
        // The copy under way is abandoned without a trace; the window goes when it has stopped.
        m_closeWhenDone = true;
        m_driver->cancel();
        event->ignore();
        return;
    }
    m_services.settings.setValue(kImportSection, kChkStateKey,
                                 m_chkNumber->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    m_services.settings.setValue(kImportSection, kCameraDateKey,
                                 m_chkAufnahmedatum->isChecked() ? QStringLiteral("1") : QStringLiteral("0"));
    event->accept();
}

} // namespace zv
