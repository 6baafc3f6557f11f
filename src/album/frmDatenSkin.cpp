// Dressing the window in a skin.
#include "frmDaten.h"

#include "AlbumViews.h"
#include "PreviewBox.h"

#include "skins/ApplySkin.h"
#include "skins/ImageButton.h"
#include "skins/LoadSkin.h"
#include "skins/SkinImages.h"
#include "skins/SkinPanel.h"

#include <QLabel>
#include <QTreeView>

namespace zv {

QString frmDaten::applySkin(const QString &skinFolder)
{
    SkinTargets targets;
    targets.list = lstBilder;
    targets.infoBoxes = m_fields->skinTargets();
    targets.progress = pbarSearch;
    targets.logo = imgLogo;
    targets.saveLock = cmdSaveX;
    const SkinOutcome loaded = LoadSkin(skinFolder, targets, *m_skinImages);

    SkinnedWindow window;
    window.buttons = m_skinButtons;
    window.picSearch = &m_searchFrameBuffer;
    window.imgSearch = imgSearch;
    window.setBackground = [this](const QPixmap &background) {
        m_background = background;
        update();
    };
    window.setPlayerSkin = [this, skinFolder] { Q_EMIT playerSkinRequested(skinFolder); };
    window.panels[0].panel = picSuche;
    window.panels[1].panel = picMenue;
    window.panels[2].panel = picVorschau;
    // What loading left out is simply missing here; applying stops at the first gap.
    const SkinOutcome applied = ApplySkin(window, *m_skinImages);
    if (!loaded.complete)
        return loaded.message;
    return applied.complete ? QString() : applied.message;
}

} // namespace zv
