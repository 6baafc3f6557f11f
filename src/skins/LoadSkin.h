#pragma once

#include "SkinImages.h"
#include "SkinOutcome.h"

#include <QString>

#include <array>

class QAbstractItemView;
class QLabel;
class QProgressBar;
class QWidget;

namespace zv {

// The main window's controls a skin colours or pictures. Null members are left alone.
struct SkinTargets {
    QAbstractItemView *list = nullptr; // lstBilder
    // txtStichWorte, txtOrt, txtDatum, txtNamen, txtBemerkungen (line or plain text edits)
    std::array<QWidget *, 5> infoBoxes{};
    QProgressBar *progress = nullptr; // pbarSearch
    QLabel *logo = nullptr; // imgLogo
    QLabel *saveLock = nullptr; // cmdSaveX
};

// Loads the skin in folder (see SkinFolder, which resolves it once for every user): the
// Skin.ini colours onto the targets, the twenty keyed pictures into images (emptied first), the
// logo and the save lock. Stops at the first missing picture or malformed colour; what was done
// before stays.
SkinOutcome LoadSkin(const QString &folder, const SkinTargets &targets, SkinImages &images);

} // namespace zv
