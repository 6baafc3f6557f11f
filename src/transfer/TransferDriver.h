#pragma once

#include "TransferRun.h"

#include <QFutureWatcher>
#include <QObject>

#include <atomic>
#include <memory>

namespace zv {

// Runs an import or export for a window: each file is decided on the user-interface thread
// (where the overwrite question may wait), copied on a worker thread, and finished on the
// user-interface thread again. Progress and messages arrive as signals.
class TransferDriver : public QObject {
    Q_OBJECT
public:
    explicit TransferDriver(QObject *parent = nullptr);
    ~TransferDriver() override;

    // The run must live until finished() is emitted.
    void start(TransferRun &run);
    bool isRunning() const { return m_run != nullptr; }
    // Stops after the current file; a copy under way is abandoned and leaves nothing behind.
    void cancel() { m_cancel = true; }

Q_SIGNALS:
    void copying(const TransferStep &step);
    void handled(int count); // files done so far, skipped and failed ones included
    void failed(const TransferFailure &failure);
    void stopped(const QString &title, const QString &text);
    void finished(bool completed); // false after a stop or a cancel

private:
    void next();
    void copied();
    void done(bool completed);

    TransferRun *m_run = nullptr;
    int m_index = 0;
    TransferStep m_step;
    QFutureWatcher<CopyResult> m_watcher;
    std::atomic_bool m_cancel = false;
};

} // namespace zv
