// Starts the real program in a fresh album folder under the X server and looks at the screen.
#include "store/PictureTrailer.h"
#include "support/ProgramRun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Mean difference per channel between a screen region and the same region of a picture.
double difference(const QImage &screen, const QPoint &origin, const QImage &picture, const QRect &area)
{
    double sum = 0;
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2) {
            const QColor a = screen.pixelColor(origin + QPoint(x, y));
            const QColor b = picture.pixelColor(x, y);
            sum += std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
            n += 3;
        }
    }
    return n ? sum / n : 255;
}

} // namespace

class TestSmoke : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void programShowsSkinnedAlbum();
};

void TestSmoke::programShowsSkinnedAlbum()
{
    const QString built = qEnvironmentVariable("ZV_ALBUM_DIR");
    QVERIFY2(QFile::exists(built + QStringLiteral("/zidoverev")), "album folder not built");
    QTemporaryDir album;
    QVERIFY(QFile::copy(built + QStringLiteral("/zidoverev"), album.filePath(QStringLiteral("zidoverev"))));
    QVERIFY(zv::test::copyTree(built + QStringLiteral("/Skins"), album.filePath(QStringLiteral("Skins"))));
    QVERIFY(zv::test::copyTree(built + QStringLiteral("/Hilfe"), album.filePath(QStringLiteral("Hilfe"))));
    QDir(album.path()).mkdir(QStringLiteral("Bilder"));
    const QColor colour(30, 160, 60);
    for (const char *name : {"wiese.jpg", "feld.jpg"}) {
        QImage picture(400, 300, QImage::Format_RGB32);
        picture.fill(colour);
        const QString path = album.filePath(QStringLiteral("Bilder/") + QLatin1String(name));
        QVERIFY(picture.save(path));
        zv::PictureInfo info;
        info.ort = QStringLiteral("Wiese");
        QVERIFY(!zv::WritePictureInfo(path, info));
    }

    QTemporaryDir home;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path()); // leave the user's settings alone
    program.setProcessEnvironment(env);
    program.start(album.filePath(QStringLiteral("zidoverev")), {});
    QVERIFY(program.waitForStarted());

    const QImage background(album.filePath(QStringLiteral("Skins/Main/Hintergrund.jpg")));
    QVERIFY(!background.isNull());
    QScreen *screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen->availableGeometry().center() - QRect(0, 0, 799, 600).center();
    // The title band carries no controls but the window buttons on its right.
    const QRect band(10, 2, 600, 40);
    QImage shot;
    double diff = 255;
    for (int attempt = 0; attempt < 100 && diff > 12; ++attempt) {
        QTest::qWait(200);
        shot = screen->grabWindow(0).toImage();
        diff = difference(shot, origin, background, band);
    }
    QVERIFY2(diff <= 12, qPrintable(QStringLiteral("title band differs from the skin by %1").arg(diff)));

    // The first activation previews the first file: both pictures are green, fitted 183 x 137.
    const QPoint previewCentre = origin + QPoint(196 + 91, 60 + 91);
    const QPoint aboveFittedPicture = origin + QPoint(196 + 91, 60 + 10);
    const auto greenAt = [&](const QPoint &p) {
        const QColor c = shot.pixelColor(p);
        return qAbs(c.red() - colour.red()) < 16 && qAbs(c.green() - colour.green()) < 16 && qAbs(c.blue() - colour.blue()) < 16;
    };
    for (int attempt = 0; attempt < 50 && !greenAt(previewCentre); ++attempt) {
        QTest::qWait(100);
        shot = screen->grabWindow(0).toImage();
    }
    const QString saved = QDir(QStringLiteral(".")).absoluteFilePath(QStringLiteral("smoke-screenshot.png"));
    shot.copy(QRect(origin, QSize(799, 600))).save(saved);
    qInfo("screenshot: %s", qPrintable(saved));
    QVERIFY(greenAt(previewCentre));
    QVERIFY(!greenAt(aboveFittedPicture)); // a 4:3 picture leaves bands above and below
    program.kill();
    program.waitForFinished();
}

QTEST_MAIN(TestSmoke)
#include "tst_smoke.moc"
