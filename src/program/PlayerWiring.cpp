#include "PlayerWiring.h"

#include "album/frmDaten.h"
#include "media/MovieModule.h"
#include "media/ctrlAV.h"

namespace zv {

ctrlAV *attachPlayer(frmDaten &window, MovieModule &movie, Shell &shell, const AlbumPaths &paths,
                     const QString &skinName, std::function<void(const QString &)> showPictureWindow)
{
    frmDaten *host = &window;
    auto *player = new ctrlAV(movie, shell,
                              PlayerHost{window.previewBox(), [host] { return host->CurrentFile(); }, showPictureWindow},
                              &window);
    player->setObjectName(QStringLiteral("ctrlAV1"));
    window.setPlayer(player, MediaHooks{[&movie] { movie.closeMovie(); },
                                        [player](const QString &path) { player->openVideo(path); }});
    QObject::connect(&window, &frmDaten::playerSkinRequested, player,
                     [player, paths](const QString &skin) { player->setSkinFolder(paths.skinFolder(skin)); });
    QObject::connect(&window, &frmDaten::pictureWindowRequested, player, std::move(showPictureWindow));
    player->setSkinFolder(paths.skinFolder(skinName)); // the window's own skin was applied before the bar existed
    return player;
}

} // namespace zv
