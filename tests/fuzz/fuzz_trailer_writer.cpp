// Where a save puts the trailer, for any file bytes and any file size: the media bytes in front
// of the trailer stay, the file grows by 914 bytes or not at all, and the save reads back.
#include "FuzzCheck.h"

#include "store/PictureTrailer.h"

#include <QByteArray>

#include <cstdint>
#include <cstring>

using namespace zv;

namespace {

// A size no buffer here could have: only the decision is looked at.
void checkAnySize(const uint8_t *data, size_t size)
{
    if (size < 9)
        return;
    std::uint64_t raw = 0;
    std::memcpy(&raw, data, sizeof raw);
    const auto fileSize = static_cast<qint64>(raw & INT64_MAX);
    const bool marker = data[8] & 1;
    const trailer::Placement place = trailer::placeFor(fileSize, marker);
    FUZZ_CHECK(place.offset >= 0 && place.offset <= fileSize);
    // Over the old trailer exactly, or after the last byte: never into the media.
    if (place.overwrite)
        FUZZ_CHECK(marker && place.offset + 914 == fileSize);
    else
        FUZZ_CHECK(place.offset == fileSize && (!marker || fileSize < 914));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkAnySize(data, size);

    // The input as the file, and texts taken from it, Windows-1252 or not.
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    PictureInfo info;
    const QString text = QString::fromUtf8(bytes.left(600));
    info.namen = text;
    info.ort = text.mid(3);
    info.datum = text.left(10);
    info.anlass = text.mid(7);
    info.bemerkungen = text;

    const bool hasTrailer = size >= 914 && trailer::hasMarker(bytes.constData() + size - 914);
    const trailer::Placement place = trailer::placeFor(bytes.size(), hasTrailer);
    const qsizetype media = hasTrailer ? bytes.size() - 914 : bytes.size();
    FUZZ_CHECK(place.offset == media);
    FUZZ_CHECK(place.overwrite == hasTrailer);
    const QByteArray encoded = trailer::encode(info);
    const QByteArray after = bytes.left(place.offset) + encoded;
    FUZZ_CHECK(after.size() == media + 914);
    FUZZ_CHECK(std::memcmp(after.constData(), bytes.constData(), static_cast<size_t>(media)) == 0);
    FUZZ_CHECK(trailer::encode(trailer::readTail(after)) == encoded);
    return 0;
}
