#include "MediaKind.h"

#include <array>

namespace zv {

QString lowerExtension(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0)
        return {};
    return fileName.mid(dot + 1).toString().toLower();
}

MediaKind mediaKindForExtension(QStringView ext)
{
    if (ext == u"mpg" || ext == u"avi" || ext == u"mpeg" || ext == u"mov")
        return MediaKind::Video;
    if (ext == u"jpg" || ext == u"jpeg" || ext == u"bmp" || ext == u"gif")
        return MediaKind::Bild;
    return MediaKind::Unbekannt;
}

const QString &KindNames(MediaKind kind)
{
    static const std::array<QString, 3> names = {QStringLiteral("Video"), QStringLiteral("Bild"),
                                                 QStringLiteral("unbekannt")};
    switch (kind) {
    case MediaKind::Video: return names[0];
    case MediaKind::Bild: return names[1];
    case MediaKind::Unbekannt: break;
    }
    return names[2];
}

} // namespace zv
