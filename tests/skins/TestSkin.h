#pragma once

#include "skins/SkinFiles.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>

// Writes a small skin of solid-colour pictures: every keyed picture, the logo and the save lock.
// An ini of nullptr writes no Skin.ini.
inline bool writeTestSkin(const QString &programFolder, const QString &name, const char *ini,
                          const QColor &colour = Qt::darkCyan)
{
    const QString folder = programFolder + QStringLiteral("/Skins/") + name + QLatin1Char('/');
    if (!QDir().mkpath(folder))
        return false;
    QStringList files{zv::kLogoFile, zv::kSaveLockFile};
    for (const auto &entry : zv::KeyedSkinFiles())
        files << entry.file;
    QImage picture(12, 10, QImage::Format_RGB32);
    picture.fill(colour);
    for (const QString &file : files) {
        if (!picture.save(folder + file, "JPG", 100))
            return false;
    }
    if (!ini)
        return true;
    QFile iniFile(folder + QStringLiteral("Skin.ini"));
    return iniFile.open(QIODevice::WriteOnly) && iniFile.write(ini) >= 0;
}
