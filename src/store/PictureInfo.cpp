#include "PictureInfo.h"

namespace zv {

QString withoutTrailingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return end == text.size() ? text : text.left(end);
}

PictureInfo trimmed(const PictureInfo &info)
{
    return {info.marker,
            withoutTrailingSpaces(info.namen),
            withoutTrailingSpaces(info.ort),
            withoutTrailingSpaces(info.datum),
            withoutTrailingSpaces(info.anlass),
            withoutTrailingSpaces(info.bemerkungen)};
}

} // namespace zv
