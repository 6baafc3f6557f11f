#pragma once

#include "ThumbnailCache.h"
#include "ThumbnailQueue.h"

#include <QCache>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace zv::thumbnails {

// One file's thumbnail as the maker makes it on a worker thread: from the cache when a current
// one is there, else decoded (a picture through the album's picture loader, a video as its
// frame a second in) and stored, when the cache can be written; then scaled to fit `shownSize`.
// A null image when the file cannot be decoded.
struct Thumbnail {
    QImage image;
    FileStamp stamp; // of the file it shows
};
enum class Source { Picture, Video };
Thumbnail makeThumbnail(const ThumbnailCache &cache, const QString &path, Source source, int shownSize,
                        const std::atomic_bool *cancelled = nullptr);

// Thumbnails for the rows on screen, made off the user-interface thread and kept, a bounded
// number of them, as icons. The window says which files are on screen; ready() says when one
// can be shown.
class Thumbnailer : public QObject {
    Q_OBJECT
public:
    struct Shown {
        QString name;
        QString path;
        Source source = Source::Picture;
    };

    explicit Thumbnailer(QString cacheRoot, int shownSize, QObject *parent = nullptr);
    ~Thumbnailer() override;

    // The files on screen, in screen order. Work for files that left the screen is dropped.
    void setShown(const std::vector<Shown> &shown);
    // The icon of a file made since it was last forgotten; nullptr until then.
    const QIcon *icon(const QString &name) const
    {
        const Made *made = m_ready.object(name);
        return made ? &made->icon : nullptr;
    }
    // Whether a thumbnail of the file is made, being made or failed: only then is there anything
    // to recheck.
    bool holds(const QString &name) const
    {
        return m_ready.contains(name) || m_failed.contains(name) || m_jobs.contains(name);
    }
    // The file may have changed (its row did): when it did, its thumbnail is made again.
    void recheck(const QString &name, const QString &path);
    void forget(const QString &name);

    // How many files were given to a worker so far.
    int started() const { return m_started; }
    bool idle() const { return m_queue.running() == 0 && m_queue.waiting() == 0; }

Q_SIGNALS:
    void ready(const QString &name);

private:
    struct Job {
        quint64 id = 0;
        std::shared_ptr<std::atomic_bool> cancelled;
        bool recheck = false; // its row changed while it ran
    };
    void requeue();
    void startMore();
    void arrived(const Shown &file, quint64 id, const Thumbnail &made);
    struct Made {
        QIcon icon;
        FileStamp stamp;
    };

    ThumbnailCache m_cache;
    int m_shownSize;
    QThreadPool m_pool;
    ThumbnailQueue m_queue;
    QStringList m_shownNames;
    QHash<QString, Shown> m_files; // on screen
    QHash<QString, Job> m_jobs; // running
    QCache<QString, Made> m_ready;
    QHash<QString, FileStamp> m_failed; // no picture: the kind icon stays
    quint64 m_nextId = 1;
    int m_started = 0;
};

} // namespace zv::thumbnails
