#pragma once
// Picture files the viewing tests share: a JPEG stored sideways with an EXIF orientation, as
// cameras write them (the APP1 segment written by hand), and a "pixel bomb".

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>

namespace zv::test {

// Stored `stored` pixels, top half red, bottom half blue; orientation 6 means "turn a quarter
// clockwise to show": upright the picture is stored.height() wide, blue left and red right.
inline bool writeSidewaysJpeg(const QString &path, QSize stored, quint16 orientation = 6)
{
    QImage image(stored, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter(&image).fillRect(0, 0, stored.width(), stored.height() / 2, Qt::red);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 95))
        return false;

    QByteArray tiff("MM\x00\x2A\x00\x00\x00\x08", 8); // big-endian, first IFD at offset 8
    tiff += QByteArray("\x00\x01", 2); // one entry
    tiff += QByteArray("\x01\x12\x00\x03\x00\x00\x00\x01", 8); // Orientation, SHORT, count 1
    tiff += char(orientation >> 8);
    tiff += char(orientation & 0xFF);
    tiff += QByteArray(2, '\0');
    tiff += QByteArray(4, '\0'); // no next IFD
    const QByteArray payload = QByteArray("Exif\0\0", 6) + tiff;
    const int length = payload.size() + 2;
    QByteArray app1("\xFF\xE1", 2);
    app1 += char(length >> 8);
    app1 += char(length & 0xFF);
    app1 += payload;

    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(jpeg.left(2) + app1 + jpeg.mid(2)) > 0; // right after the start marker
}

// A small JPEG whose frame header claims 30,000 x 30,000 pixels.
inline bool writePixelBomb(const QString &path)
{
    QImage image(16, 16, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG"))
        return false;
    const int sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof < 0)
        return false;
    for (int at : {sof + 5, sof + 7}) { // height, then width, big-endian
        jpeg[at] = char(30000 >> 8);
        jpeg[at + 1] = char(30000 & 0xFF);
    }
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size();
}

// Red on the right and blue on the left: the picture stands upright.
inline bool looksUpright(const QImage &shown)
{
    if (shown.isNull() || shown.width() >= shown.height())
        return false;
    const QColor left = shown.pixelColor(shown.width() / 4, shown.height() / 2);
    const QColor right = shown.pixelColor(shown.width() * 3 / 4, shown.height() / 2);
    return left.blue() > 150 && left.red() < 100 && right.red() > 150 && right.blue() < 100;
}

} // namespace zv::test
