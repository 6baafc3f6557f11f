#include "support/PictureFiles.h"

#include "album/PreviewBox.h"
#include "platform/BoxFit.h"
#include "viewing/PictureLoader.h"
#include "viewing/PixelRect.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace zv;

class TestPictureFit : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fitting_data();
    void fitting();
    void loaderScalesButKeepsNaturalSize_data();
    void loaderScalesButKeepsNaturalSize();
    void undecodableFileGivesNothing_data();
    void undecodableFileGivesNothing();
    void sidewaysPhotoIsUpright_data();
    void sidewaysPhotoIsUpright();
};

void TestPictureFit::fitting_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<QRectF>("expected");
    QTest::addColumn<QRect>("pixels");
    const QSizeF preview(183, 183);
    QTest::newRow("landscape") << QSizeF(400, 300) << preview << QRectF(0, 22.875, 183, 137.25) << QRect(0, 23, 183, 137);
    QTest::newRow("portrait") << QSizeF(300, 400) << preview << QRectF(22.875, 0, 137.25, 183) << QRect(23, 0, 137, 183);
    QTest::newRow("square") << QSizeF(500, 500) << preview << QRectF(0, 0, 183, 183) << QRect(0, 0, 183, 183);
    QTest::newRow("small is enlarged") << QSizeF(40, 30) << preview << QRectF(0, 22.875, 183, 137.25) << QRect(0, 23, 183, 137);
    const QSizeF screen(1024, 768);
    QTest::newRow("show: large") << QSizeF(1600, 1200) << screen << QRectF(0, 0, 1024, 768) << QRect(0, 0, 1024, 768);
    QTest::newRow("show: small") << QSizeF(400, 300) << screen << QRectF(0, 0, 1024, 768) << QRect(0, 0, 1024, 768);
    QTest::newRow("show: portrait") << QSizeF(600, 800) << screen << QRectF(224, 0, 576, 768) << QRect(224, 0, 576, 768);
    QTest::newRow("show: panorama") << QSizeF(2000, 500) << screen << QRectF(0, 256, 1024, 256) << QRect(0, 256, 1024, 256);
    QTest::newRow("show: 1 x 1") << QSizeF(1, 1) << screen << QRectF(128, 0, 768, 768) << QRect(128, 0, 768, 768);
    QTest::newRow("show: screen's shape") << QSizeF(2048, 1536) << screen << QRectF(0, 0, 1024, 768) << QRect(0, 0, 1024, 768);
    const QSizeF window(562, 521);
    QTest::newRow("window: landscape") << QSizeF(1600, 1200) << window << QRectF(0, 49.75, 562, 421.5) << QRect(0, 50, 562, 421);
    QTest::newRow("window: portrait") << QSizeF(600, 800) << window << QRectF(85.625, 0, 390.75, 521) << QRect(86, 0, 390, 521);
}

void TestPictureFit::fitting()
{
    QFETCH(QSizeF, picture);
    QFETCH(QSizeF, box);
    QFETCH(QRectF, expected);
    QFETCH(QRect, pixels);
    const QRectF r = fitIntoBox(picture, box);
    QCOMPARE(r, expected);
    QCOMPARE(pixelRect(r), pixels);
}

void TestPictureFit::loaderScalesButKeepsNaturalSize_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QSize>("natural");
    QTest::addColumn<QSize>("decoded");
    QTest::newRow("jpeg") << QStringLiteral("JPEG") << QSize(1600, 1200) << QSize(183, 137);
    QTest::newRow("bmp") << QStringLiteral("BMP") << QSize(1600, 1200) << QSize(183, 137);
    QTest::newRow("gif") << QStringLiteral("GIF") << QSize(1600, 1200) << QSize(183, 137);
    QTest::newRow("small jpeg enlarged") << QStringLiteral("JPEG") << QSize(40, 30) << QSize(183, 137);
}

void TestPictureFit::loaderScalesButKeepsNaturalSize()
{
    QFETCH(QString, format);
    QFETCH(QSize, natural);
    QFETCH(QSize, decoded);
    QTemporaryDir dir;
    // Named .jpg whatever it is: album files are classified by name, decoded by content.
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    QImage image(natural, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    if (!image.save(path, format.toLatin1().constData()))
        QSKIP("no writer for this format");
    // A trailer behind the picture must not stop decoding.
    QFile file(path);
    QVERIFY(file.open(QIODevice::Append));
    file.write(QByteArray("FileInfo").leftJustified(914, ' '));
    file.close();

    const auto picture = loadPicture(path, QSize(183, 183));
    QVERIFY(picture);
    QCOMPARE(picture->naturalSize, natural);
    QCOMPARE(picture->image.size(), decoded);
    QVERIFY(QColor(picture->image.pixel(50, 50)).red() > 150);
}

void TestPictureFit::undecodableFileGivesNothing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("broken jpeg") << QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("text") << QByteArray("Liebe Oma, viele Grüße aus Rom!\n");
    QTest::newRow("missing") << QByteArray("-");
    QTest::newRow("30000 x 30000 pixel bomb") << QByteArray("bomb");
}

void TestPictureFit::undecodableFileGivesNothing()
{
    QFETCH(QByteArray, bytes);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.jpg"));
    if (bytes == "bomb") {
        QVERIFY(test::writePixelBomb(path));
    } else if (bytes != "-") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QVERIFY(!loadPicture(path, QSize(1920, 1080)));
    QVERIFY(!loadPicture(path));
}

void TestPictureFit::sidewaysPhotoIsUpright_data()
{
    QTest::addColumn<bool>("inPreview");
    QTest::newRow("loader") << false;
    QTest::newRow("preview box") << true;
}

void TestPictureFit::sidewaysPhotoIsUpright()
{
    QFETCH(bool, inPreview);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("hochkant.jpg"));
    QVERIFY(test::writeSidewaysJpeg(path, QSize(600, 400)));
    if (!inPreview) {
        const auto picture = loadPicture(path, QSize(183, 183));
        QVERIFY(picture);
        QCOMPARE(picture->naturalSize, QSize(400, 600));
        QCOMPARE(picture->image.size(), QSize(122, 183));
        QVERIFY(test::looksUpright(picture->image));
        return;
    }
    PreviewBox box;
    box.resize(183, 183);
    box.showPicture(path);
    QCOMPARE(box.pictureRect(), QRectF(30.5, 0, 122, 183));
    QVERIFY(test::looksUpright(box.grab(box.pictureRect().toRect()).toImage()));
}

QTEST_MAIN(TestPictureFit)
#include "tst_picturefit.moc"
