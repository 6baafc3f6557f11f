#include "media/ctrlAV.h"

#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/SkinButton.h"
#include "platform/BoxFit.h"
#include "platform/Rounding.h"
#include "platform/Shell.h"

#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace zv {
namespace {

constexpr int TwipsPerPixel = 15;
constexpr int px(int twips) { return twips / TwipsPerPixel; }

// Design sizes in twips, as the bar was laid out.
constexpr int BarWidth = 2895, BarHeight = 825;
constexpr int ButtonSize = 450;
constexpr QRect VolumeBox(2250, 0, 495, 750);
constexpr QRect Track(0, 450, 2250, 300);
// The thumb is placed in pixels inside the track.
constexpr QRect Thumb(12, 0, 8, 20);
constexpr int TrackInnerWidth = 150;
constexpr int Margin = 5;

QRect pixels(const QRect &twips)
{
    return QRect(px(twips.x()), px(twips.y()), px(twips.width()), px(twips.height()));
}

// Puts a picture on a box that takes the size of its picture; a missing one leaves it empty.
void showPicture(QLabel *box, const QPixmap &picture)
{
    if (picture.isNull()) {
        box->clear();
        return;
    }
    box->setPixmap(picture);
    box->resize(picture.size());
}

} // namespace

ctrlAV::ctrlAV(MovieModule &movie, Shell &shell, PlayerHost host, QWidget *parent, double settleSeconds)
    : QWidget(parent), movie_(movie), shell_(shell), host_(std::move(host)), settleSeconds_(settleSeconds)
{
    setObjectName(QStringLiteral("ctrlAV"));
    // Fixed from the design sizes: skins with other picture sizes do not change it.
    trackLength_ = TrackInnerWidth - 2 * (Thumb.width() + Margin);
    buildLayout();
    movieWindows::prepareForVideo(host_.previewBox);

    tmr1_ = new QTimer(this);
    tmr1_->setObjectName(QStringLiteral("tmr1"));
    tmr1_->setInterval(500);
    connect(tmr1_, &QTimer::timeout, this, &ctrlAV::tick);

    connect(imgPlay_, &SkinButton::clicked, this, [this] {
        paused_ = false;
        playVideo();
    });
    connect(imgPause_, &SkinButton::clicked, this, [this] {
        if (paused_) {
            movie_.playMovie();
            paused_ = false;
        } else {
            movie_.pauseMovie();
            paused_ = true;
        }
    });
    connect(imgStop_, &SkinButton::clicked, this, &ctrlAV::stopMovie);
    connect(imgClose_, &SkinButton::clicked, this, [this] {
        if (host_.currentFile)
            shell_.openDocument(host_.currentFile(), ShowState::Maximized);
    });
    connect(imgOpen_, &SkinButton::clicked, this, [this] {
        if (host_.currentFile && host_.showPictureWindow)
            host_.showPictureWindow(host_.currentFile());
    });
}

ctrlAV::~ctrlAV() = default;

void ctrlAV::buildLayout()
{
    setFixedSize(px(BarWidth), px(BarHeight));
    const struct {
        SkinButton *&button;
        const char *name;
        QString tip;
    } buttons[] = {
        {imgOpen_, "imgOpen", QStringLiteral("frei skalierbar [nur für Bilder]")},
        {imgClose_, "imgClose", QStringLiteral("Datei mit Standardprogramm öffnen")},
        {imgPlay_, "imgPlay", QStringLiteral("Film abspielen")},
        {imgStop_, "imgStop", QStringLiteral("Wiedergabe beenden")},
        {imgPause_, "imgPause", QStringLiteral("Wiedergabe anhalten")},
    };
    int left = 0;
    for (const auto &b : buttons) {
        b.button = new SkinButton(this);
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setToolTip(b.tip);
        b.button->setGeometry(pixels(QRect(left, 0, ButtonSize, ButtonSize)));
        left += ButtonSize;
    }

    picVol_ = new QLabel(this);
    picVol_->setObjectName(QStringLiteral("picVol"));
    picVol_->setToolTip(QStringLiteral("Lautstärke ändern"));
    picVol_->setGeometry(pixels(VolumeBox));
    picVol_->installEventFilter(this);

    imgSlider_ = new QLabel(this);
    imgSlider_->setObjectName(QStringLiteral("imgSlider"));
    imgSlider_->setToolTip(QStringLiteral("Position"));
    imgSlider_->setGeometry(pixels(Track));
    imgSlider_->installEventFilter(this);

    imgSliderBtn_ = new QLabel(imgSlider_);
    imgSliderBtn_->setObjectName(QStringLiteral("imgSliderBtn"));
    imgSliderBtn_->setGeometry(Thumb);
    imgSliderBtn_->installEventFilter(this);
}

int ctrlAV::thumbWidth() const { return imgSliderBtn_->width(); }

void ctrlAV::stopMovie()
{
    tmr1_->stop();
    int start = 0;
    movie_.setPositionTo(start);
    movie_.stopMovie();
    imgSliderBtn_->move(0, imgSliderBtn_->y());
}

void ctrlAV::playVideo()
{
    movie_.playMovie();
    int volume = 850;
    movie_.setVolume(volume);
    int speed = 1000;
    movie_.setSpeed(speed);
    movie_.timeOut(settleSeconds_);
    tmr1_->start();
}

void ctrlAV::openVideo(const QString &filePath)
{
    movie_.Filename = filePath;
    if (host_.previewBox) {
        int window = movieWindows::handleOf(host_.previewBox);
        QString style = QStringLiteral("child");
        movie_.openMovieWindow(window, style);
    }
    int w = 0, h = 0;
    movie_.extractDefaultMovieSize(w, h);
    movieLength_ = movie_.getLengthInMS();
    if (host_.previewBox && w > 0 && h > 0) {
        const QSize box = host_.previewBox->size();
        const QRectF fit = fitIntoBox(QSizeF(w, h), box);
        int width = int(roundHalfEven(fit.width()));
        int height = int(roundHalfEven(fit.height()));
        // Centred by the rounded size, so the movie never sits half a pixel off.
        int left = int(roundHalfEven((box.width() - width) / 2.0));
        int top = int(roundHalfEven((box.height() - height) / 2.0));
        movie_.sizeLocateMovie(left, top, width, height);
    }
    int start = 0;
    movie_.setPositionTo(start);
    movie_.timeOut(settleSeconds_);
    movie_.stopMovie();
}

void ctrlAV::setSkinFolder(const QString &folder)
{
    const auto load = [&](const QString &file) { return QPixmap(folder + file); };

    for (int i = 0; i < 7; ++i)
        imgVol_[size_t(i)] = load(QStringLiteral("2Vol%1.jpg").arg(i));
    showPicture(picVol_, imgVol_[size_t(volumeImage_)]);

    showPicture(imgSlider_, load(QStringLiteral("1Leiste.jpg")));
    showPicture(imgSliderBtn_, load(QStringLiteral("1Zeiger.jpg")));
    const struct {
        SkinButton *button;
        const char *face;
    } faces[] = {
        {imgClose_, "maximieren"},
        {imgOpen_, "skalieren"},
        {imgPlay_, "Film abspielen"},
        {imgPause_, "Wiedergabe anhalten"},
        {imgStop_, "Wiedergabe beenden"},
    };
    for (const auto &f : faces) {
        const QString base = QString::fromUtf8(f.face);
        f.button->setFaces(load(base + QStringLiteral(" 0.jpg")), load(base + QStringLiteral(" 1.jpg")));
    }
}

void ctrlAV::tick()
{
    const int position = movie_.getPositionInMS();
    if (movieLength_ <= 0)
        return;
    const double b = thumbWidth();
    const double left = position / movieLength_ * trackLength_ - b / 2 + (b + Margin);
    imgSliderBtn_->move(int(roundHalfEven(left)), imgSliderBtn_->y());
}

void ctrlAV::dragThumbTo(double x)
{
    const int b = thumbWidth();
    if (x < b + Margin || x > TrackInnerWidth - b - Margin)
        return;
    imgSliderBtn_->move(int(roundHalfEven(x - b / 2.0)), imgSliderBtn_->y());
    imgSlider_->update();
}

void ctrlAV::seekToThumb()
{
    const double b = thumbWidth();
    const double centre = imgSliderBtn_->x() + b / 2;
    int seconds = int(roundHalfEven((centre - (b + Margin)) / trackLength_ * (movieLength_ / 1000.0)));
    movie_.setPositionTo(seconds);
}

void ctrlAV::changeVolume(double y)
{
    const double h = picVol_->height();
    if (h <= 0 || y < 0 || y > h)
        return;
    int volume = int(roundHalfEven((h - y) / h * 1000.0));
    movie_.setVolume(volume);
    volumeImage_ = int(std::clamp<std::int64_t>(roundHalfEven((h - y) / (h / 6.0)), 0, 6));
    showPicture(picVol_, imgVol_[size_t(volumeImage_)]);
}

bool ctrlAV::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
        && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const bool leftHeld = mouse->buttons() & Qt::LeftButton;

    if (watched == picVol_) {
        if (type == QEvent::MouseMove && leftHeld)
            changeVolume(mouse->position().y());
        return true;
    }
    // After a press on the thumb its moves and release count as the track's, in track coordinates.
    double x = mouse->position().x();
    if (watched == imgSliderBtn_) {
        if (type == QEvent::MouseButtonPress)
            return true;
        x += imgSliderBtn_->x();
    } else if (watched != imgSlider_) {
        return QWidget::eventFilter(watched, event);
    }
    if (type == QEvent::MouseButtonRelease)
        seekToThumb();
    else if (leftHeld)
        dragThumbTo(x);
    return true;
}

} // namespace zv
