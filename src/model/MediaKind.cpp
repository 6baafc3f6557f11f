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
    // Kinds the program can show: libmpv plays every container here, Qt's image plugins and
    // libheif decode the pictures. What the build has no decoder for stays unknown.
    static constexpr const char16_t *videos[] = {u"mpg",  u"avi", u"mpeg", u"mov",  u"mp4", u"m4v", u"mkv",
                                                 u"webm", u"3gp", u"mts",  u"m2ts", u"wmv", u"flv", u"ogv"};
    static constexpr const char16_t *pictures[] = {
        u"jpg",  u"jpeg", u"bmp", u"gif", u"png", u"webp", u"tif", u"tiff",
#ifdef ZV_HEIF_PICTURES
        u"heic", u"heif",
#endif
#ifdef ZV_AVIF_PICTURES
        u"avif",
#endif
    };
    for (const char16_t *known : videos)
        if (is(known))
            return MediaKind::Video;
    for (const char16_t *known : pictures)
        if (is(known))
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
