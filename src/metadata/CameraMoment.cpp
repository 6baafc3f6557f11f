#include "CameraMoment.h"

#include "ExivSession.h"
#include "MediaBytes.h"

#include <QTimeZone>

#include <algorithm>
#include <cstring>
#include <exception>
#include <iterator>
#include <limits>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <exiv2/exiv2.hpp>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

namespace zv {
namespace {

// "YYYY:MM:DD HH:MM:SS", blanks or zeros for what the camera did not know; only a whole,
// real date counts.
std::optional<QDateTime> exifMoment(const std::string &text)
{
    const QString s = QString::fromLatin1(text.c_str()).trimmed();
    if (s.size() < 19 || s[4] != u':' || s[7] != u':' || s[10] != u' ' || s[13] != u':' || s[16] != u':')
        return std::nullopt;
    for (const int i : {0, 1, 2, 3, 5, 6, 8, 9, 11, 12, 14, 15, 17, 18})
        if (s[i] < u'0' || s[i] > u'9')
            return std::nullopt;
    const QDate date(s.mid(0, 4).toInt(), s.mid(5, 2).toInt(), s.mid(8, 2).toInt());
    const QTime time(s.mid(11, 2).toInt(), s.mid(14, 2).toInt(), s.mid(17, 2).toInt());
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time); // local time: the camera's clock, read as it was set
}

// Big-endian fields of ISO media boxes, every read checked against the end: a broken or hostile
// file ends the walk, never reads beyond its bytes.
class BoxReader {
public:
    explicit BoxReader(QByteArrayView bytes)
        : m_bytes(bytes)
    { }
    bool ok() const { return m_ok; }
    qsizetype position() const { return m_at; }
    bool atEnd() const { return !m_ok || m_at >= m_bytes.size(); }
    quint64 number(int size)
    {
        if (size == 0)
            return 0;
        if (size > 8 || m_bytes.size() - m_at < size) {
            m_ok = false;
            return 0;
        }
        quint64 value = 0;
        for (int i = 0; i < size; ++i)
            value = value << 8 | quint8(m_bytes[m_at + i]);
        m_at += size;
        return value;
    }
    QByteArrayView type() { return take(4); }
    QByteArrayView take(qsizetype size)
    {
        if (size < 0 || m_bytes.size() - m_at < size) {
            m_ok = false;
            return {};
        }
        const QByteArrayView part = m_bytes.sliced(m_at, size);
        m_at += size;
        return part;
    }

private:
    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

// The boxes directly inside bytes, as type and contents.
std::vector<std::pair<QByteArrayView, QByteArrayView>> boxesIn(QByteArrayView bytes)
{
    std::vector<std::pair<QByteArrayView, QByteArrayView>> boxes;
    BoxReader r(bytes);
    while (!r.atEnd() && bytes.size() - r.position() >= 8) {
        const qsizetype start = r.position();
        quint64 size = r.number(4);
        const QByteArrayView type = r.type();
        if (size == 1)
            size = r.number(8);
        else if (size == 0)
            size = quint64(bytes.size() - start);
        const qsizetype header = r.position() - start;
        if (!r.ok() || size < quint64(header) || size > quint64(bytes.size() - start))
            break;
        boxes.emplace_back(type, r.take(qsizetype(size) - header));
    }
    return boxes;
}

QByteArrayView childBox(QByteArrayView bytes, const char *type)
{
    for (const auto &[t, contents] : boxesIn(bytes))
        if (t == QByteArrayView(type, 4))
            return contents;
    return {};
}

// The TIFF block of a HEIC's Exif item, found through iinf and iloc. libexiv2 0.27 reads the
// item's place without iloc's base offset, which libheif's files use, and so finds nothing there.
QByteArrayView heifExifBlock(QByteArrayView file)
{
    const QByteArrayView meta = childBox(file, "meta");
    if (meta.size() < 4)
        return {};
    const QByteArrayView inMeta = meta.sliced(4); // after version and flags
    const QByteArrayView iinfBox = childBox(inMeta, "iinf");
    BoxReader iinf(iinfBox);
    const quint64 iinfVersion = iinf.number(1);
    iinf.number(3);
    iinf.number(iinfVersion == 0 ? 2 : 4); // the entry count; the boxes say it again
    if (!iinf.ok())
        return {};
    std::optional<quint64> exifItem;
    for (const auto &[type, contents] : boxesIn(iinfBox.sliced(iinf.position()))) {
        if (type != QByteArrayView("infe", 4))
            continue;
        BoxReader infe(contents);
        const quint64 version = infe.number(1);
        infe.number(3);
        if (version < 2)
            continue;
        const quint64 id = infe.number(version == 2 ? 2 : 4);
        infe.number(2); // protection index
        if (infe.type() == QByteArrayView("Exif", 4) && infe.ok()) {
            exifItem = id;
            break;
        }
    }
    if (!exifItem)
        return {};
    BoxReader iloc(childBox(inMeta, "iloc"));
    const quint64 version = iloc.number(1);
    iloc.number(3);
    const quint64 sizes = iloc.number(1);
    const int offsetSize = int(sizes >> 4), lengthSize = int(sizes & 15);
    const quint64 moreSizes = iloc.number(1);
    const int baseOffsetSize = int(moreSizes >> 4);
    const int indexSize = version == 1 || version == 2 ? int(moreSizes & 15) : 0;
    const quint64 items = iloc.number(version < 2 ? 2 : 4);
    for (quint64 i = 0; i < items && iloc.ok(); ++i) {
        const quint64 id = iloc.number(version < 2 ? 2 : 4);
        const quint64 method = version == 1 || version == 2 ? iloc.number(2) & 15 : 0;
        iloc.number(2); // data reference
        const quint64 base = iloc.number(baseOffsetSize);
        const quint64 extents = iloc.number(2);
        quint64 offset = 0, length = 0;
        for (quint64 e = 0; e < extents && iloc.ok(); ++e) {
            iloc.number(indexSize);
            const quint64 o = iloc.number(offsetSize), l = iloc.number(lengthSize);
            if (e == 0) {
                offset = o;
                length = l;
            }
        }
        if (!iloc.ok() || id != *exifItem)
            continue;
        const quint64 start = base + offset;
        if (method != 0 || extents != 1 || start < base || start > quint64(file.size())
            || length > quint64(file.size()) - start || length < 4)
            return {};
        // The item opens with the distance from its fifth byte to the TIFF header.
        BoxReader item(file.sliced(qsizetype(start), qsizetype(length)));
        const quint64 skip = item.number(4);
        if (skip > length - 4)
            return {};
        return file.sliced(qsizetype(start + 4 + skip), qsizetype(length - 4 - skip));
    }
    return {};
}

std::optional<QDateTime> originalMoment(const Exiv2::ExifData &exif)
{
    const auto found = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
    if (found == exif.end())
        return std::nullopt;
    return exifMoment(found->toString());
}

std::optional<QDateTime> pictureMoment(QByteArrayView bytes, bool heif)
{
    prepareExiv2();
    try {
        const auto *data = reinterpret_cast<const Exiv2::byte *>(bytes.data());
        const long size = long(std::min<qsizetype>(bytes.size(), std::numeric_limits<long>::max()));
        auto image = Exiv2::ImageFactory::open(data, size);
        if (!image.get())
            return std::nullopt;
        image->readMetadata();
        if (const auto moment = originalMoment(image->exifData()))
            return moment;
    } catch (const Exiv2::AnyError &) {
        if (!heif)
            return std::nullopt; // a damaged block
    } catch (const std::exception &) {
        return std::nullopt; // exiv2 lets std::bad_alloc and friends through on absurd sizes
    }
    if (!heif)
        return std::nullopt;
    const QByteArrayView tiff = heifExifBlock(bytes);
    if (tiff.isEmpty())
        return std::nullopt;
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, reinterpret_cast<const Exiv2::byte *>(tiff.data()), uint32_t(tiff.size()));
        return originalMoment(exif);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

struct MemoryReader {
    const uint8_t *data;
    int64_t size;
    int64_t position = 0;
};

int readBytes(void *opaque, uint8_t *buffer, int wanted)
{
    auto *reader = static_cast<MemoryReader *>(opaque);
    const int64_t n = std::min<int64_t>(wanted, reader->size - reader->position);
    if (n <= 0)
        return AVERROR_EOF;
    std::memcpy(buffer, reader->data + reader->position, size_t(n));
    reader->position += n;
    return int(n);
}

int64_t seekBytes(void *opaque, int64_t offset, int whence)
{
    auto *reader = static_cast<MemoryReader *>(opaque);
    int64_t to = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return reader->size;
    case SEEK_SET:
        to = offset;
        break;
    case SEEK_CUR:
        to = reader->position + offset;
        break;
    case SEEK_END:
        to = reader->size + offset;
        break;
    default:
        return -1;
    }
    if (to < 0 || to > reader->size)
        return -1;
    reader->position = to;
    return to;
}

// An ISO 8601 text in UTC, as the demuxers write creation_time; fractions of a second dropped.
std::optional<QDateTime> utcMoment(const char *text)
{
    QString s = QString::fromLatin1(text).trimmed();
    if (s.endsWith(u'Z') || s.endsWith(u'z'))
        s.chop(1);
    const qsizetype fraction = s.indexOf(u'.');
    if (fraction >= 0)
        s.truncate(fraction);
    s.replace(u' ', u'T');
    QDateTime moment = QDateTime::fromString(s, QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    if (!moment.isValid())
        return std::nullopt;
    moment.setTimeZone(QTimeZone::utc());
    return moment.toLocalTime();
}

std::optional<QDateTime> videoMoment(QByteArrayView bytes)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_QUIET); }); // a broken header is no moment, not a line
    constexpr int kBufferSize = 1 << 16;
    MemoryReader reader{reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size()};
    auto *buffer = static_cast<unsigned char *>(av_malloc(kBufferSize));
    if (!buffer)
        return std::nullopt;
    AVIOContext *io = avio_alloc_context(buffer, kBufferSize, 0, &reader, readBytes, nullptr, seekBytes);
    if (!io) {
        av_free(buffer);
        return std::nullopt;
    }
    std::optional<QDateTime> moment;
    AVFormatContext *format = avformat_alloc_context();
    if (format) {
        format->pb = io;
        format->flags |= AVFMT_FLAG_CUSTOM_IO;
        // Frees the context itself when it fails.
        if (avformat_open_input(&format, nullptr, nullptr, nullptr) == 0) {
            if (const AVDictionaryEntry *entry = av_dict_get(format->metadata, "creation_time", nullptr, 0))
                moment = utcMoment(entry->value);
            avformat_close_input(&format);
        }
    }
    av_freep(&io->buffer); // the library may have swapped the buffer for its own
    avio_context_free(&io);
    return moment;
}

// libexiv2 takes every ISO media file for its BMFF picture, films from phones too; the major
// brand tells a still picture (HEIC, AVIF, Canon's CR3) from a film.
bool isStillBmff(QByteArrayView bytes)
{
    if (bytes.size() < 12 || bytes.sliced(4, 4) != QByteArrayView("ftyp"))
        return false;
    static constexpr const char *kStillBrands[] = {"heic", "heix", "heim", "heis", "hevc", "hevx",
                                                   "mif1", "msf1", "avif", "avis", "crx ", "jxl "};
    const QByteArrayView brand = bytes.sliced(8, 4);
    return std::any_of(std::begin(kStillBrands), std::end(kStillBrands),
                       [&](const char *still) { return brand == QByteArrayView(still, 4); });
}

} // namespace

std::optional<QDateTime> cameraMoment(const QString &path)
{
    const MediaBytes file(path);
    if (file.isEmpty())
        return std::nullopt;
    const QByteArrayView bytes = file.media();
    prepareExiv2();
    int type = 0;
    try {
        type = Exiv2::ImageFactory::getType(reinterpret_cast<const Exiv2::byte *>(bytes.data()),
                                            long(std::min<qsizetype>(bytes.size(), std::numeric_limits<long>::max())));
    } catch (const std::exception &) {
        type = 0;
    }
    if (type == Exiv2::ImageType::bmff && isStillBmff(bytes))
        return pictureMoment(bytes, true);
    // Films go to libavformat, whatever libexiv2 thinks it knows of them: its own video readers
    // find no EXIF there and can spend minutes in a damaged one.
    // (RIFF 20, Matroska 21, QuickTime 22, ASF 24: their headers do not compile on their own.)
    const bool film = type == Exiv2::ImageType::bmff || type == 20 || type == 21 || type == 22 || type == 24;
    if (type != Exiv2::ImageType::none && !film)
        return pictureMoment(bytes, false);
    return videoMoment(bytes);
}

} // namespace zv
