#include "MediaBytes.h"

#include "platform/FileReads.h"
#include "store/PictureInfo.h"
#include "store/PictureTrailer.h"

namespace zv {

MediaBytes::MediaBytes(const QString &path)
{
    if (!openForReading(m_file, path) || m_file.size() <= 0)
        return;
    const qint64 size = m_file.size();
    const uchar *bytes = m_file.map(0, size);
    if (!bytes)
        return;
    const auto *chars = reinterpret_cast<const char *>(bytes);
    qint64 media = size;
    if (size >= PictureInfo::TrailerSize && trailer::hasMarker(chars + size - PictureInfo::TrailerSize)) {
        media = size - PictureInfo::TrailerSize;
        m_trailer = QByteArrayView(chars + media, PictureInfo::TrailerSize);
    }
    m_media = QByteArrayView(chars, media);
}

MediaBytes::~MediaBytes() = default; // QFile unmaps on close

} // namespace zv
