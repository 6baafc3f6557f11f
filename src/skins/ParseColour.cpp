#include "ParseColour.h"

namespace zv {

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

} // namespace

std::optional<QColor> ParseColour(QStringView text)
{
    if (text.size() < 6)
        return std::nullopt;
    int channels[3] = {};
    for (int i = 0; i < 6; ++i) {
        const int digit = hexDigit(text[i]);
        if (digit < 0)
            return std::nullopt;
        channels[i / 2] = channels[i / 2] * 16 + digit;
    }
    return QColor(channels[0], channels[1], channels[2]);
}

} // namespace zv
