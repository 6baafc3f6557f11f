#pragma once

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace zv {

// A command of the "Bilder" menu over the selection, in the background: the files are read and
// written on a worker thread, one after another, and what came of each is taken on the
// user-interface thread, so the list follows while the run goes on. A cancel stops after the
// file at hand.
class PictureRun : public QObject {
    Q_OBJECT
public:
    explicit PictureRun(QObject *parent = nullptr);
    ~PictureRun() override;

    void cancel();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void progress(int done, int total);
    // The summary for the user (empty: nothing to tell); cancelled when the run was stopped
    // before its end.
    void finished(const QString &summary, bool cancelled);

protected:
    // Runs on the worker for each file and returns what the user-interface thread does with the
    // outcome. On the worker it touches nothing of the run, whose members may be gone first.
    using FileWork = std::function<std::function<void()>(const QString &name)>;
    void run(const QStringList &names, FileWork work);
    virtual QString summary() const = 0;

private:
    void ended();

    std::shared_ptr<std::atomic_bool> m_cancel;
    std::thread m_worker;
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
};

} // namespace zv
