#include "media/MovieModule.h"

#include "media/MciErrors.h"
#include "platform/Rounding.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <cmath>
#include <limits>

namespace zv {
namespace {

constexpr std::int64_t Int32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

bool fitsInt32(std::int64_t value)
{
    return value >= Int32Min && value <= Int32Max;
}

QString number(std::int64_t value)
{
    return QString::number(value);
}

// Length of the longest prefix of text (from start) that reads as a decimal number.
int numberLength(const QString &text, int start)
{
    int i = start;
    const int n = int(text.size());
    auto digits = [&] {
        const int from = i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
        return i - from;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    int mantissa = digits();
    if (i < n && text[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return 0;
    const int beforeExponent = i;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (digits() == 0)
            i = beforeExponent;
    }
    return i - start;
}

std::int32_t toInt32(double value)
{
    if (std::isnan(value))
        return 0;
    const double rounded = std::nearbyint(value);
    if (rounded <= double(Int32Min))
        return std::int32_t(Int32Min);
    if (rounded >= double(Int32Max))
        return std::int32_t(Int32Max);
    return std::int32_t(roundHalfEven(value));
}

QString properCase(const QString &text)
{
    QString result = text.toLower();
    bool wordStart = true;
    for (QChar &c : result) {
        if (c.isSpace()) {
            wordStart = true;
        } else if (wordStart) {
            c = c.toUpper();
            wordStart = false;
        }
    }
    return result;
}

} // namespace

MovieModule::MovieModule(MciDevice &device)
    : m_device(device)
{ }

double MovieModule::replyValue(const QString &reply)
{
    int start = 0;
    while (start < reply.size() && (reply[start] == u' ' || reply[start] == u'\t'))
        ++start;
    const int length = numberLength(reply, start);
    if (length == 0)
        return 0.0;
    bool ok = false;
    const double value = reply.mid(start, length).toDouble(&ok);
    return ok ? value : 0.0;
}

std::int32_t MovieModule::replyNumber(const QString &reply)
{
    return toInt32(replyValue(reply));
}

void MovieModule::command(const QString &text)
{
    Error = m_device.send(text).code;
}

QString MovieModule::query(const QString &text)
{
    MciResult result = m_device.send(text);
    Error = result.code;
    m_reply = result.reply.left(MciDevice::ReplyCapacity);
    return m_reply;
}

void MovieModule::stepFrames(int &value)
{
    command(QStringLiteral("step movie by ") + number(value));
}

void MovieModule::restoreSizeDefault()
{
    command(QStringLiteral("put movie window"));
}

void MovieModule::openWith(const QString &suffix)
{
    command(QStringLiteral("close movie"));
    // A quote would end the file name early and turn the rest of it into command words.
    if (Filename.contains(u'"')) {
        Error = mci::InvalidFile;
        return;
    }
    command(QStringLiteral("open \"") + Filename + QStringLiteral("\" alias movie") + suffix);
}

void MovieModule::openMovie()
{
    openWith({});
}

void MovieModule::openMovieWindow(int &hWnd, QString &windowStyle)
{
    openWith(QStringLiteral(" parent ") + number(hWnd) + QStringLiteral(" style ") + windowStyle + QStringLiteral(" "));
}

void MovieModule::minimizeMovie()
{
    command(QStringLiteral("window movie state minimized"));
}
void MovieModule::playMovie()
{
    command(QStringLiteral("play movie"));
}
void MovieModule::hideMovie()
{
    command(QStringLiteral("window movie state hide"));
}
void MovieModule::showMovie()
{
    command(QStringLiteral("window movie state show"));
}
void MovieModule::restoreMovie()
{
    command(QStringLiteral("window movie state restore"));
}
void MovieModule::stopMovie()
{
    command(QStringLiteral("stop movie"));
}

void MovieModule::extractSize(const QString &reply, int &width, int &height)
{
    const qsizetype first = reply.indexOf(u' ');
    if (first < 0)
        return;
    const qsizetype second = reply.indexOf(u' ', first + 1);
    if (second < 0)
        return;
    const QString rest = reply.mid(second + 1);
    const qsizetype third = rest.indexOf(u' ');
    if (third < 0)
        return;
    width = replyNumber(rest.left(third));
    height = replyNumber(rest.mid(third));
}

void MovieModule::extractCurrentMovieSize(int &width, int &height)
{
    extractSize(getCurrentSize(), width, height);
}

void MovieModule::extractDefaultMovieSize(int &width, int &height)
{
    extractSize(getDefaultSize(), width, height);
}

double MovieModule::getBitsPerPixel()
{
    return replyValue(query(QStringLiteral("status movie bitsperpel")));
}
QString MovieModule::getMovieInput()
{
    return query(QStringLiteral("status movie monitor input"));
}
QString MovieModule::getMovieOutput()
{
    return query(QStringLiteral("status movie monitor output"));
}
QString MovieModule::getAudioStatus()
{
    return query(QStringLiteral("status movie audio"));
}

void MovieModule::sizeLocateMovie(int &left, int &top, int &width, int &height)
{
    command(QStringLiteral("put movie window at %1 %2 %3 %4").arg(left).arg(top).arg(width).arg(height));
}

bool MovieModule::isMoviePlaying()
{
    return query(QStringLiteral("status movie mode")).left(7) == QStringLiteral("playing");
}

QString MovieModule::checkError() const
{
    return m_device.errorText(Error).left(255);
}

QString MovieModule::getDeviceName()
{
    return query(QStringLiteral("info movie product"));
}
QString MovieModule::getDeviceVersion()
{
    return query(QStringLiteral("info movie version"));
}

int MovieModule::getNominalFrameRate()
{
    return replyNumber(query(QStringLiteral("status movie nominal frame rate wait")));
}

int MovieModule::getFramePerSecRate()
{
    return replyNumber(query(QStringLiteral("status movie frame rate"))) / 1000;
}

QString MovieModule::getCurrentSize()
{
    return query(QStringLiteral("where movie destination max"));
}
QString MovieModule::getDefaultSize()
{
    return query(QStringLiteral("where movie source"));
}

int MovieModule::getLengthInFrames()
{
    command(QStringLiteral("set movie time format frames"));
    return replyNumber(query(QStringLiteral("status movie length")));
}

int MovieModule::getLengthInMS()
{
    command(QStringLiteral("set movie time format ms"));
    return replyNumber(query(QStringLiteral("status movie length")));
}

void MovieModule::playFullScreen()
{
    command(QStringLiteral("play movie fullscreen"));
}
int MovieModule::getLengthInSec()
{
    return getLengthInMS() / 1000;
}
void MovieModule::setVideoOff()
{
    command(QStringLiteral("set all video off"));
}
void MovieModule::setVideoOn()
{
    command(QStringLiteral("set all video on"));
}
void MovieModule::pauseMovie()
{
    command(QStringLiteral("pause movie"));
}
void MovieModule::resumeMovie()
{
    command(QStringLiteral("resume movie"));
}

int MovieModule::getPositionInMS()
{
    command(QStringLiteral("set movie time format ms"));
    return replyNumber(query(QStringLiteral("status movie position wait")));
}

int MovieModule::getRate()
{
    return replyNumber(query(QStringLiteral("status movie speed")));
}

int MovieModule::getPositionInFrames()
{
    command(QStringLiteral("set movie time format frames wait"));
    return replyNumber(query(QStringLiteral("status movie position")));
}

QString MovieModule::getStatus()
{
    return properCase(query(QStringLiteral("status movie mode")));
}
void MovieModule::closeMovie()
{
    command(QStringLiteral("close all"));
}
QString MovieModule::getFormatPosition()
{
    return formatTime(getPositionInMS());
}
QString MovieModule::getFormatLength()
{
    return formatTime(getLengthInMS());
}

QString MovieModule::formatTime(std::int32_t milliseconds)
{
    const std::int64_t s = roundHalfEven(milliseconds / 1000.0);
    const std::int64_t hours = s / 3600;
    const std::int64_t r = s % 3600;
    const std::int64_t minutes = r / 60;
    const std::int64_t seconds = r % 60;
    QString text;
    if (hours >= 1)
        text = number(hours) + u':';
    text += number(minutes) + u':';
    if (seconds < 10)
        text += u'0';
    return text + number(seconds);
}

int MovieModule::getVolume()
{
    return replyNumber(query(QStringLiteral("status movie volume")));
}
QString MovieModule::getVideoStatus()
{
    return query(QStringLiteral("status movie video"));
}
QString MovieModule::getTimeFormat()
{
    return query(QStringLiteral("status movie time format"));
}
int MovieModule::getLeftVolume()
{
    return replyNumber(query(QStringLiteral("status movie left volume")));
}
int MovieModule::getPositionInSec()
{
    return getPositionInMS() / 1000;
}

std::optional<std::int32_t> MovieModule::getRightVolume()
{
    const QString text = query(QStringLiteral("status movie right volume")).trimmed();
    if (text.isEmpty() || numberLength(text, 0) != text.size())
        return std::nullopt;
    const double value = text.toDouble();
    if (std::nearbyint(value) < double(Int32Min) || std::nearbyint(value) > double(Int32Max))
        return std::nullopt;
    return std::int32_t(roundHalfEven(value));
}

void MovieModule::setAudioOff()
{
    command(QStringLiteral("set movie audio all off"));
}
void MovieModule::setAudioOn()
{
    command(QStringLiteral("set movie audio all on"));
}
void MovieModule::setLeftOff()
{
    command(QStringLiteral("set movie audio left off"));
}
void MovieModule::setRightOff()
{
    command(QStringLiteral("set movie audio right off"));
}
void MovieModule::setLeftOn()
{
    command(QStringLiteral("set movie audio left on"));
}
void MovieModule::setRightOn()
{
    command(QStringLiteral("set movie audio right on"));
}
void MovieModule::setDoorOpen()
{
    command(QStringLiteral("set cdaudio door open"));
}
void MovieModule::setDoorClosed()
{
    command(QStringLiteral("set cdaudio door closed"));
}

void MovieModule::setVolume(int &value)
{
    command(QStringLiteral("setaudio movie volume to ") + number(value));
}

bool MovieModule::setPositionTo(int &second)
{
    const std::int64_t ms = std::int64_t(second) * 1000;
    if (!fitsInt32(ms))
        return false;
    second = int(ms);
    // The seek or play code is deliberately not kept: Error stays that of the mode query.
    if (isMoviePlaying())
        m_device.send(QStringLiteral("play movie from ") + number(second));
    else if (!isMoviePlaying())
        m_device.send(QStringLiteral("seek movie to ") + number(second));
    return true;
}

void MovieModule::restartMovie()
{
    command(QStringLiteral("seek movie to start"));
    playMovie();
}

bool MovieModule::jump(const QString &timeFormat, bool frames, std::int64_t delta)
{
    command(QStringLiteral("set movie time format ") + timeFormat);
    const std::int64_t position = frames ? getPositionInFrames() : getPositionInMS();
    const std::int64_t target = position + delta;
    if (!fitsInt32(delta) || !fitsInt32(target))
        return false;
    command(QStringLiteral("play movie from ") + number(target));
    return true;
}

bool MovieModule::rewindByMS(int &numMS)
{
    return jump(QStringLiteral("ms"), false, -std::int64_t(numMS));
}
bool MovieModule::rewindByFrames(int &numFrames)
{
    return jump(QStringLiteral("frames"), true, -std::int64_t(numFrames));
}
bool MovieModule::rewindBySeconds(int &numSec)
{
    return jump(QStringLiteral("ms"), false, -std::int64_t(numSec) * 1000);
}
bool MovieModule::forwardByFrames(int &numFrames)
{
    return jump(QStringLiteral("frames"), true, numFrames);
}
bool MovieModule::forwardByMS(int &numMS)
{
    return jump(QStringLiteral("ms"), false, numMS);
}
bool MovieModule::forwardBySeconds(int &numSec)
{
    return jump(QStringLiteral("ms"), false, std::int64_t(numSec) * 1000);
}

QString MovieModule::checkDeviceReady()
{
    return query(QStringLiteral("status movie ready"));
}
void MovieModule::setSpeed(int &value)
{
    command(QStringLiteral("set movie speed ") + number(value));
}

void MovieModule::setLeftVolume(int &value)
{
    command(QStringLiteral("setaudio movie left volume to ") + number(value));
}

void MovieModule::setRightVolume(int &value)
{
    command(QStringLiteral("setaudio movie right volume to ") + number(value));
}

void MovieModule::timeOut(double seconds)
{
    // Input is held back, not dropped: a click on another file during an open would otherwise
    // start a second open inside this one, and dropping it would lose what the user asked for.
    // The window system keeps the input queued and delivers it in order once the wait is over,
    // as it already does while the device itself loads a file.
    ++m_waits;
    QElapsedTimer clock;
    clock.start();
    const qint64 total = qint64(seconds * 1000.0);
    while (clock.elapsed() < total) {
        QEventLoop loop;
        QTimer::singleShot(int(total - clock.elapsed()), &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    --m_waits;
}

} // namespace zv
