#include "CameraDateRun.h"

#include "model/Album.h"

#include <QtConcurrent/QtConcurrentRun>

namespace zv {

CameraDateRun::CameraDateRun(AlbumPaths paths, Album &album, QObject *parent)
    : QObject(parent)
    , m_paths(std::move(paths))
    , m_album(album)
{ }

CameraDateRun::~CameraDateRun()
{
    cancel();
    m_work.waitForFinished(); // the file at hand is finished whole; what it posts back is dropped
}

void CameraDateRun::start(const QStringList &names)
{
    if (m_running || names.isEmpty())
        return;
    m_running = true;
    m_counts = {};
    m_done = 0;
    m_total = int(names.size());
    m_cancel = std::make_shared<std::atomic_bool>(false);
    Q_EMIT progress(0, m_total);
    m_work = QtConcurrent::run([this, names, paths = m_paths, cancel = m_cancel] {
        const QString folder = paths.mediaFolder();
        for (const QString &name : names) {
            if (cancel->load())
                break;
            const CameraDateResult result = takeCameraDate(paths.mediaFile(name), folder);
            QMetaObject::invokeMethod(
                this, [this, name, result] { handled(name, result); }, Qt::QueuedConnection);
        }
        QMetaObject::invokeMethod(this, &CameraDateRun::ended, Qt::QueuedConnection);
    });
}

void CameraDateRun::cancel()
{
    if (m_cancel)
        m_cancel->store(true);
}

void CameraDateRun::handled(const QString &name, const CameraDateResult &result)
{
    count(m_counts, result);
    if (result.result == CameraDateResult::Result::Dated) {
        if (const auto index = m_album.indexOf(name))
            m_album.replaceInfo(*index, result.stored);
        Q_EMIT stored(name, result.stored);
    }
    Q_EMIT progress(++m_done, m_total);
}

void CameraDateRun::ended()
{
    m_running = false;
    const bool cancelled = m_done < m_total;
    QString summary = cameraDateSummary(m_counts);
    if (cancelled)
        summary = QStringLiteral("Abgebrochen nach %1 von %2 Dateien.\n").arg(m_done).arg(m_total) + summary;
    Q_EMIT finished(summary, cancelled);
}

} // namespace zv
