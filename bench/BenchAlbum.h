#pragma once
// The generated album both loading benchmarks read: six kinds of files, every second one with
// its picture information.

#include "store/PictureTrailer.h"

#include <QDir>
#include <QFile>
#include <QString>

inline void makeAlbum(const QString &folder, int count)
{
    QDir().mkpath(folder);
    const char *extensions[] = {"jpg", "JPG", "mpg", "avi", "gif", "txt"};
    for (int i = 0; i < count; ++i) {
        const QString path = QStringLiteral("%1/Bild_%2.%3")
                                 .arg(folder)
                                 .arg(i, 6, 10, QLatin1Char('0'))
                                 .arg(QLatin1String(extensions[i % 6]));
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(QByteArray(200 + (i * 7919) % 3000, 'x'));
        f.close();
        if (i % 2 == 0) {
            zv::PictureInfo info;
            info.namen = QStringLiteral("Person %1").arg(i);
            info.ort = QStringLiteral("Ort %1").arg(i % 97);
            info.datum = QStringLiteral("01.01.2000");
            info.anlass = QStringLiteral("Anlass");
            zv::WritePictureInfo(path, info);
        }
    }
}
