#include "frmSaveFiles.h"

#include "FolderTreeView.h"
#include "frmRequest.h"
#include "TransferDriver.h"

#include "model/SettingsKeys.h"
#include "platform/Dialogs.h"
#include "platform/Drives.h"
#include "platform/FileNames.h"
#include "platform/SettingsStore.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

namespace zv {
namespace {
constexpr int twips(int t)
{
    return t / 15;
}
} // namespace

frmSaveFiles::frmSaveFiles(SaveFilesServices services, QWidget *parent)
    : QWidget(parent, Qt::Tool)
    , m_services(std::move(services))
    , m_tv(new FolderTreeView(m_services.folders, false, this))
    , m_pb(new QProgressBar(this))
    , m_cmdSave(new QPushButton(QStringLiteral("speichern"), this))
    , m_driver(new TransferDriver(this))
{
    setObjectName(QStringLiteral("frmSaveFiles"));
    setWindowTitle(QStringLiteral("Velmora - Speichern unter"));
    if (!m_services.question) {
        m_request = std::make_unique<frmRequest>();
        m_services.question = m_request.get();
    }
    m_pb->setObjectName(QStringLiteral("pb"));
    m_pb->setTextVisible(false);
    // An idle bar looks like an empty text box: it shows only while files are copied.
    m_pb->hide();
    m_cmdSave->setObjectName(QStringLiteral("cmdSave"));
    m_cmdSave->resize(twips(1215), twips(375));
    connect(m_cmdSave, &QPushButton::clicked, this, &frmSaveFiles::save);
    connect(m_driver, &TransferDriver::copying, this,
            [this](const TransferStep &step) { setWindowTitle(copyingTitle(displayFileName(step.targetName))); });
    connect(m_driver, &TransferDriver::handled, m_pb, &QProgressBar::setValue);
    connect(m_driver, &TransferDriver::failed, this, [this](const TransferFailure &f) {
        m_services.dialogs.message(f.title, f.text, MessageIcon::Critical, MessageButtons::Ok);
    });
    connect(m_driver, &TransferDriver::finished, this, [this] {
        unsetCursor();
        m_pb->hide();
        Q_EMIT exported();
        close();
    });
    m_tv->fillInBackground(m_services.drives, FolderTree::Offer::NoCdOrUnknown);
    m_tv->openAt(m_services.settings.value(kExportSection, kLastFolderKey, {}));
    // Room to find a folder in a deep tree; the user's own size wins, as far as the screen has it.
    setMinimumSize(twips(4050), twips(3000));
    const auto stored = [this](const QString &key, int fallback) {
        bool ok = false;
        const int v = m_services.settings.value(kExportSection, key, {}).toInt(&ok);
        return ok && v > 0 ? v : fallback;
    };
    QSize size(stored(kWidthKey, 480), stored(kHeightKey, 560));
    if (const QScreen *s = screen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size.expandedTo(minimumSize()));
}

frmSaveFiles::~frmSaveFiles() = default;

void frmSaveFiles::save()
{
    if (m_driver->isRunning())
        return;
    const QString folder = m_tv->selectedFolder();
    if (folder.isEmpty()) {
        m_services.dialogs.message(
            QStringLiteral("Hinweis"),
            QStringLiteral("Bitte zuerst einen Ordner auswählen, in den gespeichert werden soll."),
            MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    remember();
    setCursor(Qt::WaitCursor);
    if (m_services.closeMovie)
        m_services.closeMovie();
    QCoreApplication::processEvents();
    m_run = std::make_unique<ExportRun>(m_services.paths, folder, m_services.ExportSelection, *m_services.question);
    m_cmdSave->setEnabled(false);
    m_pb->setMaximum(std::max(1, int(m_services.ExportSelection.size())));
    m_pb->setValue(0);
    m_pb->show();
    m_driver->start(*m_run);
}

bool frmSaveFiles::isCopying() const
{
    return m_driver->isRunning();
}

bool frmSaveFiles::takeSelection(const QStringList &names)
{
    if (m_driver->isRunning()) {
        m_services.dialogs.message(QStringLiteral("speichern unter"),
                                   QStringLiteral("Es werden noch die Dateien der vorigen Auswahl gespeichert. Bitte "
                                                  "die neue Auswahl nach dem Ende des Kopierens erneut mit "
                                                  "„speichern unter“ speichern."),
                                   MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    m_services.ExportSelection = names;
    return true;
}

void frmSaveFiles::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const int h = height();
    if (h <= twips(100))
        return;
    const int buttonH = m_cmdSave->height();
    m_tv->setGeometry(0, 0, width(), h - buttonH * 3 / 2);
    m_cmdSave->move(width() - m_cmdSave->width() - twips(120), h - buttonH * 5 / 4);
    m_pb->setGeometry(twips(120), h - buttonH * 5 / 4, twips(2400), buttonH);
}

void frmSaveFiles::closeEvent(QCloseEvent *event)
{
    if (m_driver->isRunning()) {
        m_driver->cancel(); // finished() closes the dialog once the copy under way is undone
        event->ignore();
        return;
    }
    remember();
    event->accept();
}

void frmSaveFiles::remember()
{
    const QString folder = m_tv->selectedFolder();
    if (!folder.isEmpty())
        m_services.settings.setValue(kExportSection, kLastFolderKey, folder);
    m_services.settings.setValue(kExportSection, kWidthKey, QString::number(width()));
    m_services.settings.setValue(kExportSection, kHeightKey, QString::number(height()));
}

} // namespace zv
