#pragma once

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

struct mpv_handle;
struct mpv_event;

class QWidget;

namespace zv {

class MpvVideoWidget;

// One media file opened in its own mpv core. Destroying the session closes the file.
// Everything runs on the UI thread; mpv's wakeups arrive as queued calls.
class MpvSession final : public QObject {
    Q_OBJECT

public:
    enum class Mode { NotReady, Stopped, Playing, Paused };

    // Null when no mpv core can be created. Without a window the file is opened for sound only.
    static std::unique_ptr<MpvSession> create(QWidget *window);
    ~MpvSession() override;

    // Loads the file and waits (bounded) until it is ready; returns an MCI result code.
    int load(const QString &path);

    Mode mode();
    void play();
    void pause();
    void stop();
    // Exact seek that returns once the new position is reached (bounded); keeps the mode
    // except that playing becomes stopped, as MCI's seek does.
    void seek(double seconds);
    void step(int frames);

    double position() const;
    double duration() const;
    double frameRate() const;
    QSize videoSize() const;
    bool hasVideo() const;
    QString engineVersion() const;

    void setVolume(double percent);
    void setMuted(bool muted);
    // Channel gains 0..1, applied through a pan filter only when they differ from 1.
    void setChannelGains(double left, double right);
    void setSpeed(double factor);
    void setVideoEnabled(bool enabled);
    // Shows the video on the whole screen until Esc, a click or the end of the movie, then
    // back in its window. False for a movie opened without a window.
    bool showFullScreen();
    bool isFullScreen() const { return m_fullScreen; }

    MpvVideoWidget *widget() const { return m_widget; }
    QWidget *window() const { return m_window; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit MpvSession(mpv_handle *mpv);
    // Puts the video into a new widget: a child of parent, or full screen without one.
    bool placeVideo(QWidget *parent, const QRect &geometry);
    void endFullScreen();
    void drainEvents();
    void handle(const mpv_event &event);
    // Processes mpv events until done says so or the time is up; true when done.
    bool waitFor(const std::function<bool(const mpv_event &)> &done, int timeoutMs);
    bool attachWindow(QWidget *window);
    double numberProperty(const char *name, double fallback = 0.0) const;
    double videoTrackNumber(const char *key) const;
    void setFlag(const char *name, bool value);

    mpv_handle *m_mpv;
    QPointer<QWidget> m_window;
    QPointer<MpvVideoWidget> m_widget;
    Mode m_mode = Mode::NotReady;
    bool m_loaded = false;
    bool m_videoDeferred = false;
    bool m_videoWanted = true;
    bool m_fullScreen = false;
    bool m_childHidden = false;
    QRect m_childGeometry;
    int m_loadError = 0;
};

} // namespace zv
