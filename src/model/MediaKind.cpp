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
    // Case-blind comparison: the loader calls this once per file and need not allocate.
    const auto is = [ext](const char16_t *known) { return ext.compare(QStringView(known), Qt::CaseInsensitive) == 0; };
    if (is(u"mpg") || is(u"avi") || is(u"mpeg") || is(u"mov"))
        return MediaKind::Video;
    if (is(u"jpg") || is(u"jpeg") || is(u"bmp") || is(u"gif"))
        return MediaKind::Bild;
    return MediaKind::Unbekannt;
}

MediaKind mediaKindForFile(QStringView fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    return mediaKindForExtension(dot < 0 ? QStringView() : fileName.mid(dot + 1));
}

const QString &KindNames(MediaKind kind)
{
    static const std::array<QString, 3> names = {QStringLiteral("Video"), QStringLiteral("Bild"),
                                                 QStringLiteral("unbekannt")};
    switch (kind) {
    case MediaKind::Video:
        return names[0];
    case MediaKind::Bild:
        return names[1];
    case MediaKind::Unbekannt:
        break;
    }
    return names[2];
}

} // namespace zv
