#include "media/ctrlAV.h"

#include "media/MovieModule.h"
#include "media/MovieWindows.h"
#include "media/SkinButton.h"
#include "platform/BoxFit.h"
#include "platform/CanonicalPath.h"
#include "platform/Rounding.h"
#include "platform/Shell.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace zv {
namespace {

constexpr int TwipsPerPixel = 15;
constexpr int px(int twips)
{
    return twips / TwipsPerPixel;
}

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
    box->resize(picture.deviceIndependentSize().toSize());
}

} // namespace

ctrlAV::ctrlAV(MovieModule &movie, Shell &shell, PlayerHost host, QWidget *parent, double settleSeconds)
    : QWidget(parent)
    , m_movie(movie)
    , m_shell(shell)
    , m_host(std::move(host))
    , m_settleSeconds(settleSeconds)
{
    setObjectName(QStringLiteral("ctrlAV"));
    // Fixed from the design sizes: skins with other picture sizes do not change it.
    m_trackLength = TrackInnerWidth - 2 * (Thumb.width() + Margin);
    buildLayout();
    movieWindows::prepareForVideo(m_host.previewBox);

    tmr1 = new QTimer(this);
    tmr1->setObjectName(QStringLiteral("tmr1"));
    tmr1->setInterval(500);
    connect(tmr1, &QTimer::timeout, this, &ctrlAV::tick);

    connect(imgPlay, &SkinButton::clicked, this, [this] {
        m_paused = false;
        playVideo();
    });
    connect(imgPause, &SkinButton::clicked, this, [this] {
        if (m_paused) {
            m_movie.playMovie();
            m_paused = false;
        } else {
            m_movie.pauseMovie();
            m_paused = true;
        }
    });
    connect(imgStop, &SkinButton::clicked, this, &ctrlAV::stopMovie);
    connect(imgClose, &SkinButton::clicked, this, [this] {
        if (m_host.currentFile)
            m_shell.openDocument(m_host.currentFile(), ShowState::Maximized);
    });
    connect(imgOpen, &SkinButton::clicked, this, [this] {
        if (m_host.currentFile && m_host.showPictureWindow)
            m_host.showPictureWindow(m_host.currentFile());
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
        {imgOpen, "imgOpen", QStringLiteral("frei skalierbar [nur für Bilder]")},
        {imgClose, "imgClose", QStringLiteral("Datei mit Standardprogramm öffnen")},
        {imgPlay, "imgPlay", QStringLiteral("Film abspielen")},
        {imgStop, "imgStop", QStringLiteral("Wiedergabe beenden")},
        {imgPause, "imgPause", QStringLiteral("Wiedergabe anhalten")},
    };
    int left = 0;
    for (const auto &b : buttons) {
        b.button = new SkinButton(this);
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setToolTip(b.tip);
        b.button->setGeometry(pixels(QRect(left, 0, ButtonSize, ButtonSize)));
        left += ButtonSize;
    }

    picVol = new QLabel(this);
    picVol->setObjectName(QStringLiteral("picVol"));
    picVol->setToolTip(QStringLiteral("Lautstärke ändern"));
    picVol->setGeometry(pixels(VolumeBox));
    picVol->installEventFilter(this);

    imgSlider = new QLabel(this);
    imgSlider->setObjectName(QStringLiteral("imgSlider"));
    imgSlider->setToolTip(QStringLiteral("Position"));
    imgSlider->setGeometry(pixels(Track));
    imgSlider->installEventFilter(this);

    imgSliderBtn = new QLabel(imgSlider);
    imgSliderBtn->setObjectName(QStringLiteral("imgSliderBtn"));
    imgSliderBtn->setGeometry(Thumb);
    imgSliderBtn->installEventFilter(this);
}

int ctrlAV::thumbWidth() const
{
    return imgSliderBtn->width();
}

void ctrlAV::stopMovie()
{
    tmr1->stop();
    int start = 0;
    m_movie.setPositionTo(start);
    m_movie.stopMovie();
    imgSliderBtn->move(0, imgSliderBtn->y());
}

void ctrlAV::playVideo()
{
    m_movie.playMovie();
    int volume = 850;
    m_movie.setVolume(volume);
    int speed = 1000;
    m_movie.setSpeed(speed);
    m_movie.timeOut(m_settleSeconds);
    tmr1->start();
}

void ctrlAV::openVideo(const QString &filePath)
{
    m_movie.Filename = filePath;
    if (m_host.previewBox) {
        int window = movieWindows::handleOf(m_host.previewBox);
        QString style = QStringLiteral("child");
        m_movie.openMovieWindow(window, style);
    }
    int w = 0, h = 0;
    m_movie.extractDefaultMovieSize(w, h);
    m_movieLength = m_movie.getLengthInMS();
    if (m_host.previewBox && w > 0 && h > 0) {
        const QSize box = m_host.previewBox->size();
        const QRectF fit = fitIntoBox(QSizeF(w, h), box);
        int width = int(roundHalfEven(fit.width()));
        int height = int(roundHalfEven(fit.height()));
        // Centred by the rounded size, so the movie never sits half a pixel off.
        int left = int(roundHalfEven((box.width() - width) / 2.0));
        int top = int(roundHalfEven((box.height() - height) / 2.0));
        m_movie.sizeLocateMovie(left, top, width, height);
    }
    int start = 0;
    m_movie.setPositionTo(start);
    m_movie.timeOut(m_settleSeconds);
    m_movie.stopMovie();
}

void ctrlAV::setSkinFolder(const QString &folder)
{
    // A skin may come from anyone: a picture that is a link out of its folder is left out.
    const auto read = [&](const QString &file) {
        const QString path = folder + file;
        return leadsOutOf(path, folder) ? QPixmap() : QPixmap(path);
    };
    // On a screen of scale 2 the skin's "name@2x.jpg" where it has one of twice the size.
    const bool sharpScreen = qGuiApp->devicePixelRatio() > 1;
    const auto load = [&](const QString &file) {
        QPixmap picture = read(file);
        if (sharpScreen && !picture.isNull()) {
            QPixmap sharp = read(file.chopped(4) + QStringLiteral("@2x.jpg"));
            if (sharp.size() == picture.size() * 2) {
                sharp.setDevicePixelRatio(2);
                return sharp;
            }
        }
        return picture;
    };

    for (int i = 0; i < 7; ++i)
        imgVol[size_t(i)] = load(QStringLiteral("2Vol%1.jpg").arg(i));
    showPicture(picVol, imgVol[size_t(m_volumeImage)]);

    showPicture(imgSlider, load(QStringLiteral("1Leiste.jpg")));
    showPicture(imgSliderBtn, load(QStringLiteral("1Zeiger.jpg")));
    const struct {
        SkinButton *button;
        const char *face;
    } faces[] = {
        {imgClose, "maximieren"},          {imgOpen, "skalieren"},          {imgPlay, "Film abspielen"},
        {imgPause, "Wiedergabe anhalten"}, {imgStop, "Wiedergabe beenden"},
    };
    for (const auto &f : faces) {
        const QString base = QString::fromUtf8(f.face);
        f.button->setFaces(load(base + QStringLiteral(" 0.jpg")), load(base + QStringLiteral(" 1.jpg")));
    }
}

void ctrlAV::tick()
{
    const int position = m_movie.getPositionInMS();
    if (m_movieLength <= 0)
        return;
    const double b = thumbWidth();
    const double left = position / m_movieLength * m_trackLength - b / 2 + (b + Margin);
    imgSliderBtn->move(int(roundHalfEven(left)), imgSliderBtn->y());
}

void ctrlAV::dragThumbTo(double x)
{
    const int b = thumbWidth();
    if (x < b + Margin || x > TrackInnerWidth - b - Margin)
        return;
    imgSliderBtn->move(int(roundHalfEven(x - b / 2.0)), imgSliderBtn->y());
    imgSlider->update();
}

void ctrlAV::seekToThumb()
{
    const double b = thumbWidth();
    const double centre = imgSliderBtn->x() + b / 2;
    int seconds = int(roundHalfEven((centre - (b + Margin)) / m_trackLength * (m_movieLength / 1000.0)));
    m_movie.setPositionTo(seconds);
}

void ctrlAV::changeVolume(double y)
{
    const double h = picVol->height();
    if (h <= 0 || y < 0 || y > h)
        return;
    int volume = int(roundHalfEven((h - y) / h * 1000.0));
    m_movie.setVolume(volume);
    m_volumeImage = int(std::clamp<std::int64_t>(roundHalfEven((h - y) / (h / 6.0)), 0, 6));
    showPicture(picVol, imgVol[size_t(m_volumeImage)]);
}

bool ctrlAV::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const bool leftHeld = mouse->buttons() & Qt::LeftButton;

    if (watched == picVol) {
        if (type == QEvent::MouseMove && leftHeld)
            changeVolume(mouse->position().y());
        return true;
    }
    // After a press on the thumb its moves and release count as the track's, in track coordinates.
    double x = mouse->position().x();
    if (watched == imgSliderBtn) {
        if (type == QEvent::MouseButtonPress)
            return true;
        x += imgSliderBtn->x();
    } else if (watched != imgSlider) {
        return QWidget::eventFilter(watched, event);
    }
    if (type == QEvent::MouseButtonRelease)
        seekToThumb();
    else if (leftHeld)
        dragThumbTo(x);
    return true;
}

} // namespace zv
