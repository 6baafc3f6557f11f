#include "media/MpvSession.h"

#include "media/MciErrors.h"
#include "media/MpvOptions.h"
#include "media/MpvVideoWidget.h"
#include "platform/FileNames.h"

#include <QDeadlineTimer>
#include <QLoggingCategory>

#include <mpv/client.h>

#include <algorithm>
#include <clocale>
#include <cmath>

namespace zv {
namespace {

// Off unless asked for (QT_LOGGING_RULES="zv.media.mpv.debug=true").
Q_LOGGING_CATEGORY(lcMpv, "zv.media.mpv", QtInfoMsg)

constexpr int LoadTimeoutMs = 5000;
constexpr int SeekTimeoutMs = 3000;

int loadErrorCode(int mpvError)
{
    switch (mpvError) {
    case MPV_ERROR_NOTHING_TO_PLAY:
    case MPV_ERROR_UNKNOWN_FORMAT:
    case MPV_ERROR_UNSUPPORTED:
        return mci::InvalidFile;
    case MPV_ERROR_LOADING_FAILED:
        return mci::FileRead;
    default:
        return mci::InvalidFile;
    }
}

} // namespace

std::unique_ptr<MpvSession> MpvSession::create(QWidget *window)
{
    // mpv refuses to start unless numbers are formatted the C way.
    std::setlocale(LC_NUMERIC, "C");
    mpv_handle *mpv = mpv_create();
    if (!mpv)
        return nullptr;
    setMpvOptions(mpv, window != nullptr);
    if (mpv_initialize(mpv) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    std::unique_ptr<MpvSession> session(new MpvSession(mpv));
    if (window && !session->attachWindow(window))
        return nullptr;
    return session;
}

MpvSession::MpvSession(mpv_handle *mpv)
    : m_mpv(mpv)
{
    mpv_set_wakeup_callback(
        m_mpv,
        [](void *self) {
            QMetaObject::invokeMethod(static_cast<MpvSession *>(self), &MpvSession::drainEvents, Qt::QueuedConnection);
        },
        this);
    mpv_observe_property(m_mpv, 0, "eof-reached", MPV_FORMAT_FLAG);
    mpv_request_log_messages(m_mpv, "warn");
}

MpvSession::~MpvSession()
{
    // The render context must go before the core it renders.
    delete m_widget.data();
    mpv_set_wakeup_callback(m_mpv, nullptr, nullptr);
    mpv_terminate_destroy(m_mpv);
}

int MpvSession::load(const QString &path)
{
    // mpv takes the name's bytes as they are on disk, which need not be UTF-8.
    const QByteArray file = nativePath(path);
    const char *args[] = {"loadfile", file.constData(), "replace", nullptr};
    if (mpv_command(m_mpv, args) < 0)
        return mci::InvalidFile;
    m_loadError = 0;
    const QDeadlineTimer deadline(LoadTimeoutMs);
    const bool finished =
        waitFor([this](const mpv_event &event) { return event.event_id == MPV_EVENT_FILE_LOADED || m_loadError != 0; },
                LoadTimeoutMs);
    if (!finished || !m_loaded)
        return m_loadError ? m_loadError : mci::InvalidFile;
    // The first frame is decoded once playback has "restarted" at the start.
    waitFor([](const mpv_event &event) { return event.event_id == MPV_EVENT_PLAYBACK_RESTART; },
            int(deadline.remainingTime()));
    m_mode = Mode::Stopped;
    return m_loaded ? mci::NoError : (m_loadError ? m_loadError : mci::InvalidFile);
}

void MpvSession::drainEvents()
{
    while (true) {
        mpv_event *event = mpv_wait_event(m_mpv, 0);
        if (event->event_id == MPV_EVENT_NONE)
            return;
        handle(*event);
    }
}

void MpvSession::handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_FILE_LOADED:
        m_loaded = true;
        break;
    case MPV_EVENT_LOG_MESSAGE: {
        const auto *message = static_cast<const mpv_event_log_message *>(event.data);
        qCDebug(lcMpv, "%s: %s", message->prefix, QByteArray(message->text).trimmed().constData());
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        // Full screen playback ends with the movie, as MCI's does.
        const auto *property = static_cast<const mpv_event_property *>(event.data);
        if (m_fullScreen && property->format == MPV_FORMAT_FLAG && *static_cast<int *>(property->data))
            QMetaObject::invokeMethod(this, &MpvSession::endFullScreen, Qt::QueuedConnection);
        break;
    }
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        if (end && end->reason == MPV_END_FILE_REASON_ERROR)
            m_loadError = loadErrorCode(end->error);
        else
            m_loadError = m_loadError ? m_loadError : mci::InvalidFile;
        m_loaded = false;
        m_mode = Mode::NotReady;
        break;
    }
    default:
        break;
    }
}

bool MpvSession::waitFor(const std::function<bool(const mpv_event &)> &done, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        if (m_widget)
            m_widget->renderPending();
        const qint64 slice = std::min<qint64>(deadline.remainingTime(), 10);
        mpv_event *event = mpv_wait_event(m_mpv, double(slice) / 1000.0);
        if (event->event_id == MPV_EVENT_NONE)
            continue;
        handle(*event);
        if (done(*event))
            return true;
        if (event->event_id == MPV_EVENT_SHUTDOWN)
            return false;
    }
    return false;
}

MpvSession::Mode MpvSession::mode()
{
    if (!m_loaded)
        return Mode::NotReady;
    if (m_mode == Mode::Playing) {
        // At the end mpv pauses by itself (keep-open); a track switch there clears eof-reached.
        int eof = 0, paused = 0;
        mpv_get_property(m_mpv, "eof-reached", MPV_FORMAT_FLAG, &eof);
        mpv_get_property(m_mpv, "pause", MPV_FORMAT_FLAG, &paused);
        if (eof || paused)
            m_mode = Mode::Stopped;
    }
    return m_mode;
}

void MpvSession::play()
{
    setFlag("pause", false);
    m_mode = Mode::Playing;
}

void MpvSession::pause()
{
    setFlag("pause", true);
    m_mode = Mode::Paused;
}

void MpvSession::stop()
{
    setFlag("pause", true);
    m_mode = Mode::Stopped;
}

void MpvSession::seek(double seconds)
{
    if (mode() == Mode::Playing)
        stop();
    const QByteArray target = QByteArray::number(seconds, 'f', 3);
    const char *args[] = {"seek", target.constData(), "absolute+exact", nullptr};
    if (mpv_command(m_mpv, args) < 0)
        return;
    waitFor([](const mpv_event &event) { return event.event_id == MPV_EVENT_PLAYBACK_RESTART; }, SeekTimeoutMs);
}

void MpvSession::step(int frames)
{
    const double fps = frameRate();
    if (fps <= 0)
        return;
    if (mode() == Mode::Playing)
        pause();
    seek(std::max(0.0, position() + frames / fps));
    m_mode = Mode::Paused;
}

double MpvSession::numberProperty(const char *name, double fallback) const
{
    double value = 0;
    if (mpv_get_property(m_mpv, name, MPV_FORMAT_DOUBLE, &value) < 0 || !std::isfinite(value))
        return fallback;
    return value;
}

void MpvSession::setFlag(const char *name, bool value)
{
    int flag = value ? 1 : 0;
    mpv_set_property(m_mpv, name, MPV_FORMAT_FLAG, &flag);
}

double MpvSession::position() const
{
    return std::max(0.0, numberProperty("time-pos"));
}
double MpvSession::duration() const
{
    return numberProperty("duration");
}

double MpvSession::frameRate() const
{
    const double fps = numberProperty("container-fps");
    return fps > 0 ? fps : videoTrackNumber("demux-fps");
}

double MpvSession::videoTrackNumber(const char *key) const
{
    // The track list still knows the video when its output is switched off.
    std::int64_t count = 0;
    mpv_get_property(m_mpv, "track-list/count", MPV_FORMAT_INT64, &count);
    for (std::int64_t i = 0; i < count; ++i) {
        const QByteArray base = "track-list/" + QByteArray::number(i) + '/';
        char *type = mpv_get_property_string(m_mpv, (base + "type").constData());
        const bool video = type && qstrcmp(type, "video") == 0;
        mpv_free(type);
        int albumArt = 0;
        mpv_get_property(m_mpv, (base + "albumart").constData(), MPV_FORMAT_FLAG, &albumArt);
        if (video && !albumArt)
            return numberProperty((base + key).constData());
    }
    return 0.0;
}

QSize MpvSession::videoSize() const
{
    // The size as displayed: scaled for non-square pixels and turned upright when the file says
    // it was filmed on its side (phones), so a portrait video is fitted as a portrait.
    std::int64_t width = 0, height = 0, rotate = 0;
    QSize size;
    if (mpv_get_property(m_mpv, "video-params/dw", MPV_FORMAT_INT64, &width) >= 0
        && mpv_get_property(m_mpv, "video-params/dh", MPV_FORMAT_INT64, &height) >= 0 && width > 0 && height > 0) {
        size = QSize(int(width), int(height));
        mpv_get_property(m_mpv, "video-params/rotate", MPV_FORMAT_INT64, &rotate);
    } else {
        // Not every container reports its size in the track list, but without a decoded
        // picture (video switched off) it is all there is.
        size = QSize(int(videoTrackNumber("demux-w")), int(videoTrackNumber("demux-h")));
        rotate = std::int64_t(videoTrackNumber("demux-rotation"));
    }
    if (size.isEmpty())
        return QSize();
    return rotate % 180 == 0 ? size : size.transposed();
}

bool MpvSession::hasVideo() const
{
    return videoSize().isValid();
}

QString MpvSession::engineVersion() const
{
    char *text = mpv_get_property_string(m_mpv, "mpv-version");
    const QString version = QString::fromUtf8(text ? text : "mpv");
    mpv_free(text);
    return version;
}

void MpvSession::setVolume(double percent)
{
    mpv_set_property(m_mpv, "volume", MPV_FORMAT_DOUBLE, &percent);
}

void MpvSession::setMuted(bool muted)
{
    setFlag("mute", muted);
}

void MpvSession::setChannelGains(double left, double right)
{
    QByteArray chain;
    if (left != 1.0 || right != 1.0)
        chain = "format=channels=stereo,lavfi=[pan=stereo|c0=" + QByteArray::number(left, 'f', 3)
                + "*c0|c1=" + QByteArray::number(right, 'f', 3) + "*c1]";
    mpv_set_property_string(m_mpv, "af", chain.constData());
}

void MpvSession::setSpeed(double factor)
{
    mpv_set_property(m_mpv, "speed", MPV_FORMAT_DOUBLE, &factor);
}

} // namespace zv
