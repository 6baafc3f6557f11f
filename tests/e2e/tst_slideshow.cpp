// The slide show and the picture window in the real program, driven like a user with xdotool.
#include "support/ProgramRun.h"

#include "app/AlbumLoader.h"
#include "app/MainWindowLayout.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

using namespace zv;

namespace {

struct Shown {
    QColor colour;
    QSize size;
};
// Three pictures of different shapes; the video is ffmpeg's colourful test picture.
const QList<std::pair<QString, Shown>> kPictures = {
    {QStringLiteral("rot.jpg"), {QColor(220, 20, 20), {800, 600}}},
    {QStringLiteral("gruen.jpg"), {QColor(20, 200, 40), {600, 800}}},
    {QStringLiteral("blau.jpg"), {QColor(30, 40, 220), {1600, 900}}},
};

bool near(const QColor &a, const QColor &b, int tolerance = 24)
{
    return qAbs(a.red() - b.red()) < tolerance && qAbs(a.green() - b.green()) < tolerance
        && qAbs(a.blue() - b.blue()) < tolerance;
}

bool xdotool(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    const bool ok = p.waitForFinished(10000) && p.exitCode() == 0;
    if (out)
        *out = p.readAllStandardOutput();
    return ok;
}

bool click(QPoint at, int times = 1)
{
    return xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "--repeat",
                    QString::number(times), "--delay", "60", "1"});
}

QImage shot()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// Which picture fills the screen the way the show fits it: its colour in the middle, black
// in the bands its shape leaves; -1 for anything else.
int shownPicture(const QImage &screen)
{
    const QSizeF area = screen.size();
    for (int i = 0; i < kPictures.size(); ++i) {
        const Shown &p = kPictures[i].second;
        if (!near(screen.pixelColor(screen.rect().center()), p.colour))
            continue;
        const qreal scale = std::min(area.width() / p.size.width(), area.height() / p.size.height());
        const QSizeF fitted = QSizeF(p.size) * scale;
        const QRectF r((area.width() - fitted.width()) / 2, (area.height() - fitted.height()) / 2, fitted.width(),
                       fitted.height());
        // Just inside the picture's edges, and black just outside the bands it leaves.
        const int midX = screen.width() / 2, midY = screen.height() / 2;
        const bool inside = near(screen.pixelColor(int(r.left()) + 4, midY), p.colour)
            && near(screen.pixelColor(int(r.right()) - 5, midY), p.colour)
            && near(screen.pixelColor(midX, int(r.top()) + 4), p.colour)
            && near(screen.pixelColor(midX, int(r.bottom()) - 5), p.colour);
        const bool bands = (r.left() < 6 || near(screen.pixelColor(int(r.left()) - 6, midY), Qt::black))
            && (r.top() < 6 || near(screen.pixelColor(midX, int(r.top()) - 6), Qt::black));
        return inside && bands ? i : -1;
    }
    return -1;
}

} // namespace

class TestSlideShow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void slideShowAndPictureWindow();
};

void TestSlideShow::slideShowAndPictureWindow()
{
    QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty(), "xdotool missing");
    test::ProgramRun run;
    QVERIFY(run.layOut());
    for (const auto &[name, p] : kPictures) {
        QImage image(p.size, QImage::Format_RGB32);
        image.fill(p.colour);
        QVERIFY(image.save(run.media(name), "JPEG", 95));
    }
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), {"-hide_banner", "-loglevel", "error", "-y", "-f", "lavfi", "-i",
                                            "testsrc=size=320x240:rate=25", "-t", "1", "-c:v", "mpeg4",
                                            run.media(QStringLiteral("film.avi"))});
    QVERIFY(ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0);
    QVERIFY(run.settings("[DiaShow]\nDelay=700\n"));
    QVERIFY(run.start());

    QScreen *screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen->availableGeometry().center() - QRect(QPoint(), layout::kWindow).center();
    const QPoint dia = origin + layout::kMenuPanel.topLeft() + layout::kDiaButton.center();
    const QPoint preview = origin + layout::kPreview.center();
    // The main window is up once its preview shows the first file: a picture or the video.
    const auto previewColour = [&] { return shot().pixelColor(preview); };
    QTRY_VERIFY_WITH_TIMEOUT(previewColour() != QColor(Qt::black) && previewColour().isValid(), 20000);
    QTest::qWait(500);

    QVERIFY(click(dia));
    // The show covers the main window: black until the first picture comes, one delay later.
    const auto showIsUp = [&] {
        const QImage s = shot();
        return near(s.pixelColor(s.rect().center()), Qt::black, 8) || shownPicture(s) >= 0;
    };
    QTRY_VERIFY(showIsUp());
    // One picture after another, each full screen on black, in the list's order, over and over;
    // the video never appears.
    QList<int> sequence;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 9000 && sequence.size() < 5) {
        const QImage s = shot();
        const int shown = shownPicture(s);
        const bool blackScreen = near(s.pixelColor(s.rect().center()), Qt::black, 8);
        if (!blackScreen && shown < 0) {
            s.save(QStringLiteral("slideshow-unexpected.png"));
            QFAIL("the screen shows something else than a fitted picture (slideshow-unexpected.png)");
        }
        if (shown >= 0 && (sequence.isEmpty() || sequence.last() != shown)) {
            sequence << shown;
            s.save(QStringLiteral("slideshow-%1.png").arg(sequence.size()));
        }
        QTest::qWait(100);
    }
    QCOMPARE(sequence.size(), 5);
    QCOMPARE(QSet<int>(sequence.begin(), sequence.begin() + 3).size(), 3);
    QCOMPARE(sequence[3], sequence[0]);
    QCOMPARE(sequence[4], sequence[1]);

    QVERIFY(xdotool({"key", "Escape"}));
    QTRY_VERIFY(shownPicture(shot()) < 0 && shot().pixelColor(origin + QPoint(300, 20)) != QColor(Qt::black));

    // A picture in the preview: the list's first picture row, reached with the arrow key if
    // the first file is the video.
    const QStringList order = listMediaFiles(run.album.filePath(QStringLiteral("Bilder")));
    const int firstPicture = order.first().endsWith(QLatin1String(".avi")) ? 1 : 0;
    const QString name = order[firstPicture];
    const Shown expected = std::find_if(kPictures.begin(), kPictures.end(), [&](const auto &p) { return p.first == name; })->second;
    shot().save(QStringLiteral("main-window.png"));
    QVERIFY(click(origin + layout::kList.topLeft() + QPoint(60, 27)));
    if (firstPicture == 1)
        QVERIFY(xdotool({"key", "Down"}));
    QTRY_VERIFY_WITH_TIMEOUT(near(previewColour(), expected.colour), 3000);

    QVERIFY(click(preview, 2));
    QByteArray found;
    QTRY_VERIFY(xdotool({"search", "--onlyvisible", "--name", QRegularExpression::escape(name)}, &found));
    const QByteArray window = found.split('\n').first();
    QVERIFY(xdotool({"windowsize", window, "900", "400"}));
    QVERIFY(xdotool({"windowmove", window, "100", "100"}));
    QByteArray geometry;
    QTRY_VERIFY(xdotool({"getwindowgeometry", "--shell", window}, &geometry) && geometry.contains("WIDTH=900")
                && geometry.contains("HEIGHT=400"));
    QTest::qWait(500);
    const QImage s = shot();
    s.save(QStringLiteral("picwindow.png"));
    // Inner area 900 x 400 at (100, 100): the picture fitted and centred, black beside it.
    const qreal scale = std::min(900.0 / expected.size.width(), 400.0 / expected.size.height());
    const QRectF r = QRectF(QPointF(100 + (900 - expected.size.width() * scale) / 2, 100 + (400 - expected.size.height() * scale) / 2),
                            QSizeF(expected.size) * scale);
    const int midY = int(r.center().y()), midX = int(r.center().x());
    QVERIFY(near(s.pixelColor(int(r.left()) + 3, midY), expected.colour));
    QVERIFY(near(s.pixelColor(int(r.right()) - 4, midY), expected.colour));
    QVERIFY(near(s.pixelColor(midX, int(r.top()) + 3), expected.colour));
    QVERIFY(near(s.pixelColor(midX, int(r.bottom()) - 4), expected.colour));
    if (r.left() > 106)
        QVERIFY(near(s.pixelColor(int(r.left()) - 5, midY), Qt::black));
    if (r.top() > 106)
        QVERIFY(near(s.pixelColor(midX, int(r.top()) - 5), Qt::black));
}

QTEST_MAIN(TestSlideShow)
#include "tst_slideshow.moc"
