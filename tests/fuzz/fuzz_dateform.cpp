// The date form of any typed text: always ten characters, the typed text kept at its end when
// its length has a form.
#include "FuzzCheck.h"

#include "model/DateForm.h"

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString typed = QString::fromUtf8(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString stored = dateForm(typed);
    FUZZ_CHECK(stored.size() == 10);
    const qsizetype n = typed.size();
    if (n == 4 || n == 6 || n == 7 || n == 9 || n == 10)
        FUZZ_CHECK(stored.endsWith(typed));
    else
        FUZZ_CHECK(stored == QStringLiteral("xx.xx.xxxx"));
    return 0;
}
