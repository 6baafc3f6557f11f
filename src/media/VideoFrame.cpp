#include "VideoFrame.h"

#include "MpvOptions.h"

#include "platform/FileNames.h"

#include <QElapsedTimer>

#include <mpv/client.h>

#include <clocale>
#include <memory>

namespace zv {
namespace {

struct MpvDestroy {
    void operator()(mpv_handle *mpv) const { mpv_terminate_destroy(mpv); }
};

// screenshot-raw answers with a map of w, h, stride, format and the bytes.
QImage imageOf(const mpv_node &result)
{
    if (result.format != MPV_FORMAT_NODE_MAP)
        return {};
    qint64 width = 0;
    qint64 height = 0;
    qint64 stride = 0;
    QByteArray format;
    const mpv_byte_array *bytes = nullptr;
    for (int i = 0; i < result.u.list->num; ++i) {
        const char *key = result.u.list->keys[i];
        const mpv_node &value = result.u.list->values[i];
        if (qstrcmp(key, "w") == 0 && value.format == MPV_FORMAT_INT64)
            width = value.u.int64;
        else if (qstrcmp(key, "h") == 0 && value.format == MPV_FORMAT_INT64)
            height = value.u.int64;
        else if (qstrcmp(key, "stride") == 0 && value.format == MPV_FORMAT_INT64)
            stride = value.u.int64;
        else if (qstrcmp(key, "format") == 0 && value.format == MPV_FORMAT_STRING)
            format = value.u.string;
        else if (qstrcmp(key, "data") == 0 && value.format == MPV_FORMAT_BYTE_ARRAY)
            bytes = value.u.ba;
    }
    if (format != "bgr0" || width <= 0 || height <= 0 || stride < width * 4 || !bytes
        || qint64(bytes->size) < stride * height)
        return {};
    return QImage(static_cast<const uchar *>(bytes->data), int(width), int(height), qsizetype(stride),
                  QImage::Format_RGB32)
        .copy();
}

} // namespace

void prepareVideoFrames()
{
    std::setlocale(LC_NUMERIC, "C");
}

QImage grabVideoFrame(const QString &path, double seconds, int timeoutMs, const std::atomic_bool *cancelled)
{
    const std::unique_ptr<mpv_handle, MpvDestroy> mpv(mpv_create());
    if (!mpv)
        return {};
    setMpvOptions(mpv.get(), true);
    // Decoded into memory only: no window, no sound, paused on the first frame after the seek.
    mpv_set_option_string(mpv.get(), "vo", "null");
    mpv_set_option_string(mpv.get(), "ao", "null");
    mpv_set_option_string(mpv.get(), "aid", "no");
    mpv_set_option_string(mpv.get(), "sid", "no");
    mpv_set_option_string(mpv.get(), "start", QByteArray::number(seconds).constData());
    if (mpv_initialize(mpv.get()) < 0)
        return {};
    const QByteArray file = nativePath(path);
    const char *load[] = {"loadfile", file.constData(), nullptr};
    if (mpv_command(mpv.get(), load) < 0)
        return {};
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs && !(cancelled && cancelled->load())) {
        const mpv_event *event = mpv_wait_event(mpv.get(), 0.05);
        if (event->event_id == MPV_EVENT_END_FILE)
            return {};
        if (event->event_id != MPV_EVENT_PLAYBACK_RESTART)
            continue;
        const char *shot[] = {"screenshot-raw", "video", nullptr};
        mpv_node result{};
        if (mpv_command_ret(mpv.get(), shot, &result) < 0)
            return {};
        QImage image = imageOf(result);
        mpv_free_node_contents(&result);
        return image;
    }
    return {};
}

} // namespace zv
