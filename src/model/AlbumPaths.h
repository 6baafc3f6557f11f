#pragma once

#include <QString>

namespace zv {

// Every path of an album is the program folder plus a fixed relative part; nothing is normalised.
struct AlbumPaths {
    QString programFolder; // without a trailing separator, except at a drive root

    QString mediaFolder() const { return programFolder + QStringLiteral("/Bilder/"); }
    QString mediaFile(const QString &name) const { return mediaFolder() + name; }
    // The file name of a media file's path; empty for a path outside the media folder.
    QString mediaName(const QString &path) const
    {
        const QString folder = mediaFolder();
        return path.startsWith(folder) ? path.mid(folder.size()) : QString();
    }
    QString logoFile() const { return mediaFile(QStringLiteral("Logo.bmp")); }
    QString skinsFolder() const { return programFolder + QStringLiteral("/Skins/"); }
    QString skinFolder(const QString &skinName) const { return skinsFolder() + skinName + QLatin1Char('/'); }
    QString helpPage() const { return programFolder + QStringLiteral("/Hilfe/Hilfe.html"); }
};

} // namespace zv
