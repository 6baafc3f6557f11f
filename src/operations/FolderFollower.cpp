#include "FolderFollower.h"

#include <utility>

namespace zv {

FolderFollower::FolderFollower(AlbumContext context, QObject *parent)
    : QObject(parent)
    , m_context(context)
{
    m_gathering.setSingleShot(true);
    m_gathering.setInterval(kGatherMs);
    connect(&m_gathering, &QTimer::timeout, this, &FolderFollower::reconcile);
    connect(&m_watch, &FolderWatch::changed, this, &FolderFollower::gather);
    connect(&m_watch, &FolderWatch::lost, this, [this] {
        m_lost = true;
        if (!m_gathering.isActive())
            m_gathering.start();
    });
}

int FolderFollower::start()
{
    return m_watch.watch(m_context.paths.mediaFolder());
}

void FolderFollower::gather(const QList<FolderEvent> &events)
{
    m_events += events;
    // Not restarted by later events: a folder that keeps changing is still followed every moment.
    if (!m_gathering.isActive())
        m_gathering.start();
}

void FolderFollower::reconcile()
{
    const QList<FolderEvent> events = std::exchange(m_events, {});
    FolderReconcile outcome;
    if (std::exchange(m_lost, false)) {
        // The folder itself may have been moved or replaced: watch whatever has its name now.
        m_watch.watch(m_context.paths.mediaFolder());
        outcome = reconcileWholeFolder(m_context);
    } else {
        outcome = reconcileFolderChanges(m_context, events);
    }
    if (outcome.changedAnything() || outcome.shownFileRemoved)
        Q_EMIT followed(outcome);
}

} // namespace zv
