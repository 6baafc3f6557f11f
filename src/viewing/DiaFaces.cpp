#include "DiaFaces.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv {
namespace {

const QColor kBar(0x26, 0x26, 0x26);
const QColor kFaceTop(0x5A, 0x5A, 0x5E);
const QColor kFaceBottom(0x2E, 0x2E, 0x32);
const QColor kInk(0xF2, 0xF2, 0xF2);
const QColor kActiveInk(0xF0, 0xA0, 0x3C);

void drawFace(QPainter &p, bool pressed)
{
    const QRectF face(2, 2, 26, 25);
    if (!pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 90));
        p.drawRoundedRect(face.translated(0, 1.5), 6, 6);
    }
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (pressed) {
        fill.setColorAt(0, kFaceBottom.darker(140));
        fill.setColorAt(1, kFaceBottom.darker(105));
    } else {
        fill.setColorAt(0, kFaceTop.lighter(112));
        fill.setColorAt(0.5, kFaceTop);
        fill.setColorAt(0.52, kFaceTop.darker(112));
        fill.setColorAt(1, kFaceBottom);
    }
    p.setBrush(fill);
    p.setPen(QPen(QColor(0x10, 0x10, 0x10), 1));
    p.drawRoundedRect(face.adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    if (!pressed) {
        p.setPen(QPen(QColor(255, 255, 255, 50), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    }
}

void triangle(QPainter &p, qreal tipX, qreal baseX)
{
    QPainterPath path;
    path.moveTo(baseX, 9);
    path.lineTo(tipX, 14.5);
    path.lineTo(baseX, 20);
    path.closeSubpath();
    p.drawPath(path);
}

void drawSymbol(QPainter &p, DiaSymbol symbol)
{
    switch (symbol) {
    case DiaSymbol::Play:
        triangle(p, 21, 11);
        break;
    case DiaSymbol::Pause:
        p.drawRoundedRect(QRectF(10, 9, 3.6, 11), 1, 1);
        p.drawRoundedRect(QRectF(16.4, 9, 3.6, 11), 1, 1);
        break;
    case DiaSymbol::Back:
        p.drawRect(QRectF(8.5, 9, 2.4, 11));
        triangle(p, 11.5, 21);
        break;
    case DiaSymbol::Next:
        triangle(p, 18.5, 9);
        p.drawRect(QRectF(19.1, 9, 2.4, 11));
        break;
    case DiaSymbol::End: // a cross of lines, drawn by the caller
        break;
    }
}

} // namespace

QImage drawDiaFace(DiaSymbol symbol, bool pressed)
{
    QImage image(kDiaButtonSize, kDiaButtonSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(kBar);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawFace(p, pressed);
    if (pressed)
        p.translate(1, 1);
    const QColor ink = pressed ? kActiveInk : kInk;
    if (symbol == DiaSymbol::End) {
        p.setPen(QPen(ink, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10.5, 9.5), QPointF(19.5, 18.5));
        p.drawLine(QPointF(19.5, 9.5), QPointF(10.5, 18.5));
    } else {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        drawSymbol(p, symbol);
    }
    return image;
}

QImage drawDiaGrip()
{
    QImage image(kDiaGripSize, kDiaGripSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(64, 64, 64));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath corner;
    corner.moveTo(kDiaGripSize, 2);
    corner.lineTo(kDiaGripSize, kDiaGripSize);
    corner.lineTo(2, kDiaGripSize);
    corner.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x9A, 0x9A, 0x9A));
    p.drawPath(corner);
    p.setBrush(kActiveInk);
    p.drawEllipse(QPointF(11.5, 8), 1.3, 1.3);
    p.drawRoundedRect(QRectF(10.5, 10, 2, 4.5), 0.6, 0.6);
    return image;
}

} // namespace zv
