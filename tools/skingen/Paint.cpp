#include "Paint.h"

#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv::skingen {

namespace {
int drawScale = 1;
} // namespace

void setDrawScale(int scale)
{
    drawScale = scale;
}

QImage canvas(QSize size, const QColor &fill)
{
    QImage image(size * drawScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(drawScale);
    image.fill(fill);
    return image;
}

QImage cut(const QImage &from, const QRect &r)
{
    const int scale = qRound(from.devicePixelRatio());
    QImage part = from.copy(QRect(r.topLeft() * scale, r.size() * scale));
    part.setDevicePixelRatio(scale);
    return part;
}

QSize logicalSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

QFont sansFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QFont titleFont(int pixelSize)
{
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setItalic(true);
    return font;
}

void drawPanel(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &border)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    // Stacked translucent outlines fake a blurred shadow without a blur filter.
    for (int i = 4; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(r.adjusted(-i + 1, -i + 2, i - 1, i + 1), radius + i, radius + i);
    }
    p.setBrush(fill);
    p.setPen(QPen(border, 1.2));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.setPen(QPen(QColor(255, 255, 255, 120), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -1.5), radius - 1, radius - 1);
    p.restore();
}

void drawFace(QPainter &p, const QRectF &r, qreal radius, const QColor &top, const QColor &bottom, const QColor &border,
              bool pressed)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = r.adjusted(1, 1, -1, -2);
    if (!pressed) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 45));
        p.drawRoundedRect(face.translated(0, 1.5), radius, radius);
        p.setBrush(QColor(0, 0, 0, 25));
        p.drawRoundedRect(face.adjusted(-0.5, 0, 0.5, 2.5), radius, radius);
    }
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    if (pressed) {
        fill.setColorAt(0, bottom.darker(135));
        fill.setColorAt(1, bottom.darker(105));
    } else {
        fill.setColorAt(0, top.lighter(108));
        fill.setColorAt(0.5, top);
        fill.setColorAt(0.52, top.darker(108));
        fill.setColorAt(1, bottom);
    }
    QPainterPath shape;
    shape.addRoundedRect(face, radius, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(shape);
    p.setClipPath(shape);
    if (pressed) {
        // Inner shadow along the top and left edge reads as "pushed in".
        QLinearGradient shade(face.topLeft(), face.topLeft() + QPointF(0, 7));
        shade.setColorAt(0, QColor(0, 0, 0, 110));
        shade.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(shade);
        p.drawRect(face);
        QLinearGradient side(face.topLeft(), face.topLeft() + QPointF(4, 0));
        side.setColorAt(0, QColor(0, 0, 0, 70));
        side.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(side);
        p.drawRect(face);
    } else {
        QLinearGradient gloss(face.topLeft(), QPointF(face.left(), face.center().y()));
        gloss.setColorAt(0, QColor(255, 255, 255, 90));
        gloss.setColorAt(1, QColor(255, 255, 255, 15));
        p.setBrush(gloss);
        p.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -face.height() / 2), radius - 1, radius - 1);
    }
    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(border, 1));
    p.drawPath(shape);
    p.restore();
}

void drawCaption(QPainter &p, const QRectF &r, const QString &text, const QFont &font, const QColor &colour,
                 bool pressed)
{
    p.save();
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(font);
    const QRectF box = pressed ? r.translated(1, 1) : r;
    p.setPen(QColor(0, 0, 0, pressed ? 60 : 110));
    p.drawText(box.translated(0, 1), Qt::AlignCenter, text);
    p.setPen(pressed ? colour.darker(112) : colour);
    p.drawText(box, Qt::AlignCenter, text);
    p.restore();
}

namespace {

void drawSnapshot(QPainter &p, const QRectF &r, qreal angle, const SkinTheme &theme, bool withScene)
{
    p.save();
    p.translate(r.center());
    p.rotate(angle);
    const QRectF card(-r.width() / 2, -r.height() / 2, r.width(), r.height());
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 50));
    p.drawRoundedRect(card.translated(1.5, 2), 2, 2);
    p.setBrush(QColor(0xFD, 0xFB, 0xF6));
    p.setPen(QPen(QColor(0, 0, 0, 60), 0.8));
    p.drawRoundedRect(card, 2, 2);
    const qreal m = r.width() * 0.08;
    const QRectF scene = card.adjusted(m, m, -m, -m * 2.6);
    QLinearGradient sky(scene.topLeft(), scene.bottomLeft());
    sky.setColorAt(0, theme.accentDark.lighter(150));
    sky.setColorAt(1, theme.accent.lighter(150));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRect(scene);
    if (withScene) {
        p.setBrush(QColor(0xFF, 0xF1, 0xB8));
        p.drawEllipse(QPointF(scene.right() - scene.width() * 0.25, scene.top() + scene.height() * 0.3),
                      scene.width() * 0.1, scene.width() * 0.1);
        QPainterPath hills;
        hills.moveTo(scene.bottomLeft());
        hills.lineTo(scene.left(), scene.bottom() - scene.height() * 0.3);
        hills.lineTo(scene.left() + scene.width() * 0.35, scene.top() + scene.height() * 0.35);
        hills.lineTo(scene.left() + scene.width() * 0.6, scene.bottom() - scene.height() * 0.35);
        hills.lineTo(scene.left() + scene.width() * 0.75, scene.bottom() - scene.height() * 0.5);
        hills.lineTo(scene.right(), scene.bottom() - scene.height() * 0.2);
        hills.lineTo(scene.bottomRight());
        hills.closeSubpath();
        p.setBrush(theme.faceBottom);
        p.drawPath(hills);
    }
    p.restore();
}

} // namespace

void drawPhotoStack(QPainter &p, const QPointF &centre, qreal scale, const SkinTheme &theme)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QSizeF size(52 * scale, 44 * scale);
    drawSnapshot(p, QRectF(centre - QPointF(size.width() / 2 + 7 * scale, size.height() / 2 + 2 * scale), size), -11,
                 theme, false);
    drawSnapshot(p, QRectF(centre - QPointF(size.width() / 2 - 6 * scale, size.height() / 2 - 2 * scale), size), 7,
                 theme, true);
    p.restore();
}

void drawMagnifier(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, radius * 0.32, Qt::SolidLine, Qt::RoundCap));
    p.drawEllipse(centre, radius, radius);
    const QPointF handle = centre + QPointF(radius * 0.72, radius * 0.72);
    p.setPen(QPen(colour, radius * 0.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(handle, handle + QPointF(radius * 0.8, radius * 0.8));
    p.restore();
}

} // namespace zv::skingen
