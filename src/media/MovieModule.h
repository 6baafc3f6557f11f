#pragma once

#include "media/MciDevice.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace zv {

// Drives one media file under the MCI alias "movie" by fixed command strings.
//
// MCI failures never throw: the code lands in Error and reading operations return what the
// (usually empty) reply converts to. Two failures of the operation itself reach the caller:
// - setPositionTo and the relative jumps return false on 32-bit overflow; then nothing more is
//   sent and the caller's variable is left as it was;
// - getRightVolume returns no value when the reply is not a number.
// formatTime cannot fail for 32-bit input, so it has no failure message box.
class MovieModule {
public:
    explicit MovieModule(MciDevice &device);

    std::int32_t Error = 0;
    QString Filename;

    void stepFrames(int &value);
    void restoreSizeDefault();
    // Both opens: a Filename containing '"' cannot be quoted, so nothing is opened and Error
    // says the file cannot be played.
    void openMovie();
    // X11 window ids fit in 29 bits, so a 32-bit handle is enough here.
    void openMovieWindow(int &hWnd, QString &windowStyle);
    void minimizeMovie();
    void playMovie();
    void hideMovie();
    void showMovie();
    void restoreMovie();
    void stopMovie();
    // Width and Height are only written as far as the reply's blanks allow; a reply with fewer
    // than three blanks leaves the rest unchanged.
    void extractCurrentMovieSize(int &width, int &height);
    void extractDefaultMovieSize(int &width, int &height);
    double getBitsPerPixel();
    QString getMovieInput();
    QString getMovieOutput();
    QString getAudioStatus();
    void sizeLocateMovie(int &left, int &top, int &width, int &height);
    bool isMoviePlaying();
    QString checkError() const;
    QString getDeviceName();
    QString getDeviceVersion();
    int getNominalFrameRate();
    int getFramePerSecRate();
    QString getCurrentSize();
    QString getDefaultSize();
    int getLengthInFrames();
    int getLengthInMS();
    void playFullScreen();
    int getLengthInSec();
    void setVideoOff();
    void setVideoOn();
    void pauseMovie();
    void resumeMovie();
    int getPositionInMS();
    int getRate();
    int getPositionInFrames();
    QString getStatus();
    void closeMovie();
    QString getFormatPosition();
    QString getFormatLength();
    int getVolume();
    QString getVideoStatus();
    QString getTimeFormat();
    int getLeftVolume();
    int getPositionInSec();
    std::optional<std::int32_t> getRightVolume();
    void setAudioOff();
    void setAudioOn();
    void setLeftOff();
    void setRightOff();
    void setLeftOn();
    void setRightOn();
    void setDoorOpen();
    void setDoorClosed();
    void setVolume(int &value);
    bool setPositionTo(int &second);
    void restartMovie();
    bool rewindByMS(int &numMS);
    bool rewindByFrames(int &numFrames);
    bool rewindBySeconds(int &numSec);
    bool forwardByFrames(int &numFrames);
    bool forwardByMS(int &numMS);
    bool forwardBySeconds(int &numSec);
    QString checkDeviceReady();
    void setSpeed(int &value);
    void setLeftVolume(int &value);
    void setRightVolume(int &value);
    // Waits for the given seconds in a nested event loop: timers, paints and queued calls run
    // meanwhile; user input is held back and delivered once the wait is over.
    void timeOut(double seconds);
    // True while a timeOut waits, so a caller can refuse to start a second operation.
    bool isBusy() const { return m_waits > 0; }

    // The number at the start of a reply: leading blanks skipped, read up to the first
    // character that cannot continue it, 0 if there is none.
    static double replyValue(const QString &reply);
    // replyValue rounded half to even, clamped into 32 bits.
    static std::int32_t replyNumber(const QString &reply);

private:
    void command(const QString &text);
    QString query(const QString &text);
    void openWith(const QString &suffix);
    bool jump(const QString &timeFormat, bool frames, std::int64_t delta);
    static void extractSize(const QString &reply, int &width, int &height);
    static QString formatTime(std::int32_t milliseconds);

    MciDevice &m_device;
    QString m_reply;
    int m_waits = 0;
};

} // namespace zv
