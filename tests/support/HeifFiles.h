#pragma once
// HEIC (HEVC) and AVIF (AV1) files made with libheif's own encoder, for the tests that link it.

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>

#include <cstring>

#include <libheif/heif.h>

namespace zv::test {

// The picture encoded, with the EXIF block (a TIFF header and its IFDs) when one is given; an
// error text, or empty.
inline QString writeHeif(const QString &path, const QImage &picture, heif_compression_format format,
                         const QByteArray &exif = {})
{
    if (!heif_have_encoder_for_format(format))
        return QStringLiteral("no encoder in this libheif");
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    heif_image *image = nullptr;
    heif_image_create(rgb.width(), rgb.height(), heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, rgb.width(), rgb.height(), 8);
    int stride = 0;
    uint8_t *plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < rgb.height(); ++y)
        std::memcpy(plane + y * stride, rgb.constScanLine(y), size_t(rgb.width()) * 3);
    heif_context *context = heif_context_alloc();
    heif_encoder *encoder = nullptr;
    heif_context_get_encoder_for_format(context, format, &encoder);
    heif_encoder_set_lossy_quality(encoder, 90);
    heif_image_handle *handle = nullptr;
    heif_error error = heif_context_encode_image(context, image, encoder, nullptr, &handle);
    if (error.code == heif_error_Ok && !exif.isEmpty())
        error = heif_context_add_exif_metadata(context, handle, exif.constData(), int(exif.size()));
    if (error.code == heif_error_Ok)
        error = heif_context_write_to_file(context, QFile::encodeName(path).constData());
    heif_image_handle_release(handle);
    heif_encoder_release(encoder);
    heif_context_free(context);
    heif_image_release(image);
    return error.code == heif_error_Ok ? QString() : QString::fromUtf8(error.message);
}

} // namespace zv::test
