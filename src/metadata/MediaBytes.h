#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <memory>

namespace zv {

// A media file mapped for reading, seen without its trailer: decoders and metadata readers that
// walk to the end of a file would take the 914 bytes for a broken box or segment. Pages are read
// only where a reader looks, so asking a large video for its header costs no more than reading
// it. Empty when the file cannot be opened or mapped (an empty file included).
class MediaBytes {
public:
    explicit MediaBytes(const QString &path);
    ~MediaBytes();
    MediaBytes(const MediaBytes &) = delete;
    MediaBytes &operator=(const MediaBytes &) = delete;

    bool isEmpty() const { return m_media.isEmpty(); }
    QByteArrayView media() const { return m_media; } // everything before the trailer
    QByteArrayView trailer() const { return m_trailer; } // the 914 bytes, or empty without one
    qint64 fileSize() const { return m_media.size() + m_trailer.size(); }

private:
    QFile m_file;
    QByteArrayView m_media;
    QByteArrayView m_trailer;
};

} // namespace zv
