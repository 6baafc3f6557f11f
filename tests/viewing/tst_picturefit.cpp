#include "platform/BoxFit.h"
#include "viewing/PictureLoader.h"

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
    void undecodableFileGivesNothing();
};

void TestPictureFit::fitting_data()
{
    QTest::addColumn<QSizeF>("picture");
    QTest::addColumn<QSizeF>("box");
    QTest::addColumn<QRectF>("expected");
    const QSizeF preview(183, 183);
    QTest::newRow("landscape") << QSizeF(400, 300) << preview << QRectF(0, 22.875, 183, 137.25);
    QTest::newRow("portrait") << QSizeF(300, 400) << preview << QRectF(22.875, 0, 137.25, 183);
    QTest::newRow("square") << QSizeF(500, 500) << preview << QRectF(0, 0, 183, 183);
    QTest::newRow("small is enlarged") << QSizeF(40, 30) << preview << QRectF(0, 22.875, 183, 137.25);
    QTest::newRow("wide area, portrait") << QSizeF(300, 600) << QSizeF(800, 600) << QRectF(250, 0, 300, 600);
    QTest::newRow("panorama in wide area") << QSizeF(4000, 1000) << QSizeF(800, 600) << QRectF(0, 200, 800, 200);
}

void TestPictureFit::fitting()
{
    QFETCH(QSizeF, picture);
    QFETCH(QSizeF, box);
    QFETCH(QRectF, expected);
    const QRectF r = fitIntoBox(picture, box);
    QCOMPARE(r, expected);
}

void TestPictureFit::loaderScalesButKeepsNaturalSize_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("jpeg") << QStringLiteral("JPEG");
    QTest::newRow("bmp") << QStringLiteral("BMP");
    QTest::newRow("gif") << QStringLiteral("GIF");
}

void TestPictureFit::loaderScalesButKeepsNaturalSize()
{
    QFETCH(QString, format);
    QTemporaryDir dir;
    // Named .jpg whatever it is: album files are classified by name, decoded by content.
    const QString path = dir.filePath(QStringLiteral("bild.jpg"));
    QImage image(1600, 1200, QImage::Format_RGB32);
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
    QCOMPARE(picture->naturalSize, QSize(1600, 1200));
    QVERIFY(picture->image.width() <= 400);
    QVERIFY(picture->image.width() >= 183);
    QCOMPARE(QColor(picture->image.pixel(50, 50)).red() > 150, true);
}

void TestPictureFit::undecodableFileGivesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kaputt.jpg"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\xFF\xD8\xFF\xE0 not really a jpeg");
    file.close();
    QVERIFY(!loadPicture(path, QSize(183, 183)));
    QVERIFY(!loadPicture(dir.filePath(QStringLiteral("fehlt.jpg"))));
}

QTEST_GUILESS_MAIN(TestPictureFit)
#include "tst_picturefit.moc"
