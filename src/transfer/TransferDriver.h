#pragma once

#include "operations/TransferRun.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>
#include <vector>

namespace zv {

// Runs an import or export for a window: each file is decided on the user-interface thread
// (where the overwrite question may wait), copied on a worker thread, and finished on the
// user-interface thread again. Like runNow, files are completed in small groups so that one
// journal commit covers several; a group is closed after half a second at the latest, so the
// album and the list follow the copying closely. Progress and messages arrive as signals.
class TransferDriver : public QObject {
    Q_OBJECT
public:
    // io: the system calls of the copies, for tests that make them fail or race.
    explicit TransferDriver(QObject *parent = nullptr, CopyIo &io = systemCopyIo());
    ~TransferDriver() override;

    // The run must live until finished() is emitted.
    void start(TransferRun &run);
    bool isRunning() const { return m_run != nullptr; }
    // Stops after the current file; copies not yet in place are abandoned and leave nothing.
    void cancel() { m_cancel = true; }

Q_SIGNALS:
    void copying(const TransferStep &step);
    void handled(int count); // files done so far, skipped and failed ones included
    void failed(const TransferFailure &failure);
    void stopped(const QString &title, const QString &text);
    void finished(bool completed); // false after a stop or a cancel

private:
    using Pending = std::shared_ptr<PendingCopy>;
    void next();
    void copied();
    void completeGroup();
    void groupCompleted();
    void done(bool completed);

    TransferRun *m_run = nullptr;
    int m_index = 0;
    int m_handled = 0;
    TransferStep m_step;
    std::vector<std::pair<TransferStep, Pending>> m_group;
    CopyIo &m_io;
    qint64 m_groupBytes = 0;
    bool m_cleaned = false; // stale copies in the target folder removed
    QElapsedTimer m_groupAge;
    bool m_stopAfterGroup = false;
    QFutureWatcher<Pending> m_copy;
    QFutureWatcher<std::vector<CopyResult>> m_complete;
    std::atomic_bool m_cancel = false;
};

} // namespace zv
