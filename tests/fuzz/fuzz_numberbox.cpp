// The import's number box: a text the box accepts as a number always gives a start number, and
// a start number is never negative.
#include "FuzzCheck.h"

#include "operations/Numbering.h"

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const std::optional<qint64> start = parseStartNumber(text);
    if (start)
        FUZZ_CHECK(*start >= 0);
    if (isNumberText(text) && text.size() <= 18)
        FUZZ_CHECK(start.has_value());
    return 0;
}
