#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace zv {

inline const QString kDefaultSkin = QStringLiteral("Main");
inline const QString kSkinIniFile = QStringLiteral("Skin.ini");
inline const QString kLogoFile = QStringLiteral("Logo.jpg");
inline const QString kSaveLockFile = QStringLiteral("Button X speichern.jpg");

struct KeyedSkinFile {
    QString file;
    QString key;
};

// The twenty pictures that go into SkinImages, in loading order.
const std::vector<KeyedSkinFile> &KeyedSkinFiles();

struct SkinButtonKeys {
    QString objectName;
    QString pressedKey;
    QString releasedKey;
};

// The main window's nine picture buttons in the order ApplySkin dresses them.
const std::array<SkinButtonKeys, 9> &SkinButtons();

// folder + name; on a case-sensitive file system a file whose name differs only in case is
// found too, as skins are made on systems that ignore case. Empty when there is none.
QString FindSkinFile(const QString &folder, const QString &name);

// programFolder/Skins/<name>/, or the folder of "Main" when that one does not exist (the
// fallback itself is not checked). Ends with a slash.
QString SkinFolder(const QString &programFolder, const QString &skinName);

} // namespace zv
