#include "HeifPicture.h"

#ifdef ZV_HEIF_PICTURES
#include <libheif/heif.h>

#include <memory>
#endif

namespace zv {

#ifdef ZV_HEIF_PICTURES

namespace {

template <typename T, void (*Free)(T *)>
struct Freer {
    void operator()(T *p) const { Free(p); }
};
template <typename T, void (*Free)(T *)>
using Owned = std::unique_ptr<T, Freer<T, Free>>;

void freeContext(heif_context *c)
{
    heif_context_free(c);
}
void freeHandle(heif_image_handle *h)
{
    heif_image_handle_release(h);
}
void freeImage(heif_image *i)
{
    heif_image_release(i);
}
void freeOptions(heif_decoding_options *o)
{
    heif_decoding_options_free(o);
}

void initOnce()
{
    // Loads the decoder plugins; once for the process, from whichever thread comes first.
    static const bool done = [] {
        heif_init(nullptr);
        return true;
    }();
    (void)done;
}

} // namespace

bool looksLikeHeif(QByteArrayView head)
{
    if (head.size() < 12)
        return false;
    const heif_filetype_result type =
        heif_check_filetype(reinterpret_cast<const uint8_t *>(head.data()), int(std::min<qsizetype>(head.size(), 64)));
    return type == heif_filetype_yes_supported;
}

std::optional<QImage> decodeHeif(QByteArrayView bytes, qint64 maxPixels)
{
    initOnce();
    Owned<heif_context, freeContext> context(heif_context_alloc());
    if (!context)
        return std::nullopt;
    if (heif_context_read_from_memory_without_copy(context.get(), bytes.data(), size_t(bytes.size()), nullptr).code
        != heif_error_Ok)
        return std::nullopt;
    heif_image_handle *rawHandle = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &rawHandle).code != heif_error_Ok)
        return std::nullopt;
    Owned<heif_image_handle, freeHandle> handle(rawHandle);
    const int width = heif_image_handle_get_width(handle.get());
    const int height = heif_image_handle_get_height(handle.get());
    if (width <= 0 || height <= 0 || qint64(width) * height > maxPixels)
        return std::nullopt;

    const bool alpha = heif_image_handle_has_alpha_channel(handle.get());
    Owned<heif_decoding_options, freeOptions> options(heif_decoding_options_alloc());
    options->ignore_transformations = 0;
    heif_image *rawImage = nullptr;
    if (heif_decode_image(handle.get(), &rawImage, heif_colorspace_RGB,
                          alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get())
            .code
        != heif_error_Ok)
        return std::nullopt;
    Owned<heif_image, freeImage> image(rawImage);
    int stride = 0;
    const uint8_t *plane = heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    if (!plane || w <= 0 || h <= 0)
        return std::nullopt;
    // copy(): the pixels belong to libheif's image, which goes here.
    return QImage(plane, w, h, stride, alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888).copy();
}

#else

bool looksLikeHeif(QByteArrayView)
{
    return false;
}

std::optional<QImage> decodeHeif(QByteArrayView, qint64)
{
    return std::nullopt;
}

#endif

} // namespace zv
