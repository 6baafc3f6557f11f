#include "media/MpvMciDevice.h"

#include "media/MciErrors.h"
#include "media/MovieWindows.h"
#include "media/MpvMciQueries.h"
#include "media/MpvSession.h"
#include "media/MpvVideoWidget.h"
#include "platform/PathStatus.h"

#include <QWidget>

#include <algorithm>
#include <optional>

namespace zv {
namespace {

std::optional<qint64> integer(const QString &text)
{
    bool ok = false;
    const qint64 value = text.toLongLong(&ok, 10);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<bool> parseOnOff(const QString &word)
{
    if (word == QStringLiteral("on"))
        return true;
    if (word == QStringLiteral("off"))
        return false;
    return std::nullopt;
}

const QStringList &verbs()
{
    static const QStringList list = {"open", "close",    "play", "pause", "resume", "stop", "seek", "status",
                                     "set",  "setaudio", "put",  "where", "window", "step", "info"};
    return list;
}

// MCI device types that the system could open itself; here none of them is installed.
const QStringList &deviceTypes()
{
    static const QStringList list = {"cdaudio",      "sequencer", "waveaudio", "avivideo", "mpegvideo",
                                     "digitalvideo", "videodisc", "vcr",       "overlay",  "scanner",
                                     "dat",          "animation", "mmmovie",   "other"};
    return list;
}

} // namespace

MpvMciDevice::MpvMciDevice(QObject *parent)
    : QObject(parent)
{ }

MpvMciDevice::~MpvMciDevice() = default;

QString MpvMciDevice::errorText(int code) const
{
    return mci::errorText(code);
}

MpvVideoWidget *MpvMciDevice::videoWidget() const
{
    return m_session ? m_session->widget() : nullptr;
}

MciResult MpvMciDevice::send(const QString &text)
{
    const MciCommand command = MciCommand::parse(text);
    if (command.error)
        return {command.error, {}};
    MciResult result = dispatch(command);
    if (result.code)
        result.reply.clear();
    if (result.reply.size() > ReplyCapacity)
        return {mci::ParamOverflow, {}};
    return result;
}

MciResult MpvMciDevice::dispatch(const MciCommand &c)
{
    if (!verbs().contains(c.verb))
        return {mci::UnrecognizedCommand, {}};
    if (c.verb == QStringLiteral("open"))
        return {open(c), {}};
    const QString device = c.device.toLower();
    if (device == QStringLiteral("all")) {
        if (c.verb == QStringLiteral("close"))
            return {close(), {}};
        if (c.verb == QStringLiteral("set"))
            return {m_session ? set(c) : int(mci::NoError), {}};
        return {mci::UnsupportedFunction, {}};
    }
    if (device != QStringLiteral("movie"))
        return {deviceTypes().contains(device) ? mci::DeviceNotInstalled : mci::InvalidDeviceName, {}};
    if (!m_session)
        return {mci::InvalidDeviceName, {}};

    if (c.verb == QStringLiteral("close"))
        return {c.args.isEmpty() ? close() : int(mci::UnrecognizedKeyword), {}};
    if (c.verb == QStringLiteral("status"))
        return mciStatus(c, *m_session, m_settings);
    if (c.verb == QStringLiteral("where"))
        return mciWhere(c, *m_session);
    if (c.verb == QStringLiteral("info"))
        return mciInfo(c, *m_session);
    if (c.verb == QStringLiteral("play"))
        return {play(c), {}};
    if (c.verb == QStringLiteral("seek"))
        return {seek(c), {}};
    if (c.verb == QStringLiteral("set"))
        return {set(c), {}};
    if (c.verb == QStringLiteral("setaudio"))
        return {setAudio(c), {}};
    if (c.verb == QStringLiteral("put"))
        return {put(c), {}};
    if (c.verb == QStringLiteral("window"))
        return {window(c), {}};
    if (c.verb == QStringLiteral("step"))
        return {step(c), {}};
    if (!c.args.isEmpty())
        return {mci::UnrecognizedKeyword, {}};
    if (m_session->mode() == MpvSession::Mode::NotReady)
        return {mci::DeviceNotReady, {}};
    if (c.verb == QStringLiteral("stop"))
        m_session->stop();
    else if (c.verb == QStringLiteral("pause"))
        m_session->pause();
    else if (c.verb == QStringLiteral("resume") && m_session->mode() != MpvSession::Mode::Playing)
        m_session->play();
    return {mci::NoError, {}};
}

int MpvMciDevice::open(const MciCommand &c)
{
    if (c.device.isEmpty())
        return mci::FilenameRequired;
    QString alias;
    std::optional<qint64> parent;
    for (qsizetype i = 0; i < c.args.size(); ++i) {
        const QString &word = c.args[i];
        const bool hasValue = i + 1 < c.args.size();
        if (word == QStringLiteral("alias") && hasValue) {
            alias = c.args[++i];
        } else if (word == QStringLiteral("parent") && hasValue) {
            parent = integer(c.args[++i]);
            if (!parent)
                return mci::BadInteger;
        } else if ((word == QStringLiteral("style") || word == QStringLiteral("type")) && hasValue) {
            ++i; // the video is always a child of the given window; mpv finds the type itself
        } else if (word != QStringLiteral("shareable")) {
            return word == QStringLiteral("alias") || word == QStringLiteral("parent")
                           || word == QStringLiteral("style") || word == QStringLiteral("type")
                       ? int(mci::MissingParameter)
                       : int(mci::UnrecognizedKeyword);
        }
    }
    // One device exists: the alias movie.
    if (alias != QStringLiteral("movie"))
        return mci::UnsupportedFunction;
    if (m_session)
        return mci::DuplicateAlias;
    if (!pathStatus(c.device).isFile())
        return mci::FileNotFound;
    QWidget *window = nullptr;
    if (parent) {
        window = movieWindows::find(*parent);
        if (!window)
            return mci::CreateWindow;
    }
    std::unique_ptr<MpvSession> session = MpvSession::create(window);
    if (!session)
        return mci::CannotLoadDriver;
    if (const int code = session->load(c.device))
        return code;
    // A sound has nothing to show: the host's box keeps its own picture.
    if (session->widget() && !session->hasVideo())
        session->widget()->hide();
    m_session = std::move(session);
    m_settings = MciMovieSettings();
    return mci::NoError;
}

int MpvMciDevice::close()
{
    m_session.reset();
    return mci::NoError;
}

int MpvMciDevice::play(const MciCommand &c)
{
    if (m_session->mode() == MpvSession::Mode::NotReady)
        return mci::DeviceNotReady;
    std::optional<qint64> from;
    bool fullScreen = false;
    for (qsizetype i = 0; i < c.args.size(); ++i) {
        const QString &word = c.args[i];
        if (word == QStringLiteral("from") && i + 1 < c.args.size()) {
            from = integer(c.args[++i]);
            if (!from)
                return mci::BadInteger;
        } else if (word == QStringLiteral("fullscreen")) {
            fullScreen = true;
        } else if (word == QStringLiteral("to")) {
            return mci::UnsupportedFunction;
        } else if (word != QStringLiteral("window")) {
            return word == QStringLiteral("from") ? mci::MissingParameter : mci::UnrecognizedKeyword;
        }
    }
    if (from && (*from < 0 || *from > m_settings.toUnits(*m_session, m_session->duration())))
        return mci::OutOfRange;
    if (fullScreen && !m_session->showFullScreen())
        return mci::NoWindow;
    if (from)
        m_session->seek(m_settings.fromUnits(*m_session, *from));
    m_session->play();
    return mci::NoError;
}

int MpvMciDevice::seek(const MciCommand &c)
{
    if (c.args.size() != 2 || c.args[0] != QStringLiteral("to"))
        return c.args.isEmpty() ? mci::MissingParameter : mci::UnrecognizedKeyword;
    if (m_session->mode() == MpvSession::Mode::NotReady)
        return mci::DeviceNotReady;
    double seconds = 0.0;
    if (c.args[1] == QStringLiteral("end")) {
        seconds = m_session->duration();
    } else if (c.args[1] != QStringLiteral("start")) {
        const auto to = integer(c.args[1]);
        if (!to)
            return mci::BadInteger;
        if (*to < 0 || *to > m_settings.toUnits(*m_session, m_session->duration()))
            return mci::OutOfRange;
        seconds = m_settings.fromUnits(*m_session, *to);
    }
    m_session->seek(seconds);
    return mci::NoError;
}

int MpvMciDevice::set(const MciCommand &c)
{
    const QString what = c.joined();
    if (what == QStringLiteral("time format ms") || what == QStringLiteral("time format milliseconds")) {
        m_settings.timeFormat = MciMovieSettings::TimeFormat::Milliseconds;
        return mci::NoError;
    }
    if (what == QStringLiteral("time format frames")) {
        m_settings.timeFormat = MciMovieSettings::TimeFormat::Frames;
        return mci::NoError;
    }
    if (c.args.size() == 2 && c.args[0] == QStringLiteral("speed")) {
        const auto speed = integer(c.args[1]);
        if (!speed)
            return mci::BadInteger;
        if (*speed <= 0 || *speed > 100000)
            return mci::OutOfRange;
        m_settings.speed = int(*speed);
        m_session->setSpeed(*speed / 1000.0);
        return mci::NoError;
    }
    if (c.args.size() == 3 && c.args[0] == QStringLiteral("audio")) {
        const auto on = parseOnOff(c.args[2]);
        if (!on)
            return mci::BadConstant;
        if (c.args[1] == QStringLiteral("all")) {
            m_settings.audioOn = *on;
            m_session->setMuted(!m_settings.audioOn);
        } else if (c.args[1] == QStringLiteral("left")) {
            m_settings.leftOn = *on;
            applyChannels();
        } else if (c.args[1] == QStringLiteral("right")) {
            m_settings.rightOn = *on;
            applyChannels();
        } else {
            return mci::BadConstant;
        }
        return mci::NoError;
    }
    if (c.args.size() == 2 && c.args[0] == QStringLiteral("video")) {
        const auto on = parseOnOff(c.args[1]);
        if (!on)
            return mci::BadConstant;
        m_settings.videoOn = *on;
        m_session->setVideoEnabled(m_settings.videoOn);
        return mci::NoError;
    }
    if (c.args.isEmpty())
        return mci::MissingParameter;
    if (c.args[0] == QStringLiteral("door"))
        return mci::UnsupportedFunction;
    return c.args[0] == QStringLiteral("time") ? mci::BadTimeFormat : mci::UnrecognizedKeyword;
}

void MpvMciDevice::applyChannels()
{
    m_session->setChannelGains(m_settings.leftOn ? m_settings.leftVolume / 1000.0 : 0.0,
                               m_settings.rightOn ? m_settings.rightVolume / 1000.0 : 0.0);
}

int MpvMciDevice::setAudio(const MciCommand &c)
{
    const qsizetype n = c.args.size();
    if (n < 3 || c.args[n - 3] != QStringLiteral("volume") || c.args[n - 2] != QStringLiteral("to"))
        return n == 0 ? mci::MissingParameter : mci::UnrecognizedKeyword;
    const auto value = integer(c.args[n - 1]);
    if (!value)
        return mci::BadInteger;
    if (*value < 0 || *value > 1000)
        return mci::OutOfRange;
    const QString channel = n == 4 ? c.args[0] : QString();
    if (n == 3) {
        m_settings.volume = int(*value);
        m_session->setVolume(m_settings.volume / 10.0);
    } else if (channel == QStringLiteral("left")) {
        m_settings.leftVolume = int(*value);
        applyChannels();
    } else if (channel == QStringLiteral("right")) {
        m_settings.rightVolume = int(*value);
        applyChannels();
    } else {
        return mci::UnrecognizedKeyword;
    }
    return mci::NoError;
}

int MpvMciDevice::put(const MciCommand &c)
{
    if (c.args.isEmpty())
        return mci::MissingParameter;
    if (c.args[0] != QStringLiteral("window") && c.args[0] != QStringLiteral("destination"))
        return mci::UnrecognizedKeyword;
    MpvVideoWidget *widget = m_session->widget();
    if (!widget)
        return mci::NoWindow;
    if (c.args.size() == 1) {
        const QSize size = m_session->videoSize();
        widget->setGeometry(0, 0, size.width(), size.height());
        return mci::NoError;
    }
    if (c.args.size() != 6 || c.args[1] != QStringLiteral("at"))
        return mci::UnrecognizedKeyword;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        const auto value = integer(c.args[2 + i]);
        if (!value || *value < -100000 || *value > 100000)
            return mci::BadInteger;
        numbers[i] = int(*value);
    }
    widget->setGeometry(numbers[0], numbers[1], numbers[2], numbers[3]);
    return mci::NoError;
}

int MpvMciDevice::window(const MciCommand &c)
{
    if (c.args.size() != 2 || c.args[0] != QStringLiteral("state"))
        return c.args.isEmpty() ? mci::MissingParameter : mci::UnrecognizedKeyword;
    MpvVideoWidget *widget = m_session->widget();
    if (!widget)
        return mci::NoWindow;
    const QString &state = c.args[1];
    if (state == QStringLiteral("show") || state == QStringLiteral("restore"))
        widget->show();
    else if (state == QStringLiteral("hide") || state == QStringLiteral("minimized"))
        widget->hide();
    else if (state == QStringLiteral("maximized") && m_session->window())
        widget->setGeometry(m_session->window()->rect());
    else
        return mci::BadConstant;
    return mci::NoError;
}

int MpvMciDevice::step(const MciCommand &c)
{
    qint64 frames = 1;
    if (c.args.size() == 2 && c.args[0] == QStringLiteral("by")) {
        const auto by = integer(c.args[1]);
        if (!by)
            return mci::BadInteger;
        frames = *by;
    } else if (c.args.size() == 1 && c.args[0] == QStringLiteral("reverse")) {
        frames = -1;
    } else if (!c.args.isEmpty()) {
        return mci::UnrecognizedKeyword;
    }
    if (m_session->mode() == MpvSession::Mode::NotReady)
        return mci::DeviceNotReady;
    if (!m_session->hasVideo())
        return mci::UnsupportedFunction;
    m_session->step(int(std::clamp<qint64>(frames, -1000000, 1000000)));
    return mci::NoError;
}

} // namespace zv
