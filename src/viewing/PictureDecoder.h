#pragma once

#include "PictureLoader.h"

#include <QFutureWatcher>
#include <QObject>
#include <QSize>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

namespace zv {

// Decodes pictures off the user-interface thread and keeps the few the window asked for, so
// the one it needs next is usually ready before it is wanted.
class PictureDecoder : public QObject {
    Q_OBJECT
public:
    struct Result {
        bool done = false;
        std::optional<LoadedPicture> picture; // nothing when the file cannot be decoded
    };

    explicit PictureDecoder(QObject *parent = nullptr);
    ~PictureDecoder() override;

    // Starts decoding unless the picture is already decoded or on its way.
    void request(const QString &path, QSize target);
    // The picture when it is decoded; done is false while it is on its way (decoded follows).
    Result result(const QString &path, QSize target) const;
    // Forgets every picture but these; their decoding is called off if it has not begun.
    void keepOnly(const std::vector<QString> &paths);
    void clear() { keepOnly({}); }

Q_SIGNALS:
    void decoded(const QString &path);

private:
    struct Job {
        QString path;
        QSize target;
        std::shared_ptr<std::atomic_bool> cancelled;
        std::unique_ptr<QFutureWatcher<std::optional<LoadedPicture>>> watcher;
    };
    const Job *find(const QString &path, QSize target) const;

    // One decoder thread: the other core stays with the screen.
    QThreadPool m_pool;
    std::vector<Job> m_jobs;
};

} // namespace zv
