#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace zv {

inline const QString kDefaultSkin = QStringLiteral("Main");
inline const QString kSkinIniFile = QStringLiteral("Skin.ini");
inline const QString kLogoFile = QStringLiteral("Logo.jpg");
inline const QString kSaveLockFile = QStringLiteral("Button X speichern.jpg");

// The same picture with twice the pixels, for a screen of scale 2: "Logo.jpg" -> "Logo@2x.jpg".
QString SharpSkinFile(const QString &file);

struct KeyedSkinFile {
    QString file;
    QString key;
};

// The twenty pictures that go into SkinImages, in loading order.
const std::vector<KeyedSkinFile> &KeyedSkinFiles();

// One of the main window's picture buttons: its name, its two pictures, where it sits (in the
// title bar of the window or in one of two panels) and its tip.
struct SkinButtonKeys {
    enum class Place { Window, MenuPanel, SearchPanel };
    QString objectName;
    QString pressedKey;
    QString releasedKey;
    Place place;
    QRect geometry; // in its place's coordinates
    QString toolTip;
};

// The main window's nine picture buttons, the only list of them: the window makes them from it
// and ApplySkin dresses them in its order.
const std::array<SkinButtonKeys, 9> &SkinButtons();

// folder + name; on a case-sensitive file system a file whose name differs only in case is
// found too, as skins are made on systems that ignore case. Empty when there is none, and
// when the name leads out of the skin's folder (through "..", or a link): a skin may come from
// anyone, and its Skin.ini names files. The folder's own links are followed.
QString FindSkinFile(const QString &folder, const QString &name);

// programFolder/Skins/<name>/, or the folder of "Main" when that one does not exist (the
// fallback itself is not checked). Ends with a slash.
QString SkinFolder(const QString &programFolder, const QString &skinName);

} // namespace zv
