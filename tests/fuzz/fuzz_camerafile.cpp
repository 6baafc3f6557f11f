// What a camera's file may hold, on any bytes: the embedded preview, the turn's plan and the turn
// itself never crash, and a turned JPEG is a JPEG that stands upright (orientation 1).
#include "FuzzCheck.h"

#include "metadata/ExifPreview.h"
#include "metadata/JpegTurn.h"

#include <QByteArrayView>

#include <algorithm>

using namespace zv;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    if (const auto preview = embeddedPreview(bytes, 128)) {
        FUZZ_CHECK(!preview->jpeg.isEmpty());
        FUZZ_CHECK(std::max(preview->size.width(), preview->size.height()) >= 128);
        FUZZ_CHECK(preview->orientation >= 1 && preview->orientation <= 8);
    }
    const JpegTurnPlan plan = planJpegTurn(bytes, Turn::Right);
    if (plan.status != JpegTurnPlan::Status::Ready)
        return 0;
    const TurnedJpeg turned = turnJpeg(bytes, plan);
    if (turned.bytes.isEmpty())
        return 0;
    FUZZ_CHECK(looksLikeJpeg(turned.bytes));
    FUZZ_CHECK(planJpegTurn(turned.bytes, Turn::Upright).status == JpegTurnPlan::Status::AlreadyUpright);
    return 0;
}
