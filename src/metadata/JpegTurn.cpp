#include "JpegTurn.h"

#include "ExivSession.h"

#include <array>
#include <memory>
#include <optional>

#include <exiv2/exiv2.hpp>
#include <turbojpeg.h>

namespace zv {
namespace {

// The eight ways a picture can lie in the file, each as what it does to a pixel's place:
// x' = a·x + b·y, y' = c·x + d·y, about the picture's middle, y pointing down.
struct Placing {
    int a, b, c, d;
    bool operator==(const Placing &) const = default;
};

// In TJXOP order.
constexpr std::array<Placing, 8> kTransforms{{
    {1, 0, 0, 1}, // NONE
    {-1, 0, 0, 1}, // HFLIP
    {1, 0, 0, -1}, // VFLIP
    {0, 1, 1, 0}, // TRANSPOSE
    {0, -1, -1, 0}, // TRANSVERSE
    {0, -1, 1, 0}, // ROT90, clockwise
    {-1, 0, 0, -1}, // ROT180
    {0, 1, -1, 0}, // ROT270
}};

// What shows a picture of EXIF orientation 1–8 upright.
constexpr std::array<int, 9> kUpright{TJXOP_NONE,      TJXOP_NONE,  TJXOP_HFLIP,      TJXOP_ROT180, TJXOP_VFLIP,
                                      TJXOP_TRANSPOSE, TJXOP_ROT90, TJXOP_TRANSVERSE, TJXOP_ROT270};

Placing after(const Placing &second, const Placing &first)
{
    return {second.a * first.a + second.b * first.c, second.a * first.b + second.b * first.d,
            second.c * first.a + second.d * first.c, second.c * first.b + second.d * first.d};
}

int transformFor(int orientation, Turn turn)
{
    const int upright = kUpright[orientation];
    if (turn == Turn::Upright)
        return upright;
    const Placing turned = after(kTransforms[turn == Turn::Right ? TJXOP_ROT90 : TJXOP_ROT270], kTransforms[upright]);
    for (std::size_t op = 0; op < kTransforms.size(); ++op) {
        if (kTransforms[op] == turned)
            return static_cast<int>(op);
    }
    return TJXOP_NONE; // the eight are closed under composition
}

bool swapsSides(int transform)
{
    return transform == TJXOP_TRANSPOSE || transform == TJXOP_TRANSVERSE || transform == TJXOP_ROT90
           || transform == TJXOP_ROT270;
}

// The edges a transform moves to the top or left must be whole blocks, or the picture would
// lose them (libjpeg-turbo's rule for a perfect transform).
bool wholeBlocks(const JpegTurnPlan &plan)
{
    const bool wholeWidth = plan.width % plan.blockWidth == 0;
    const bool wholeHeight = plan.height % plan.blockHeight == 0;
    switch (plan.transform) {
    case TJXOP_HFLIP:
    case TJXOP_ROT270:
        return wholeWidth;
    case TJXOP_VFLIP:
    case TJXOP_ROT90:
        return wholeHeight;
    case TJXOP_TRANSVERSE:
    case TJXOP_ROT180:
        return wholeWidth && wholeHeight;
    default:
        return true;
    }
}

struct TjHandle {
    tjhandle handle = tjInitTransform();
    ~TjHandle()
    {
        if (handle)
            tjDestroy(handle);
    }
};

const Exiv2::byte *exivBytes(QByteArrayView bytes)
{
    return reinterpret_cast<const Exiv2::byte *>(bytes.data());
}

QString damagedExif()
{
    return QStringLiteral("Die EXIF-Angaben der Datei sind beschädigt; es ist nicht zu erkennen, wie das Bild steht.");
}

// The EXIF orientation, 1 for none or a value outside 1–8 (viewers show those unturned);
// nothing when the EXIF cannot be read.
std::optional<int> readOrientation(QByteArrayView jpeg)
{
    prepareExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(exivBytes(jpeg), static_cast<long>(jpeg.size()));
        image->readMetadata();
        const Exiv2::ExifData &exif = image->exifData();
        const auto it = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (it == exif.end() || it->count() == 0)
            return 1;
        const long value = it->toLong();
        return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    } catch (const Exiv2::AnyError &) {
        return std::nullopt;
    } catch (const std::exception &) {
        return std::nullopt;
    }
}

// Previews of the old way, wherever the camera put them: IFD1, the maker note, XMP. A thumbnail
// maker that finds one of the picture's shape would show it, turned the new way.
void dropPreviews(Exiv2::ExifData &exif, Exiv2::XmpData &xmp)
{
    Exiv2::ExifThumb(exif).erase();
    const auto names = [](const std::string &name) {
        return name.find("Preview") != std::string::npos || name.find("Thumbnail") != std::string::npos;
    };
    for (auto it = exif.begin(); it != exif.end();)
        it = names(it->groupName()) || names(it->tagName()) ? exif.erase(it) : std::next(it);
    for (auto it = xmp.begin(); it != xmp.end();)
        it = it->key().rfind("Xmp.xmp.Thumbnails", 0) == 0 ? xmp.erase(it) : std::next(it);
}

// The EXIF of a turned picture: it stands as stored now, and no preview shows the old way.
QByteArray uprightExif(QByteArrayView jpeg, int transform, QString &reason)
{
    try {
        auto image = Exiv2::ImageFactory::open(exivBytes(jpeg), static_cast<long>(jpeg.size()));
        image->readMetadata();
        Exiv2::ExifData &exif = image->exifData();
        Exiv2::XmpData &xmp = image->xmpData();
        if (exif.empty() && xmp.empty())
            return QByteArray(jpeg.data(), jpeg.size());
        dropPreviews(exif, xmp);
        if (!exif.empty()) {
            exif["Exif.Image.Orientation"] = uint16_t(1);
            if (swapsSides(transform)) {
                const auto x = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension"));
                const auto y = exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelYDimension"));
                if (x != exif.end() && y != exif.end()) {
                    const std::string width = x->toString();
                    x->setValue(y->toString());
                    y->setValue(width);
                }
            }
        }
        if (const auto orientation = xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")); orientation != xmp.end())
            orientation->setValue("1");
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        io.open();
        const auto size = io.size();
        QByteArray out(reinterpret_cast<const char *>(io.mmap(false)), static_cast<qsizetype>(size));
        io.munmap();
        io.close();
        return out;
    } catch (const Exiv2::AnyError &) {
    } catch (const std::exception &) { }
    reason = QStringLiteral("Die EXIF-Angaben der Datei lassen sich nicht schreiben.");
    return {};
}

} // namespace

bool looksLikeJpeg(QByteArrayView bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

JpegTurnPlan planJpegTurn(QByteArrayView jpeg, Turn turn)
{
    JpegTurnPlan plan;
    if (!looksLikeJpeg(jpeg)) {
        plan.status = JpegTurnPlan::Status::NotJpeg;
        return plan;
    }
    const TjHandle tj;
    int subsampling = -1;
    int colours = 0;
    if (!tj.handle
        || tjDecompressHeader3(tj.handle, reinterpret_cast<const unsigned char *>(jpeg.data()),
                               static_cast<unsigned long>(jpeg.size()), &plan.width, &plan.height, &subsampling,
                               &colours)
               != 0
        || subsampling < 0 || subsampling >= TJ_NUMSAMP) {
        plan.status = JpegTurnPlan::Status::Unreadable;
        plan.reason = QStringLiteral("Das JPEG-Bild ist beschädigt oder in einer Form gespeichert, die sich nicht "
                                     "verlustfrei drehen lässt.");
        return plan;
    }
    plan.blockWidth = tjMCUWidth[subsampling];
    plan.blockHeight = tjMCUHeight[subsampling];
    const std::optional<int> orientation = readOrientation(jpeg);
    if (!orientation) {
        plan.status = JpegTurnPlan::Status::Unreadable;
        plan.reason = damagedExif();
        return plan;
    }
    plan.orientation = *orientation;
    if (turn == Turn::Upright && plan.orientation == 1) {
        plan.status = JpegTurnPlan::Status::AlreadyUpright;
        return plan;
    }
    plan.transform = transformFor(plan.orientation, turn);
    if (!wholeBlocks(plan))
        plan.status = JpegTurnPlan::Status::NotWholeBlocks;
    return plan;
}

TurnedJpeg turnJpeg(QByteArrayView jpeg, const JpegTurnPlan &plan)
{
    TurnedJpeg turned;
    if (plan.status != JpegTurnPlan::Status::Ready)
        return turned;
    prepareExiv2();
    const QByteArray marked = uprightExif(jpeg, plan.transform, turned.reason);
    if (marked.isEmpty())
        return turned;
    if (plan.transform == TJXOP_NONE) {
        turned.bytes = marked;
        return turned;
    }
    const TjHandle tj;
    unsigned char *out = nullptr;
    unsigned long outSize = 0;
    tjtransform transform{};
    transform.op = plan.transform;
    transform.options = TJXOPT_PERFECT; // markers are copied: EXIF, ICC profile, XMP stay
    const int failed = !tj.handle
                       || tjTransform(tj.handle, reinterpret_cast<const unsigned char *>(marked.constData()),
                                      static_cast<unsigned long>(marked.size()), 1, &out, &outSize, &transform, 0)
                              != 0;
    if (!failed)
        turned.bytes = QByteArray(reinterpret_cast<const char *>(out), static_cast<qsizetype>(outSize));
    else
        turned.reason = QStringLiteral("Das JPEG-Bild ist beschädigt und lässt sich nicht verlustfrei drehen.");
    tjFree(out);
    return turned;
}

} // namespace zv
