// The trailer reader on any bytes of any length, straight from memory: a trailer decodes to
// texts that encode back to the same 914 bytes, anything else to five empty texts.
#include "FuzzCheck.h"

#include "store/PictureTrailer.h"

#include <QByteArray>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const PictureInfo info = trailer::readTail(bytes);
    if (size >= 914 && trailer::hasMarker(bytes.constData() + size - 914)) {
        const char *t = bytes.constData() + size - 914;
        // Every byte decodes to a character that encodes back to it.
        FUZZ_CHECK(trailer::encode(info) == QByteArray(t, 914));
        FUZZ_CHECK(trailer::decodeTrimmed(t) == trimmed(info));
    } else {
        FUZZ_CHECK(info == PictureInfo());
    }
    return 0;
}
