#include "BuiltInLogo.h"

#include "platform/ErrorTexts.h"
#include "platform/NewFile.h"

#include <QBuffer>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv {

QImage builtInLogo()
{
    QImage image(200, 150, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 150);
    sky.setColorAt(0, QColor(255, 196, 128));
    sky.setColorAt(1, QColor(255, 236, 210));
    p.fillRect(image.rect(), sky);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 250, 220));
    p.drawEllipse(QPointF(150, 42), 20, 20);

    QPainterPath hills;
    hills.moveTo(0, 150);
    hills.lineTo(0, 105);
    hills.cubicTo(40, 70, 80, 80, 110, 100);
    hills.cubicTo(140, 118, 170, 80, 200, 92);
    hills.lineTo(200, 150);
    p.setBrush(QColor(150, 90, 50));
    p.drawPath(hills);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(22);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 246, 232));
    p.drawText(QRect(0, 108, 200, 36), Qt::AlignCenter, QStringLiteral("Zidoverev"));
    return image;
}

QString writeBuiltInLogo(const QString &path)
{
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    if (!builtInLogo().save(&buffer, "BMP"))
        return QStringLiteral("Bild kann nicht erzeugt werden");
    if (const int error = writeNewFile(path, bmp))
        return errorText(error);
    return {};
}

} // namespace zv
