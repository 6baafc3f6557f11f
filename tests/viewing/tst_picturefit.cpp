// A picture fitted into its area: the geometry, the loader and the picture window.
#include "support/PictureFiles.h"

#include "platform/BoxFit.h"
#include "viewing/PictureImage.h"
#include "viewing/PictureLoader.h"
#include "viewing/PixelRect.h"
#include "viewing/frmPicWindow.h"

#include <QTemporaryDir>
#include <QTest>

using namespace zv;

class TestPictureFit : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;

    // Named .jpg whatever its format: album files are classified by name, decoded by content.
    QString picture(const char *name, QSize size, QColor colour = Qt::red, const char *format = "JPEG")
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = dir_.filePath(QLatin1String(name));
        return image.save(path, format) ? path : QString();
    }

private Q_SLOTS:
    void fitting_data()
    {
        QTest::addColumn<QSizeF>("picture");
        QTest::addColumn<QSizeF>("box");
        QTest::addColumn<QRectF>("expected");
        QTest::addColumn<QRect>("pixels");
        const QSizeF box(183, 183);
        QTest::newRow("landscape") << QSizeF(400, 300) << box << QRectF(0, 22.875, 183, 137.25) << QRect(0, 23, 183, 137);
        QTest::newRow("portrait") << QSizeF(300, 400) << box << QRectF(22.875, 0, 137.25, 183) << QRect(23, 0, 137, 183);
        QTest::newRow("window: portrait") << QSizeF(600, 800) << QSizeF(562, 521) << QRectF(85.625, 0, 390.75, 521)
                                          << QRect(86, 0, 390, 521);
    }
    void fitting()
    {
        QFETCH(QSizeF, picture);
        QFETCH(QSizeF, box);
        QFETCH(QRectF, expected);
        QFETCH(QRect, pixels);
        QCOMPARE(fitIntoBox(picture, box), expected);
        QCOMPARE(pixelRect(expected), pixels);
    }

    // Decoded at the preview's size despite a trailer; no format: a photo stored sideways.
    void loader_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("decoded");
        QTest::newRow("jpeg") << QByteArray("JPEG") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("bmp") << QByteArray("BMP") << QSize(1600, 1200) << QSize(183, 137);
        QTest::newRow("small jpeg enlarged") << QByteArray("JPEG") << QSize(40, 30) << QSize(183, 137);
        QTest::newRow("sideways") << QByteArray() << QSize(400, 600) << QSize(122, 183);
    }
    void loader()
    {
        QFETCH(QByteArray, format);
        QFETCH(QSize, natural);
        QFETCH(QSize, decoded);
        QString path = dir_.filePath(QStringLiteral("hochkant.jpg"));
        if (format.isEmpty())
            QVERIFY(test::writeSidewaysJpeg(path, natural.transposed()));
        else
            path = picture("bild.jpg", natural, Qt::red, format.constData());
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write(QByteArray("FileInfo").leftJustified(914, ' '));
        file.close();
        const auto loaded = loadPicture(path, QSize(183, 183));
        QVERIFY(loaded);
        QCOMPARE(loaded->naturalSize, natural);
        QCOMPARE(loaded->image.size(), decoded);
        QVERIFY(format.isEmpty() ? test::looksUpright(loaded->image) : QColor(loaded->image.pixel(50, 50)).red() > 150);
    }

    void undecodableFileGivesNothing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("broken jpeg") << QByteArray("\xFF\xD8\xFF\xE0 not really a jpeg");
        QTest::newRow("missing") << QByteArray("-");
        QTest::newRow("30000 x 30000 pixel bomb") << QByteArray("bomb");
    }
    void undecodableFileGivesNothing()
    {
        QFETCH(QByteArray, bytes);
        const QString path = dir_.filePath(QString::fromLatin1(QTest::currentDataTag()));
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

    // Refitted on resize without decoding again; what is no picture leaves the previous one.
    void pictureWindow()
    {
        const QString red = picture("rot.jpg", {1600, 1200}, Qt::red);
        const QString blue = picture("blau.jpg", {300, 400}, Qt::blue);
        const QString video = dir_.filePath(QStringLiteral("film.mp4"));
        QFile(video).open(QIODevice::WriteOnly);
        frmPicWindow w;
        w.showPicture(red);
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_COMPARE(w.shownFile(), red);
        QCOMPARE(w.pictureRect(), QRectF(0, 49.75, 562, 421.5));
        w.resize(900, 300);
        QTRY_COMPARE(w.pictureRect(), QRectF(250, 0, 400, 300));
        QVERIFY(!w.isLoading());
        QCOMPARE(w.findChild<PictureImage *>()->geometry(), QRect(250, 0, 400, 300));
        w.refreshPicWindow(blue);
        QCOMPARE(w.windowTitle(), blue);
        QTRY_COMPARE(w.shownFile(), blue);
        QCOMPARE(w.pictureRect(), QRectF(337.5, 0, 225, 300));
        w.refreshPicWindow(video);
        QTRY_VERIFY(!w.isLoading());
        QCOMPARE(w.windowTitle(), video);
        QCOMPARE(w.shownFile(), blue);
        QCOMPARE(w.findChildren<PictureImage *>().size(), 1);
        QVERIFY(w.findChild<PictureImage *>()->isVisible());
    }
};

QTEST_MAIN(TestPictureFit)
#include "tst_picturefit.moc"
