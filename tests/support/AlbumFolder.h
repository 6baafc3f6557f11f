#pragma once
// A temporary program folder: Bilder/ to fill, and the skins the build drew.

#include "store/PictureTrailer.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

namespace zv::test {

class AlbumFolder {
public:
    // Without a missing file the built skins are linked in; with one, Main is copied without it.
    explicit AlbumFolder(const QString &missingSkinFile = {})
    {
        QDir(dir.path()).mkdir(QStringLiteral("Bilder"));
        const QString skins = qEnvironmentVariable("ZV_ALBUM_DIR") + QStringLiteral("/Skins");
        if (missingSkinFile.isEmpty()) {
            QFile::link(skins, dir.filePath(QStringLiteral("Skins")));
            return;
        }
        const QString main = dir.filePath(QStringLiteral("Skins/Main/"));
        QDir().mkpath(main);
        for (const QFileInfo &f : QDir(skins + QStringLiteral("/Main")).entryInfoList(QDir::Files))
            if (f.fileName() != missingSkinFile)
                QFile::copy(f.filePath(), main + f.fileName());
    }

    QString path() const { return dir.path(); }
    QString media(const QString &name) const { return dir.filePath(QStringLiteral("Bilder/") + name); }

    bool picture(const QString &name, QSize size, QColor colour = Qt::red, const char *format = "JPEG") const
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return image.save(media(name), format);
    }
    void file(const QString &name, const QByteArray &bytes = "x") const
    {
        QFile f(media(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
    void info(const QString &name, const QString &ort, const QString &bemerkungen = {},
              const QString &datum = QStringLiteral("xx.05.1990")) const
    {
        PictureInfo i;
        i.ort = ort;
        i.datum = datum;
        i.bemerkungen = bemerkungen;
        WritePictureInfo(media(name), i);
    }
    QByteArray bytes(const QString &name) const
    {
        QFile f(media(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
};

} // namespace zv::test
