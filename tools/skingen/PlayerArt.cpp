#include "PlayerArt.h"

#include "Paint.h"
#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv::skingen {

namespace {

void drawSymbol(QPainter &p, PlayerSymbol symbol, const QColor &ink)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    switch (symbol) {
    case PlayerSymbol::Play: {
        QPainterPath triangle;
        triangle.moveTo(11, 8.5);
        triangle.lineTo(21, 14.5);
        triangle.lineTo(11, 20.5);
        triangle.closeSubpath();
        p.drawPath(triangle);
        break;
    }
    case PlayerSymbol::Pause:
        p.drawRoundedRect(QRectF(10, 9, 3.6, 11), 1, 1);
        p.drawRoundedRect(QRectF(16.4, 9, 3.6, 11), 1, 1);
        break;
    case PlayerSymbol::Stop:
        p.drawRoundedRect(QRectF(10, 9.5, 10, 10), 1.5, 1.5);
        break;
    case PlayerSymbol::OpenExternal: {
        // A window with an arrow leaving it: "open with the standard program".
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawRoundedRect(QRectF(8, 10, 11, 11), 1.5, 1.5);
        p.setPen(QPen(ink, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(14, 15), QPointF(21.5, 7.5));
        p.drawPolyline(QPolygonF({QPointF(16.5, 7.5), QPointF(21.5, 7.5), QPointF(21.5, 12.5)}));
        break;
    }
    case PlayerSymbol::PictureWindow: {
        // Four corner arrows: "show in a resizable window".
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(ink, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const qreal lo = 8.5, hi = 20.5, arm = 3.8;
        p.drawPolyline(QPolygonF({QPointF(lo, lo + arm), QPointF(lo, lo), QPointF(lo + arm, lo)}));
        p.drawPolyline(QPolygonF({QPointF(hi - arm, lo), QPointF(hi, lo), QPointF(hi, lo + arm)}));
        p.drawPolyline(QPolygonF({QPointF(lo, hi - arm), QPointF(lo, hi), QPointF(lo + arm, hi)}));
        p.drawPolyline(QPolygonF({QPointF(hi - arm, hi), QPointF(hi, hi), QPointF(hi, hi - arm)}));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawRect(QRectF(12, 12, 5, 5));
        break;
    }
    }
}

} // namespace

QImage drawPlayerButton(const SkinTheme &theme, PlayerSymbol symbol, bool pressed)
{
    QImage image = canvas(QSize(30, 30), theme.bar);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawFace(p, QRectF(1, 1, 28, 28), 6, theme.barFace.lighter(115), theme.barFace.darker(125), theme.bar.darker(150),
             pressed);
    if (pressed)
        p.translate(1, 1);
    drawSymbol(p, symbol, pressed ? theme.faceText.darker(110) : theme.faceText);
    return image;
}

QImage drawTrack(const SkinTheme &theme)
{
    QImage image = canvas(QSize(150, 20), theme.bar);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // The groove spans the thumb centre's travel, 13 to 137.
    const QRectF groove(10, 8, 130, 5);
    p.setPen(QPen(QColor(0, 0, 0, 120), 1));
    p.setBrush(theme.bar.darker(170));
    p.drawRoundedRect(groove, 2.5, 2.5);
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(12, 14.5), QPointF(138, 14.5));
    QColor tick = theme.faceText;
    tick.setAlpha(70);
    p.setPen(QPen(tick, 1));
    for (int i = 0; i <= 4; ++i) {
        const qreal x = 13 + i * 31 + 0.5;
        p.drawLine(QPointF(x, 16), QPointF(x, 18));
    }
    return image;
}

QImage drawThumb(const SkinTheme &theme)
{
    QImage image = canvas(QSize(8, 20), theme.bar);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 8, 0);
    fill.setColorAt(0, theme.accent.lighter(130));
    fill.setColorAt(1, theme.accentDark);
    p.setPen(QPen(theme.bar.darker(160), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 2.5, 7, 15), 2.5, 2.5);
    p.setPen(QPen(QColor(0, 0, 0, 80), 1));
    p.drawLine(QPointF(4, 7), QPointF(4, 13));
    return image;
}

QImage drawVolume(const SkinTheme &theme, int level)
{
    QImage image = canvas(QSize(33, 50), theme.bar);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(theme.bar.darker(150), 1));
    p.setBrush(theme.bar.darker(125));
    p.drawRoundedRect(QRectF(1.5, 1.5, 30, 47), 5, 5);
    // Six segments growing wider towards the top; the lower `level` of them light up.
    for (int k = 0; k < 6; ++k) {
        const qreal y = 41 - k * 7;
        const qreal width = 9 + k * 3.2;
        const QRectF segment(16.5 - width / 2, y, width, 5);
        if (k < level) {
            QLinearGradient lit(segment.topLeft(), segment.bottomLeft());
            const QColor base = k >= 4 ? theme.accent.lighter(115) : theme.accent;
            lit.setColorAt(0, base.lighter(130));
            lit.setColorAt(1, base.darker(110));
            p.setBrush(lit);
            p.setPen(QPen(theme.accentDark.darker(130), 0.8));
        } else {
            p.setBrush(theme.bar.lighter(135));
            p.setPen(QPen(theme.bar.darker(140), 0.8));
        }
        p.drawRoundedRect(segment, 1.5, 1.5);
    }
    if (level == 0) {
        // Silent: a cross over the dark bars.
        p.setPen(QPen(theme.faceText, 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(12.5, 21), QPointF(20.5, 29));
        p.drawLine(QPointF(20.5, 21), QPointF(12.5, 29));
    }
    return image;
}

} // namespace zv::skingen
