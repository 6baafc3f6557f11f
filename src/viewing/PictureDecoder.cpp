#include "PictureDecoder.h"

#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace zv {

PictureDecoder::PictureDecoder(QObject *parent)
    : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

PictureDecoder::~PictureDecoder()
{
    clear();
    m_pool.waitForDone();
}

const PictureDecoder::Job *PictureDecoder::find(const QString &path, QSize target) const
{
    const auto it =
        std::find_if(m_jobs.begin(), m_jobs.end(), [&](const Job &j) { return j.path == path && j.target == target; });
    return it == m_jobs.end() ? nullptr : &*it;
}

void PictureDecoder::request(const QString &path, QSize target)
{
    if (find(path, target))
        return;
    Job job{path, target, std::make_shared<std::atomic_bool>(false),
            std::make_unique<QFutureWatcher<std::optional<LoadedPicture>>>()};
    connect(job.watcher.get(), &QFutureWatcherBase::finished, this, [this, path] { Q_EMIT decoded(path); });
    // The job holds its own flag: it may still run after the window forgot it.
    job.watcher->setFuture(QtConcurrent::run(&m_pool, [path, target, cancelled = job.cancelled] {
        return cancelled->load() ? std::nullopt : loadPicture(path, target, cancelled.get());
    }));
    m_jobs.push_back(std::move(job));
}

PictureDecoder::Result PictureDecoder::result(const QString &path, QSize target) const
{
    const Job *job = find(path, target);
    if (!job || !job->watcher->isFinished())
        return {};
    return {true, job->watcher->result()};
}

void PictureDecoder::keepOnly(const std::vector<QString> &paths)
{
    std::erase_if(m_jobs, [&](Job &job) {
        if (std::find(paths.begin(), paths.end(), job.path) != paths.end())
            return false;
        job.cancelled->store(true);
        job.watcher->disconnect(this);
        return true;
    });
}

} // namespace zv
