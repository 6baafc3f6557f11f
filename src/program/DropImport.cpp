#include "DropImport.h"

#include "model/AlbumListModel.h"
#include "model/ProgramState.h"
#include "model/SettingsKeys.h"
#include "operations/ImportSources.h"
#include "platform/Dialogs.h"
#include "platform/SettingsStore.h"
#include "transfer/TransferDriver.h"

namespace zv {

DropImport::DropImport(DropImportServices services, QObject *parent, CopyIo &io)
    : QObject(parent)
    , m_services(std::move(services))
    , m_driver(new TransferDriver(this, io))
{
    connect(m_driver, &TransferDriver::handled, this,
            [this](int count) { Q_EMIT progress(count, m_run ? m_run->count() : count); });
    connect(m_driver, &TransferDriver::failed, this, [this](const TransferFailure &f) {
        m_services.dialogs.message(f.title, f.text, MessageIcon::Critical, MessageButtons::Ok);
    });
    connect(m_driver, &TransferDriver::stopped, this, [this](const QString &title, const QString &text) {
        m_services.dialogs.message(title, text, MessageIcon::Critical, MessageButtons::Ok);
    });
    connect(m_driver, &TransferDriver::finished, this, &DropImport::done);
}

DropImport::~DropImport()
{
    delete m_driver; // before m_run: the copy at hand may be amended for it on the worker
}

bool DropImport::isRunning() const
{
    return m_driver->isRunning();
}

void DropImport::importDropped(const QList<QUrl> &urls)
{
    // Refused rather than queued: a second run would ask about names the first has not placed.
    if (isRunning() || (m_services.otherTransferRuns && m_services.otherTransferRuns())) {
        m_services.dialogs.message(kTitle, kBusyText, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    const DropPlan plan = planDroppedImport(urls, m_services.paths);
    if (plan.sources.isEmpty()) {
        // Files of the album dropped back onto it are no mistake; say nothing.
        if (plan.inAlbum == 0 && plan.leftOut > 0)
            m_services.dialogs.message(kTitle, kNothingText, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    SettingsStore &settings = m_services.settings;
    const auto ticked = [&settings](const QString &key) {
        return settings.value(kImportSection, key, QStringLiteral("0")) == QLatin1String("1");
    };
    const ImportOptions options{ticked(kChkStateKey), settings.value(kImportSection, kNumberKey, QStringLiteral("0")),
                                ticked(kCameraDateKey)};
    // The caption is set at the end, here, where a search's result keeps its own.
    m_run = std::make_unique<ImportRun>(
        ImportContext{m_services.paths, m_services.album, nullptr, m_services.drives, settings, m_services.question},
        plan.sources, options);
    if (const auto refused = m_run->begin()) {
        m_services.dialogs.message(refused->title, refused->text, MessageIcon::Information, MessageButtons::Ok);
        return;
    }
    Q_EMIT progress(0, m_run->count());
    m_driver->start(*m_run);
}

void DropImport::done()
{
    if (!m_services.state.SearchApplied)
        m_services.list.setLoadedCount(m_services.list.rowCount());
    Q_EMIT finished();
}

} // namespace zv
