#include "ThumbnailNames.h"

#include "platform/FileNames.h"

#include <QCryptographicHash>

namespace zv::thumbnails {
namespace {

// GLib's path set: the unreserved characters, '/', and the sub-delimiters it leaves in paths.
bool keptInPath(unsigned char c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
        return true;
    switch (c) {
    case '-':
    case '.':
    case '_':
    case '~':
    case '/':
    case '!':
    case '$':
    case '&':
    case '\'':
    case '(':
    case ')':
    case '*':
    case '+':
    case ',':
    case '=':
    case ':':
    case '@':
        return true;
    default:
        return false;
    }
}

} // namespace

QString fileUri(QByteArrayView absoluteNativePath)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray uri("file://");
    uri.reserve(uri.size() + absoluteNativePath.size() * 3);
    for (const char ch : absoluteNativePath) {
        const auto c = static_cast<unsigned char>(ch);
        if (keptInPath(c)) {
            uri += ch;
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 15];
        }
    }
    return QString::fromLatin1(uri);
}

QString cacheFileName(const QString &uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri.toUtf8(), QCryptographicHash::Md5).toHex())
           + QStringLiteral(".png");
}

QString cacheRoot(const QByteArray &xdgCacheHome, const QByteArray &home)
{
    const QString base =
        xdgCacheHome.startsWith('/') ? decodeFileName(xdgCacheHome) : decodeFileName(home) + QStringLiteral("/.cache");
    return base + QStringLiteral("/thumbnails");
}

bool isCurrent(const QString &storedUri, const QString &storedMtime, const QString &storedSize, const QString &uri,
               const FileStamp &stamp)
{
    bool number = false;
    const qlonglong mtime = storedMtime.toLongLong(&number);
    if (storedUri != uri || !number || mtime != stamp.mtime)
        return false;
    if (storedSize.isEmpty())
        return true;
    const qlonglong size = storedSize.toLongLong(&number);
    return number && size == stamp.size;
}

} // namespace zv::thumbnails
