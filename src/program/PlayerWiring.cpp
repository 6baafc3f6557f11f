#include "PlayerWiring.h"

#include "album/frmDaten.h"
#include "album/PreviewBox.h"
#include "media/ctrlAV.h"
#include "media/MovieModule.h"
#include "model/ProgramState.h"

namespace zv {

void PlayerMedia::closeMovie()
{
    m_movie.closeMovie();
}

void PlayerMedia::openVideo(const QString &path)
{
    const bool wasBusy = std::exchange(m_busy, true);
    m_bar.openVideo(path);
    m_busy = wasBusy;
}

bool PlayerMedia::isBusy() const
{
    return m_busy || m_movie.isBusy();
}

bool PlayerMedia::isPlaying()
{
    return m_movie.isMoviePlaying();
}

int PlayerMedia::positionInMS()
{
    return m_movie.getPositionInMS();
}

void PlayerMedia::stopMovie()
{
    m_movie.stopMovie();
}

void PlayerMedia::playMovie()
{
    m_movie.playMovie();
}

void PlayerMedia::setPositionTo(int seconds)
{
    m_movie.setPositionTo(seconds);
}

AttachedPlayer attachPlayer(frmDaten &window, MovieModule &movie, Shell &shell, const QString &skinFolder)
{
    frmDaten *host = &window;
    auto *bar = new ctrlAV(movie, shell,
                           PlayerHost{window.previewBox(), [host] { return host->currentFile(); },
                                      [host](const QString &path) { Q_EMIT host->pictureWindowRequested(path); }},
                           &window);
    bar->setObjectName(QStringLiteral("ctrlAV1"));
    auto media = std::make_unique<PlayerMedia>(movie, *bar);
    window.setPlayer(bar, media.get());
    QObject::connect(&window, &frmDaten::playerSkinRequested, bar,
                     [bar](const QString &folder) { bar->setSkinFolder(folder); });
    bar->setSkinFolder(skinFolder); // the window's own skin was applied before the bar existed
    return {bar, std::move(media)};
}

} // namespace zv
