#include "KindIcons.h"

#include <QPainter>
#include <QPainterPath>

namespace zv::KindIcons {
namespace {

QPixmap draw(MediaKind kind, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 16.0, size / 16.0);
    switch (kind) {
    case MediaKind::Video:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 60, 70));
        p.drawRoundedRect(QRectF(1, 3, 14, 10), 1.5, 1.5);
        p.setBrush(QColor(235, 235, 235));
        for (int x = 0; x < 4; ++x) {
            p.drawRect(QRectF(2 + x * 3.4, 4, 1.6, 1.4));
            p.drawRect(QRectF(2 + x * 3.4, 10.6, 1.6, 1.4));
        }
        p.setBrush(QColor(255, 170, 60));
        p.drawPolygon(QPolygonF({QPointF(6.5, 6), QPointF(10.5, 8), QPointF(6.5, 10)}));
        break;
    case MediaKind::Bild: {
        p.setPen(QPen(QColor(90, 70, 50), 1));
        p.setBrush(QColor(170, 215, 245));
        p.drawRect(QRectF(1.5, 2.5, 13, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 210, 70));
        p.drawEllipse(QPointF(11, 5.5), 1.6, 1.6);
        QPainterPath hill;
        hill.moveTo(2, 13);
        hill.lineTo(6, 7.5);
        hill.lineTo(9, 11);
        hill.lineTo(11, 9);
        hill.lineTo(14, 13);
        hill.closeSubpath();
        p.setBrush(QColor(90, 150, 80));
        p.drawPath(hill);
        break;
    }
    case MediaKind::Unbekannt: {
        p.setPen(QPen(QColor(120, 120, 120), 1));
        p.setBrush(QColor(245, 245, 245));
        p.drawRect(QRectF(3.5, 1.5, 9, 13));
        QFont font;
        font.setPixelSize(10);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(90, 90, 160));
        p.drawText(QRectF(3.5, 1.5, 9, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
    return pixmap;
}

QIcon make(MediaKind kind)
{
    QIcon icon;
    icon.addPixmap(draw(kind, 16));
    icon.addPixmap(draw(kind, 32));
    icon.addPixmap(draw(kind, 64)); // "Symbole", where thumbnails of 64 take their place
    return icon;
}

} // namespace

const QIcon &icon(MediaKind kind)
{
    static const QIcon video = make(MediaKind::Video);
    static const QIcon picture = make(MediaKind::Bild);
    static const QIcon unknown = make(MediaKind::Unbekannt);
    switch (kind) {
    case MediaKind::Video:
        return video;
    case MediaKind::Bild:
        return picture;
    case MediaKind::Unbekannt:
        break;
    }
    return unknown;
}

} // namespace zv::KindIcons
