#include "media/MpvMciQueries.h"

#include "media/MciErrors.h"
#include "media/MpvSession.h"
#include "media/MpvVideoWidget.h"
#include "platform/Rounding.h"

#include <QGuiApplication>
#include <QScreen>

namespace zv {
namespace {

QString onOff(bool on)
{
    return on ? QStringLiteral("on") : QStringLiteral("off");
}

QString rectangle(int left, int top, int width, int height)
{
    return QStringLiteral("%1 %2 %3 %4").arg(left).arg(top).arg(width).arg(height);
}

} // namespace

long long MciMovieSettings::toUnits(const MpvSession &session, double seconds) const
{
    if (timeFormat == TimeFormat::Frames)
        return roundHalfEven(seconds * session.frameRate());
    return roundHalfEven(seconds * 1000.0);
}

double MciMovieSettings::fromUnits(const MpvSession &session, long long units) const
{
    if (timeFormat == TimeFormat::Frames) {
        const double fps = session.frameRate();
        return fps > 0 ? double(units) / fps : 0.0;
    }
    return double(units) / 1000.0;
}

MciResult mciStatus(const MciCommand &c, MpvSession &session, const MciMovieSettings &settings)
{
    const QString item = c.joined();
    if (item.isEmpty())
        return {mci::MissingParameter, {}};
    const auto number = [](qint64 value) { return MciResult{mci::NoError, QString::number(value)}; };
    if (item == QStringLiteral("mode")) {
        switch (session.mode()) {
        case MpvSession::Mode::Playing:
            return {mci::NoError, QStringLiteral("playing")};
        case MpvSession::Mode::Paused:
            return {mci::NoError, QStringLiteral("paused")};
        case MpvSession::Mode::Stopped:
            return {mci::NoError, QStringLiteral("stopped")};
        case MpvSession::Mode::NotReady:
            return {mci::NoError, QStringLiteral("not ready")};
        }
    }
    if (item == QStringLiteral("position"))
        return number(settings.toUnits(session, session.position()));
    if (item == QStringLiteral("length"))
        return number(settings.toUnits(session, session.duration()));
    if (item == QStringLiteral("start position"))
        return number(0);
    if (item == QStringLiteral("volume"))
        return number(settings.volume);
    if (item == QStringLiteral("left volume"))
        return number(settings.leftVolume);
    if (item == QStringLiteral("right volume"))
        return number(settings.rightVolume);
    if (item == QStringLiteral("speed"))
        return number(settings.speed);
    if (item == QStringLiteral("ready"))
        return {mci::NoError,
                session.mode() == MpvSession::Mode::NotReady ? QStringLiteral("false") : QStringLiteral("true")};
    if (item == QStringLiteral("time format"))
        return {mci::NoError, settings.timeFormat == MciMovieSettings::TimeFormat::Frames
                                  ? QStringLiteral("frames")
                                  : QStringLiteral("milliseconds")};
    if (item == QStringLiteral("audio"))
        return {mci::NoError, onOff(settings.audioOn)};
    if (item == QStringLiteral("video"))
        return {mci::NoError, onOff(settings.videoOn && session.hasVideo())};
    if (item == QStringLiteral("frame rate") || item == QStringLiteral("nominal frame rate")) {
        if (!session.hasVideo())
            return {mci::UnsupportedFunction, {}};
        return number(roundHalfEven(session.frameRate() * 1000.0));
    }
    if (item == QStringLiteral("bitsperpel")) {
        const QScreen *screen = QGuiApplication::primaryScreen();
        return number(screen ? screen->depth() : 24);
    }
    if (item == QStringLiteral("monitor input") || item == QStringLiteral("monitor output"))
        return {mci::NoError, QStringLiteral("file")};
    return {mci::UnrecognizedKeyword, {}};
}

MciResult mciWhere(const MciCommand &c, const MpvSession &session)
{
    const QString item = c.joined();
    const QSize source = session.videoSize();
    const MpvVideoWidget *widget = session.widget();
    if (item == QStringLiteral("source")) {
        if (!source.isValid())
            return {mci::UnsupportedFunction, {}};
        return {mci::NoError, rectangle(0, 0, source.width(), source.height())};
    }
    if (item == QStringLiteral("destination") || item == QStringLiteral("destination max")) {
        if (!source.isValid())
            return {mci::UnsupportedFunction, {}};
        if (!widget)
            return {mci::NoError, rectangle(0, 0, source.width(), source.height())};
        const QWidget *area = item.endsWith(QStringLiteral("max")) && session.window()
                                  ? static_cast<const QWidget *>(session.window())
                                  : widget;
        return {mci::NoError, rectangle(0, 0, area->width(), area->height())};
    }
    if (item == QStringLiteral("window")) {
        if (!widget)
            return {mci::NoWindow, {}};
        const QRect r = widget->geometry();
        return {mci::NoError, rectangle(r.x(), r.y(), r.width(), r.height())};
    }
    return {item.isEmpty() ? mci::MissingParameter : mci::UnrecognizedKeyword, {}};
}

MciResult mciInfo(const MciCommand &c, const MpvSession &session)
{
    const QString item = c.joined();
    if (item == QStringLiteral("product"))
        return {mci::NoError, QStringLiteral("mpv")};
    if (item == QStringLiteral("version")) {
        QString version = session.engineVersion();
        if (version.startsWith(QStringLiteral("mpv ")))
            version.remove(0, 4);
        return {mci::NoError, version};
    }
    return {item.isEmpty() ? mci::MissingParameter : mci::UnrecognizedKeyword, {}};
}

} // namespace zv
