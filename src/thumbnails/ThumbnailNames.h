#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace zv::thumbnails {

// The desktop's shared thumbnail cache: $XDG_CACHE_HOME/thumbnails/normal (128 pixels) and
// large (256), one PNG per file named by the MD5 of its URI. The file manager and the album
// serve each other only when both spell the URI alike, so it is made from the path's bytes
// exactly as GLib's g_filename_to_uri does.
QString fileUri(QByteArrayView absoluteNativePath);

// "<md5 of the uri, lower-case hex>.png"
QString cacheFileName(const QString &uri);

// $XDG_CACHE_HOME/thumbnails when that is an absolute path, else $HOME/.cache/thumbnails.
QString cacheRoot(const QByteArray &xdgCacheHome, const QByteArray &home);

inline constexpr int kNormalSize = 128;
inline constexpr int kLargeSize = 256;

// What tells one state of a file from another: its modification time in seconds, and its size,
// which a picture turned within the same second changes.
struct FileStamp {
    std::int64_t mtime = 0;
    std::int64_t size = 0;
    bool operator==(const FileStamp &) const = default;
};

// A cached thumbnail serves only the file it names, as that file was when it was made: a saved
// trailer gives the file a new modification time, and the old thumbnail is stale. The size is
// compared where the thumbnail stored one (the file manager's may not).
bool isCurrent(const QString &storedUri, const QString &storedMtime, const QString &storedSize, const QString &uri,
               const FileStamp &stamp);

} // namespace zv::thumbnails
