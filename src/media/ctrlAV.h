#pragma once

#include "media/PlayerHost.h"

#include <QPixmap>
#include <QWidget>

#include <array>

class QLabel;
class QTimer;

namespace zv {

class MovieModule;
class Shell;
class SkinButton;

// The skinned player bar under the preview box: play, pause, stop, a position slider, a volume
// box, "open with the associated program" and "show in the picture window".
// A picture missing from the skin folder leaves its element without a picture (at its design
// size); the bar keeps working.
class ctrlAV final : public QWidget {
    Q_OBJECT

public:
    static constexpr double DefaultSettleSeconds = 0.5;

    // settleSeconds: how long the device is given after an open and after starting playback.
    ctrlAV(MovieModule &movie, Shell &shell, PlayerHost host, QWidget *parent = nullptr,
           double settleSeconds = DefaultSettleSeconds);
    ~ctrlAV() override;

    void stopMovie();
    void playVideo();
    void openVideo(const QString &filePath);
    // Loads every picture from folder (already resolved, ending in '/').
    void setSkinFolder(const QString &folder);

    int volumeImageIndex() const { return m_volumeImage; }
    bool isPaused() const { return m_paused; }
    double movieLength() const { return m_movieLength; }
    int trackLength() const { return m_trackLength; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void tick();
    void dragThumbTo(double x);
    void seekToThumb();
    void changeVolume(double y);
    int thumbWidth() const;

    MovieModule &m_movie;
    Shell &m_shell;
    PlayerHost m_host;
    double m_settleSeconds;

    SkinButton *imgOpen = nullptr;
    SkinButton *imgClose = nullptr;
    SkinButton *imgPlay = nullptr;
    SkinButton *imgStop = nullptr;
    SkinButton *imgPause = nullptr;
    QLabel *picVol = nullptr;
    QLabel *imgSlider = nullptr;
    QLabel *imgSliderBtn = nullptr;
    QTimer *tmr1 = nullptr;
    std::array<QPixmap, 7> imgVol;

    int m_trackLength = 0;
    double m_movieLength = 0.0;
    int m_volumeImage = 4;
    bool m_paused = false;
};

} // namespace zv
