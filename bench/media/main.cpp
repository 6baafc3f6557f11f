// Prints how long the player bar takes from openVideo to the first video frame on screen, and
// what one position query costs. Clips are made with the ffmpeg command at run time.
// Run under a display, e.g.: xvfb-run -a -s "-screen 0 1280x1024x24" ./bench_media [runs]

#include "media/ctrlAV.h"
#include "media/MovieModule.h"
#include "media/MpvMciDevice.h"
#include "media/MpvVideoWidget.h"
#include "platform/Shell.h"

#include "../BenchStats.h"
#include <QApplication>
#include <QChildEvent>

#include <QElapsedTimer>
#include <QPointer>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class NoShell final : public zv::Shell {
public:
    bool openDocument(const QString &, zv::ShowState) override { return false; }
    bool startProgram(const QString &, const QStringList &, const QString &) override { return false; }
};

bool makeClip(const QString &path, const QString &size, const QStringList &codec)
{
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), QStringList{"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                                       QStringLiteral("testsrc=size=%1:rate=25").arg(size), "-f",
                                                       "lavfi", "-i", "sine=frequency=440", "-t", "5"}
                                               + codec + QStringList{path});
    return ffmpeg.waitForFinished(300000) && ffmpeg.exitCode() == 0;
}

// Notes the moment the first video frame is drawn in a movie window created inside the box.
class FirstFrameWatch final : public QObject {
public:
    explicit FirstFrameWatch(QWidget *box) { box->installEventFilter(this); }
    void start()
    {
        firstFrameMs = -1;
        clock.start();
    }
    QElapsedTimer clock;
    qint64 firstFrameMs = -1;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ChildAdded) {
            // The child is still being constructed here; look at it once it is complete.
            QPointer<QObject> child = static_cast<QChildEvent *>(event)->child();
            QMetaObject::invokeMethod(
                this,
                [this, child] {
                    if (auto *video = qobject_cast<zv::MpvVideoWidget *>(child.data())) {
                        connect(video, &zv::MpvVideoWidget::frameShown, this, [this] {
                            if (firstFrameMs < 0)
                                firstFrameMs = clock.elapsed();
                        });
                    }
                },
                Qt::QueuedConnection);
        }
        return false;
    }
};

// The screen shows a picture (not one flat colour) where the preview box is.
bool pictureOnScreen(QWidget *box)
{
    const QPoint at = box->mapToGlobal(QPoint(0, 0));
    const QImage image =
        QGuiApplication::primaryScreen()->grabWindow(0, at.x(), at.y(), box->width(), box->height()).toImage();
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4)
            colours.insert(image.pixel(x, y));
    return colours.size() > 8;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    const QString mpeg1 = dir.path() + QStringLiteral("/clip.mpg");
    const QString h264 = dir.path() + QStringLiteral("/clip1080.mp4");
    if (!makeClip(mpeg1, QStringLiteral("352x288"), {"-c:v", "mpeg1video", "-b:v", "1500k", "-c:a", "mp2"})
        || !makeClip(h264, QStringLiteral("1920x1080"),
                     {"-c:v", "libx264", "-preset", "veryfast", "-pix_fmt", "yuv420p", "-c:a", "aac"})) {
        std::fprintf(stderr, "ffmpeg could not make the clips\n");
        return 1;
    }

    zv::MpvMciDevice device;
    zv::MovieModule movie(device);
    NoShell shell;
    QWidget window;
    auto *box = new QWidget(&window);
    box->setGeometry(0, 0, 183, 183);
    zv::ctrlAV bar(movie, shell, zv::PlayerHost{box, {}, {}}, &window);
    bar.move(0, 183);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    FirstFrameWatch watch(box);

    std::printf("runs per clip: %d (median, min)\n", runs);
    for (const auto &[name, path] : {std::pair{"MPEG-1 352x288", mpeg1}, std::pair{"H.264 1920x1080", h264}}) {
        std::vector<double> firstFrame, openTotal;
        int visible = 0;
        for (int i = 0; i < runs; ++i) {
            movie.closeMovie();
            watch.start();
            bar.openVideo(path);
            openTotal.push_back(double(watch.clock.elapsed()));
            if (movie.Error)
                std::fprintf(stderr, "open failed: %s\n", qPrintable(movie.checkError()));
            if (!QTest::qWaitFor([&] { return watch.firstFrameMs >= 0; }, 5000))
                std::fprintf(stderr, "no frame within 5 s\n");
            visible += pictureOnScreen(box) ? 1 : 0;
            if (watch.firstFrameMs >= 0)
                firstFrame.push_back(double(watch.firstFrameMs));
        }
        std::printf("%-16s openVideo to first frame: %6.0f ms median, %6.0f ms min (%zu/%d runs showed a frame)\n",
                    name, median(firstFrame),
                    firstFrame.empty() ? 0.0 : *std::min_element(firstFrame.begin(), firstFrame.end()),
                    firstFrame.size(), runs);
        std::printf("%-16s openVideo returns after:  %6.0f ms median (includes its 0.5 s settling wait)\n", name,
                    median(openTotal));
        std::printf("%-16s picture seen on screen after the first frame in %d/%d runs\n", name, visible, runs);
    }

    // Position queries while the 1080p clip plays.
    bar.playVideo();
    constexpr int Queries = 2000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < Queries; ++i)
        device.send(QStringLiteral("status movie position"));
    const double perQuery = double(clock.nsecsElapsed()) / Queries / 1000.0;
    clock.restart();
    for (int i = 0; i < Queries; ++i)
        movie.getPositionInMS();
    const double perCall = double(clock.nsecsElapsed()) / Queries / 1000.0;
    std::printf("\"status movie position\": %.1f us per query; getPositionInMS (two commands): %.1f us\n", perQuery,
                perCall);
    movie.closeMovie();
    return 0;
}
