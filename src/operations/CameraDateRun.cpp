#include "CameraDateRun.h"

#include "model/Album.h"

namespace zv {

CameraDateRun::CameraDateRun(AlbumPaths paths, Album &album, QObject *parent)
    : PictureRun(parent)
    , m_paths(std::move(paths))
    , m_album(album)
{ }

void CameraDateRun::start(const QStringList &names)
{
    if (isRunning())
        return;
    m_counts = {};
    run(names, [this, paths = m_paths](const QString &name) -> std::function<void()> {
        const CameraDateResult result = takeCameraDate(paths.mediaFile(name), paths.mediaFolder());
        return [this, name, result] { handled(name, result); };
    });
}

void CameraDateRun::handled(const QString &name, const CameraDateResult &result)
{
    count(m_counts, result);
    if (result.result != CameraDateResult::Result::Dated)
        return;
    if (const auto index = m_album.indexOf(name))
        m_album.replaceInfo(*index, result.stored);
    Q_EMIT stored(name, result.stored);
}

QString CameraDateRun::summary() const
{
    return cameraDateSummary(m_counts);
}

} // namespace zv
