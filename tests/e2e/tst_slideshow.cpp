// The slide show and the picture window in the real program, driven like a user with xdotool.
#include "support/MediaClips.h"
#include "support/ProgramRun.h"

#include "app/MainWindowLayout.h"
#include "model/AlbumLoader.h"

#include <QElapsedTimer>

using namespace zv::test;
namespace layout = zv::layout;

namespace {

struct Shown {
    QString name;
    QColor colour;
    QSize size;
};
// Three pictures of different shapes; the video is ffmpeg's colourful test picture.
const QList<Shown> kPictures = {{"rot.jpg", QColor(220, 20, 20), {800, 600}},
                                {"gruen.jpg", QColor(20, 200, 40), {600, 800}},
                                {"blau.jpg", QColor(30, 40, 220), {1600, 900}}};

// Whether the picture is fitted into this area of the screen: its colour just inside its edges,
// black just outside them where its shape leaves bands.
bool showsFitted(const QImage &screen, const QRect &area, const Shown &p)
{
    const qreal scale = std::min(qreal(area.width()) / p.size.width(), qreal(area.height()) / p.size.height());
    const QSizeF size = QSizeF(p.size) * scale;
    const QRectF r(
        QPointF(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 2),
        size);
    const int midX = int(r.center().x());
    const int midY = int(r.center().y());
    const auto shows = [&](int x, int y, const QColor &c) { return near(screen.pixelColor(x, y), c); };
    return shows(int(r.left()) + 4, midY, p.colour) && shows(int(r.right()) - 5, midY, p.colour)
           && shows(midX, int(r.top()) + 4, p.colour) && shows(midX, int(r.bottom()) - 5, p.colour)
           && (r.left() < area.left() + 6 || shows(int(r.left()) - 6, midY, Qt::black))
           && (r.top() < area.top() + 6 || shows(midX, int(r.top()) - 6, Qt::black));
}

// Which picture fills the screen the way the show fits it; -1 for anything else.
int shownPicture(const QImage &screen)
{
    for (int i = 0; i < kPictures.size(); ++i)
        if (showsFitted(screen, screen.rect(), kPictures[i]))
            return i;
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
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const Shown &p : kPictures)
        QVERIFY(writePicture(run.media(p.name), p.colour, p.size));
    QVERIFY(makeClip(run.media("film.avi"), {"-c:v", "mpeg4", "-c:a", "mp2"}, true, "320x240", 1));
    QVERIFY(run.settings("[DiaShow]\nDelay=700\n"));
    const QRect window = run.startWindow();
    QVERIFY(!window.isEmpty());
    const QPoint preview = window.topLeft() + layout::kPreview.center();
    // The preview shows the first file: a picture or the video.
    QTRY_VERIFY_WITH_TIMEOUT(colourAt(preview) != QColor(Qt::black), 20000);

    QVERIFY(clickAt(window.topLeft() + layout::kMenuPanel.topLeft() + layout::kDiaButton.center())); // cmdDia
    // The show covers the main window: black until the first picture comes, one delay later.
    const auto blackOrPicture = [](const QImage &s) {
        return near(s.pixelColor(s.rect().center()), Qt::black, 8) || shownPicture(s) >= 0;
    };
    QTRY_VERIFY(blackOrPicture(screenShot()));
    // One picture after another, each full screen on black, in the list's order, over and over;
    // the video never appears.
    QList<int> sequence;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 9000 && sequence.size() < 5) {
        const QImage s = screenShot();
        QVERIFY2(blackOrPicture(s), "the screen shows something else than a fitted picture");
        const int shown = shownPicture(s);
        if (shown >= 0 && (sequence.isEmpty() || sequence.last() != shown))
            sequence << shown;
        QTest::qWait(100);
    }
    QCOMPARE(sequence.size(), 5);
    QCOMPARE(QSet<int>(sequence.begin(), sequence.begin() + 3).size(), 3);
    QCOMPARE(sequence[3], sequence[0]);
    QCOMPARE(sequence[4], sequence[1]);
    QVERIFY(pressKeys({"Escape"}));
    QTRY_VERIFY(shownPicture(screenShot()) < 0
                && colourAt(window.topLeft() + QPoint(300, layout::kTitleBand.center().y())) != QColor(Qt::black));

    // The list's first picture in the preview (a row down if the video comes first); a double
    // click shows it in a window titled with its path, which fits it in when made 900 x 400.
    const QStringList order = zv::listMediaFiles(run.album.filePath("Bilder"));
    const QString name = order[order.first().endsWith(".avi") ? 1 : 0];
    const Shown expected =
        *std::find_if(kPictures.begin(), kPictures.end(), [&](const Shown &p) { return p.name == name; });
    QVERIFY(clickAt(window.topLeft() + layout::kList.topLeft() + QPoint(60, 27))); // the first row
    if (name != order.first())
        QVERIFY(pressKeys({"Down"}));
    QTRY_VERIFY_WITH_TIMEOUT(near(colourAt(preview), expected.colour), 3000);
    QVERIFY(clickAt(preview, 2));
    QString id;
    QTRY_VERIFY(!(id = windowIds(run.media(name)).value(0)).isEmpty());
    // Any size other than the picture's own.
    QVERIFY(xdotool({"windowsize", id, "900", "400"}));
    QVERIFY(xdotool({"windowmove", id, "100", "100"}));
    QTRY_VERIFY(windowNamed(run.media(name)).size() == QSize(900, 400));
    QTest::qWait(500);
    QVERIFY(showsFitted(screenShot(), QRect(100, 100, 900, 400), expected));
}

QTEST_MAIN(TestSlideShow)
#include "tst_slideshow.moc"
