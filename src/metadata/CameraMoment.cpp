#include "CameraMoment.h"

#include "ExivSession.h"
#include "MediaBytes.h"

#include <QTimeZone>

#include <algorithm>
#include <cstring>
#include <exception>
#include <iterator>
#include <limits>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <exiv2/exiv2.hpp>

#ifdef ZV_HEIF_PICTURES
#include <libheif/heif.h>
#endif

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

std::optional<QDateTime> originalMoment(const Exiv2::ExifData &exif)
{
    const auto found = exif.findKey(Exiv2::ExifKey("Exif.Photo.DateTimeOriginal"));
    if (found == exif.end())
        return std::nullopt;
    return exifMoment(found->toString());
}

#ifdef ZV_HEIF_PICTURES
// The moment in a HEIC's Exif item, as libheif finds the item: libexiv2 0.27 reads the item's
// place without iloc's base offset, which libheif's own files use, and so finds nothing there.
std::optional<QDateTime> heifMoment(QByteArrayView bytes)
{
    const std::unique_ptr<heif_context, void (*)(heif_context *)> context(heif_context_alloc(), heif_context_free);
    if (!context
        || heif_context_read_from_memory_without_copy(context.get(), bytes.data(), size_t(bytes.size()), nullptr).code
               != heif_error_Ok)
        return std::nullopt;
    heif_image_handle *primary = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primary).code != heif_error_Ok)
        return std::nullopt;
    const std::unique_ptr<const heif_image_handle, void (*)(const heif_image_handle *)> handle(
        primary, heif_image_handle_release);
    heif_item_id item = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(handle.get(), "Exif", &item, 1) != 1)
        return std::nullopt;
    std::vector<uint8_t> block(heif_image_handle_get_metadata_size(handle.get(), item));
    if (block.size() < 4 || heif_image_handle_get_metadata(handle.get(), item, block.data()).code != heif_error_Ok)
        return std::nullopt;
    // The item opens with the distance from its fifth byte to the TIFF header.
    const quint32 skip = quint32(block[0]) << 24 | quint32(block[1]) << 16 | quint32(block[2]) << 8 | block[3];
    if (skip > block.size() - 4)
        return std::nullopt;
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, block.data() + 4 + skip, uint32_t(block.size() - 4 - skip));
        return originalMoment(exif);
    } catch (const std::exception &) {
        return std::nullopt;
    }
}
#endif

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
#ifdef ZV_HEIF_PICTURES
    if (heif)
        return heifMoment(bytes);
#endif
    return std::nullopt;
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
