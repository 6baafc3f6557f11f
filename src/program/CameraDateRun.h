#pragma once

#include "model/AlbumPaths.h"
#include "operations/CameraDates.h"

#include <QFuture>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

namespace zv {

class Album;

// "Aufnahmedatum übernehmen" for the main window: the files are read and written on a worker
// thread, one after another, and the album takes each new date on the user-interface thread, so
// the list follows while the run goes on. A cancel stops after the file at hand.
class CameraDateRun : public QObject {
    Q_OBJECT
public:
    CameraDateRun(AlbumPaths paths, Album &album, QObject *parent = nullptr);
    ~CameraDateRun() override;

    void start(const QStringList &names);
    void cancel();
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void progress(int done, int total);
    void stored(const QString &name, const PictureInfo &info);
    // The summary for the user; cancelled when the run was stopped before its end.
    void finished(const QString &summary, bool cancelled);

private:
    void handled(const QString &name, const CameraDateResult &result);
    void ended();

    AlbumPaths m_paths;
    Album &m_album;
    std::shared_ptr<std::atomic_bool> m_cancel;
    QFuture<void> m_work;
    CameraDateCounts m_counts;
    int m_done = 0;
    int m_total = 0;
    bool m_running = false;
};

} // namespace zv
