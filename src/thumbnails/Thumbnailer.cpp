#include "Thumbnailer.h"

#include "ThumbnailNames.h"

#include "media/VideoFrame.h"
#include "metadata/ExifPreview.h"
#include "metadata/MediaBytes.h"
#include "platform/FileNames.h"
#include "platform/PathStatus.h"
#include "viewing/PictureLoader.h"

#include <QDir>
#include <QPixmap>
#include <QTransform>

#include <algorithm>

namespace zv::thumbnails {
namespace {

// Some hundred screenfuls of icons at 64 pixels: a few megabytes.
constexpr int kKeptIcons = 2000;
// Past a fade-in or a black first frame, and within the shortest clip a camera makes.
constexpr double kVideoFrameSeconds = 1.0;
constexpr int kVideoTimeoutMs = 5000;

QImage fitted(const QImage &image, int size)
{
    if (image.width() <= size && image.height() <= size)
        return image;
    return image.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// An embedded preview turned as EXIF orientation 1 to 8 says, upright like the picture.
QImage upright(const QImage &image, int orientation)
{
    const auto quarter = [](const QImage &i, int degrees) { return i.transformed(QTransform().rotate(degrees)); };
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return quarter(image, 90).mirrored(true, false);
    case 6:
        return quarter(image, 90);
    case 7:
        return quarter(image, 90).mirrored(false, true);
    case 8:
        return quarter(image, 270);
    default:
        return image;
    }
}

// The preview a camera or phone put into the picture's EXIF block, when it is large enough: a
// few kilobytes to decode instead of megapixels.
QImage fromEmbeddedPreview(const QString &path)
{
    const MediaBytes bytes(path);
    const std::optional<EmbeddedPreview> preview = embeddedPreview(bytes.media(), kNormalSize);
    if (!preview)
        return {};
    const QImage image = QImage::fromData(preview->jpeg, "JPEG");
    return image.isNull() ? image : upright(image, preview->orientation);
}

QImage decodedPicture(const QString &path, const std::atomic_bool *cancelled)
{
    std::optional<LoadedPicture> picture = loadPicture(path, QSize(kNormalSize, kNormalSize), cancelled);
    if (!picture)
        return {};
    // The loader enlarges small pictures to their place; a thumbnail is never larger than its file.
    if (picture->naturalSize.width() < picture->image.width())
        return picture->image.scaled(picture->naturalSize, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return std::move(picture->image);
}

} // namespace

Thumbnail makeThumbnail(const ThumbnailCache &cache, const QString &path, Source source, int shownSize,
                        const std::atomic_bool *cancelled)
{
    const PathStatus status = pathStatus(path);
    const FileStamp stamp{status.modifiedSeconds, status.size};
    if (!status.isFile())
        return {QImage(), stamp};
    const QString absolute = QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path;
    const QString uri = fileUri(nativePath(absolute));
    if (QImage cached = cache.find(uri, stamp); !cached.isNull())
        return {fitted(cached, shownSize), stamp};
    if (cancelled && cancelled->load())
        return {QImage(), stamp};
    QImage image;
    if (source == Source::Video) {
        image = fitted(grabVideoFrame(path, kVideoFrameSeconds, kVideoTimeoutMs, cancelled), kNormalSize);
    } else {
        image = fitted(fromEmbeddedPreview(path), kNormalSize);
        if (image.isNull())
            image = decodedPicture(path, cancelled);
    }
    if (image.isNull())
        return {QImage(), stamp};
    cache.store(uri, stamp, image); // when it cannot, the icon lives in memory only
    return {fitted(image, shownSize), stamp};
}

Thumbnailer::Thumbnailer(QString cacheRoot, int shownSize, QObject *parent)
    : QObject(parent)
    , m_cache(std::move(cacheRoot))
    , m_shownSize(shownSize)
    , m_queue(std::max(1, QThread::idealThreadCount() - 1))
    , m_ready(kKeptIcons)
{
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount() - 1));
    prepareVideoFrames();
}

Thumbnailer::~Thumbnailer()
{
    for (const Job &job : std::as_const(m_jobs))
        job.cancelled->store(true);
    m_pool.waitForDone();
}

void Thumbnailer::setShown(const std::vector<Shown> &shown)
{
    m_shownNames.clear();
    m_shownNames.reserve(qsizetype(shown.size()));
    m_files.clear();
    for (const Shown &file : shown) {
        m_shownNames.append(file.name);
        m_files.insert(file.name, file);
    }
    requeue();
    startMore();
}

void Thumbnailer::recheck(const QString &name, const QString &path)
{
    if (const auto job = m_jobs.find(name); job != m_jobs.end()) {
        job->recheck = true;
        return;
    }
    const Made *made = m_ready.object(name);
    const auto failed = m_failed.constFind(name);
    if (!made && failed == m_failed.constEnd())
        return;
    const PathStatus now = pathStatus(path);
    if (FileStamp{now.modifiedSeconds, now.size} != (made ? made->stamp : *failed))
        forget(name);
}

void Thumbnailer::forget(const QString &name)
{
    m_ready.remove(name);
    m_failed.remove(name);
    // A result already on its way describes the file as it was.
    if (const auto job = m_jobs.find(name); job != m_jobs.end())
        job->id = 0;
    if (m_files.contains(name)) {
        requeue();
        startMore();
    }
}

void Thumbnailer::startMore()
{
    while (const std::optional<QString> name = m_queue.take()) {
        const Job job{m_nextId++, std::make_shared<std::atomic_bool>(false)};
        m_jobs.insert(*name, job);
        ++m_started;
        const Shown file = m_files.value(*name);
        m_pool.start([this, file, job, cache = m_cache, size = m_shownSize] {
            const Thumbnail made = makeThumbnail(cache, file.path, file.source, size, job.cancelled.get());
            QMetaObject::invokeMethod(
                this, [this, file, id = job.id, made] { arrived(file, id, made); }, Qt::QueuedConnection);
        });
    }
}

void Thumbnailer::arrived(const Shown &file, quint64 id, const Thumbnail &made)
{
    const QString &name = file.name;
    // The queue runs one job per name, so this is the job of that name.
    const Job job = m_jobs.take(name);
    m_queue.finished(name);
    const PathStatus now = job.recheck ? pathStatus(file.path) : PathStatus{};
    const bool changed = job.recheck && FileStamp{now.modifiedSeconds, now.size} != made.stamp;
    if (job.id == id && !job.cancelled->load() && !changed) {
        if (made.image.isNull()) {
            m_failed.insert(name, made.stamp);
        } else {
            m_ready.insert(name, new Made{QIcon(QPixmap::fromImage(made.image)), made.stamp});
            Q_EMIT ready(name);
        }
    } else if (m_files.contains(name)) {
        requeue(); // dropped or forgotten while running, and on screen (again)
    }
    startMore();
}

void Thumbnailer::requeue()
{
    const QStringList gone = m_queue.setShown(
        m_shownNames, [this](const QString &name) { return m_ready.contains(name) || m_failed.contains(name); });
    for (const QString &name : gone)
        if (const auto job = m_jobs.constFind(name); job != m_jobs.constEnd())
            job->cancelled->store(true);
}

} // namespace zv::thumbnails
