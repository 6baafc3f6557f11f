// The picture window: fitting on every resize and replacing its picture.
#include "support/PictureFiles.h"

#include "viewing/PictureImage.h"
#include "viewing/PixelRect.h"
#include "viewing/frmPicWindow.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zv;

namespace {

QString picture(const QTemporaryDir &dir, const char *name, QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath(QLatin1String(name));
    image.save(path, "JPEG");
    return path;
}

} // namespace

class TestPicWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void refitsOnResize_data();
    void refitsOnResize();
    void replacesItsPicture();
    void sidewaysPhotoIsUpright();
};

void TestPicWindow::refitsOnResize_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QList<QSize>>("sizes");
    QTest::addColumn<QRectF>("expected");
    QTest::newRow("design size, landscape") << QSize(1600, 1200) << QList<QSize>{} << QRectF(0, 49.75, 562, 421.5);
    QTest::newRow("design size, portrait") << QSize(600, 800) << QList<QSize>{} << QRectF(85.625, 0, 390.75, 521);
    QTest::newRow("dragged wider: height-bound") << QSize(1600, 1200) << QList<QSize>{{700, 521}, {900, 300}}
                                                 << QRectF(250, 0, 400, 300);
    QTest::newRow("and back narrower") << QSize(1600, 1200) << QList<QSize>{{900, 300}, {400, 600}}
                                       << QRectF(0, 150, 400, 300);
    QTest::newRow("small picture enlarged") << QSize(40, 30) << QList<QSize>{{800, 300}} << QRectF(200, 0, 400, 300);
}

void TestPicWindow::refitsOnResize()
{
    QFETCH(QSize, picture);
    QFETCH(QList<QSize>, sizes);
    QFETCH(QRectF, expected);
    QTemporaryDir dir;
    const QString path = ::picture(dir, "bild.jpg", picture, Qt::green);
    frmPicWindow w;
    w.showPicture(path);
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCOMPARE(w.size(), frmPicWindow::kDesignSize);
    QTRY_COMPARE(w.shownFile(), path);
    for (const QSize &size : sizes) {
        w.resize(size);
        QTRY_COMPARE(w.size(), size);
    }
    QCOMPARE(w.pictureRect(), expected);
    QVERIFY(!w.isLoading()); // resizing never decodes again
    auto *image = w.findChild<PictureImage *>();
    QCOMPARE(image->geometry(), pixelRect(expected));
    const QImage shown = w.grab().toImage();
    const QRect area = pixelRect(expected);
    QCOMPARE(shown.pixelColor(area.center()).green() > 150, true);
    QCOMPARE(shown.pixelColor(area.center()).red() < 60, true);
    // Black around it.
    const QPoint outside = area.left() > 2 ? QPoint(area.left() - 2, area.center().y()) : QPoint(area.center().x(), area.top() - 2);
    QCOMPARE(shown.pixelColor(outside), QColor(Qt::black));
}

void TestPicWindow::replacesItsPicture()
{
    QTemporaryDir dir;
    const QString red = picture(dir, "rot.jpg", {400, 300}, Qt::red);
    const QString blue = picture(dir, "blau.jpg", {300, 400}, Qt::blue);
    const QString video = dir.filePath(QStringLiteral("film.mp4"));
    QFile(video).open(QIODevice::WriteOnly);
    frmPicWindow w;
    w.showPicture(red);
    QTRY_COMPARE(w.shownFile(), red);
    w.refreshPicWindow(blue);
    QCOMPARE(w.windowTitle(), blue);
    QTRY_COMPARE(w.shownFile(), blue);
    QCOMPARE(w.pictureRect(), QRectF(85.625, 0, 390.75, 521));
    QCOMPARE(w.findChildren<PictureImage *>().size(), 1);
    // Not a picture: the previous one stays under the new caption.
    w.refreshPicWindow(video);
    QTRY_VERIFY(!w.isLoading());
    QCOMPARE(w.windowTitle(), video);
    QCOMPARE(w.shownFile(), blue);
    QVERIFY(w.findChild<PictureImage *>()->isVisible());
}

void TestPicWindow::sidewaysPhotoIsUpright()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hochkant.jpg"));
    QVERIFY(test::writeSidewaysJpeg(path, QSize(600, 400)));
    frmPicWindow w;
    w.showPicture(path);
    QTRY_COMPARE(w.shownFile(), path);
    const qreal width = 400.0 / 600.0 * 521;
    QCOMPARE(w.pictureRect(), QRectF((562 - width) / 2, 0, width, 521));
    QVERIFY(test::looksUpright(w.findChild<PictureImage *>()->shownImage()));
}

QTEST_MAIN(TestPicWindow)
#include "tst_frmpicwindow.moc"
