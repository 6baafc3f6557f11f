#include "Numbering.h"

namespace zv {

std::optional<qint64> parseStartNumber(QStringView text)
{
    if (!isNumberText(text))
        return std::nullopt;
    // The old counter was a signed 32-bit number and could not go past 2147483647. Counting
    // in 64 bits costs nothing and a longer number only makes a longer name, so larger start
    // numbers are taken as they are; 18 digits keep the count and its successor inside 64 bits.
    // Leading zeros do not count.
    qsizetype first = 0;
    while (first < text.size() - 1 && text[first] == QLatin1Char('0'))
        ++first;
    if (text.size() - first > 18)
        return std::nullopt;
    return text.isEmpty() ? 0 : text.mid(first).toLongLong();
}

bool isNumberText(QStringView text)
{
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

NumberedName numberedName(qint64 n, QStringView sourceExtension, const std::function<bool(const QString &)> &taken)
{
    // Every extension the album or the import browser knows, whether this build decodes it or not.
    static const char *const extensions[] = {".jpg",  ".jpeg", ".bmp",  ".gif",  ".png",  ".webp", ".tif",
                                             ".tiff", ".heic", ".heif", ".avif", ".mpg",  ".mpeg", ".avi",
                                             ".mov",  ".mp4",  ".m4v",  ".mkv",  ".webm", ".3gp",  ".mts",
                                             ".m2ts", ".wmv",  ".flv",  ".ogv",  ".wav",  ".mp3",  ".pdf"};
    for (;;) {
        const QString s = QString::number(n).rightJustified(6, QLatin1Char('0'));
        ++n;
        bool used = false;
        for (const char *ext : extensions)
            if (taken(s + QLatin1String(ext))) {
                used = true;
                break;
            }
        if (!used)
            return {s + QLatin1Char('.') + sourceExtension.toString(), n};
    }
}

} // namespace zv
