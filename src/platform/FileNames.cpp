#include "FileNames.h"

namespace zv {
namespace {

constexpr char16_t kEscapeBase = 0xDC00;

bool isEscapedByte(char16_t c)
{
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

// Length of the valid UTF-8 sequence starting at s[i], or 0.
int validSequenceLength(const unsigned char *s, qsizetype i, qsizetype n, char32_t &codePoint)
{
    const unsigned char b = s[i];
    int length;
    char32_t minimum;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2;
        codePoint = b & 0x1F;
        minimum = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3;
        codePoint = b & 0x0F;
        minimum = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4;
        codePoint = b & 0x07;
        minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + length > n)
        return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned char c = s[i + k];
        if ((c & 0xC0) != 0x80)
            return 0;
        codePoint = (codePoint << 6) | (c & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF))
        return 0;
    return length;
}

} // namespace

QString decodeFileName(QByteArrayView bytes)
{
    const auto *s = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype firstHigh = 0;
    while (firstHigh < n && s[firstHigh] < 0x80)
        ++firstHigh;
    if (firstHigh == n) // plain ASCII, nearly every name
        return QString::fromLatin1(bytes.data(), n);

    QString name = QString::fromLatin1(bytes.data(), firstHigh);
    name.reserve(n);
    for (qsizetype i = firstHigh; i < n;) {
        if (s[i] < 0x80) {
            name.append(QLatin1Char(char(s[i])));
            ++i;
            continue;
        }
        char32_t codePoint = 0;
        if (const int length = validSequenceLength(s, i, n, codePoint)) {
            const char32_t cp[] = {codePoint};
            name.append(QString::fromUcs4(cp, 1));
            i += length;
        } else {
            name.append(QChar(char16_t(kEscapeBase + s[i])));
            ++i;
        }
    }
    return name;
}

QByteArray nativePath(QStringView path)
{
    QByteArray bytes;
    bytes.reserve(path.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const char16_t c = path[i].unicode();
        const bool pairedLow = i > 0 && path[i - 1].isHighSurrogate();
        if (!isEscapedByte(c) || pairedLow)
            continue;
        bytes += path.mid(runStart, i - runStart).toUtf8();
        bytes += char(c - kEscapeBase);
        runStart = i + 1;
    }
    bytes += path.mid(runStart).toUtf8();
    return bytes;
}

bool hasUndecodableBytes(QStringView name)
{
    for (qsizetype i = 0; i < name.size(); ++i)
        if (isEscapedByte(name[i].unicode()) && !(i > 0 && name[i - 1].isHighSurrogate()))
            return true;
    return false;
}

QString displayFileName(const QString &name)
{
    if (!hasUndecodableBytes(name))
        return name;
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isEscapedByte(shown[i].unicode()) && !(i > 0 && shown[i - 1].isHighSurrogate()))
            shown[i] = QChar(char16_t(shown[i].unicode() - kEscapeBase));
    return shown;
}

QUrl localFileUrl(QStringView path)
{
    return QUrl::fromEncoded("file://" + nativePath(path).toPercentEncoding("/"), QUrl::StrictMode);
}

std::optional<QString> localFilePath(const QUrl &url)
{
    if (!url.isLocalFile() || (!url.host().isEmpty() && url.host() != QLatin1String("localhost")))
        return std::nullopt;
    // The bytes as sent: QUrl::toLocalFile would read them as UTF-8 and lose the others.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (path.isEmpty())
        return std::nullopt;
    return decodeFileName(path);
}

} // namespace zv
