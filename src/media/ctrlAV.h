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

    int volumeImageIndex() const { return volumeImage_; }
    bool isPaused() const { return paused_; }
    double movieLength() const { return movieLength_; }
    int trackLength() const { return trackLength_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildLayout();
    void tick();
    void dragThumbTo(double x);
    void seekToThumb();
    void changeVolume(double y);
    int thumbWidth() const;

    MovieModule &movie_;
    Shell &shell_;
    PlayerHost host_;
    double settleSeconds_;

    SkinButton *imgOpen_ = nullptr;
    SkinButton *imgClose_ = nullptr;
    SkinButton *imgPlay_ = nullptr;
    SkinButton *imgStop_ = nullptr;
    SkinButton *imgPause_ = nullptr;
    QLabel *picVol_ = nullptr;
    QLabel *imgSlider_ = nullptr;
    QLabel *imgSliderBtn_ = nullptr;
    QTimer *tmr1_ = nullptr;
    std::array<QPixmap, 7> imgVol_;

    int trackLength_ = 0;
    double movieLength_ = 0.0;
    int volumeImage_ = 4;
    bool paused_ = false;
};

} // namespace zv
