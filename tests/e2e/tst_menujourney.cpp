// A user works the right-click menu of the real program: the list view, and the blue skin,
// which is still there after a restart.
#include "support/ProgramRun.h"
#include "support/XDo.h"

#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QTest>

using namespace zv::test;

namespace {

QImage screen()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}

// How far the title band of the window at origin is from a skin's background, per channel.
double bandDifference(const QPoint &origin, const QImage &background)
{
    const QImage shot = screen();
    double sum = 0;
    int n = 0;
    for (int y = 4; y < 40; y += 3)
        for (int x = 400; x < 690; x += 7) { // right of where the chooser opens
            const QColor a = shot.pixelColor(origin + QPoint(x, y));
            const QColor b = background.pixelColor(x, y);
            sum += qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue());
            n += 3;
        }
    return sum / n;
}

} // namespace

class TestMenuJourney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void listViewAndBlueSkin();
};

void TestMenuJourney::listViewAndBlueSkin()
{
    ProgramRun run;
    QVERIFY(run.layOut());
    for (const char *name : {"a.jpg", "b.jpg"}) {
        QImage image(40, 30, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QVERIFY(image.save(run.media(QString::fromLatin1(name))));
    }
    const QImage blue(run.album.filePath(QStringLiteral("Skins/Blau/Hintergrund.jpg")));
    QVERIFY(!blue.isNull());
    QVERIFY(run.start());
    QRect window;
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Zidoverev"))).isEmpty()
                                 && window.size() == QSize(799, 600),
                             15000);
    QTest::qWait(500);
    const QPoint freeSurface = window.topLeft() + QPoint(300, 400);

    // "Ansicht" → "Liste": the list loses its column headers.
    const QPoint header = window.topLeft() + QPoint(31 + 150, 440 + 8);
    const QColor headerBefore = screen().pixelColor(header);
    QVERIFY(xdotool({"mousemove", QString::number(freeSurface.x()), QString::number(freeSurface.y()), "click", "3"}));
    QTest::qWait(400);
    QVERIFY(pressKeys({"Down", "Down", "Down", "Right", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(screen().pixelColor(header) != headerBefore, 3000);

    // "Skin wählen" → Blau → "übernehmen".
    QVERIFY(xdotool({"mousemove", QString::number(freeSurface.x()), QString::number(freeSurface.y()), "click", "3"}));
    QTest::qWait(400);
    QVERIFY(pressKeys({"Down", "Down", "Down", "Down", "Return"}));
    QTRY_VERIFY_WITH_TIMEOUT(!windowNamed(QStringLiteral("Skinauswahl")).isEmpty(), 5000);
    QTest::qWait(300);
    QVERIFY(pressKeys({"Down", "Up", "Tab", "space"})); // "Blau" comes first
    QTest::qWait(1000);
    screen().save(QStringLiteral("menujourney-skin.png")); // left for a person to look at
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(window.topLeft(), blue) < 14, 5000);

    // A new start opens in blue.
    run.process.kill();
    run.process.waitForFinished();
    QVERIFY(run.start());
    QTRY_VERIFY_WITH_TIMEOUT(!(window = windowNamed(QStringLiteral("Zidoverev"))).isEmpty()
                                 && window.size() == QSize(799, 600),
                             15000);
    QTRY_VERIFY_WITH_TIMEOUT(bandDifference(window.topLeft(), blue) < 14, 5000);
}

QTEST_MAIN(TestMenuJourney)
#include "tst_menujourney.moc"
