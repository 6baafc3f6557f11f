#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace zv::skingen {

struct SkinTheme;

// Pictures are drawn in window pixels; at scale 2 ("name@2x.jpg") every canvas holds twice as
// many in each direction and the painter maps window pixels onto them.
void setDrawScale(int scale);
QImage canvas(QSize size, const QColor &fill = Qt::transparent);
// The part of a drawn picture under r (window pixels), at the picture's own scale.
QImage cut(const QImage &from, const QRect &r);
// A drawn picture's size in window pixels.
QSize logicalSize(const QImage &image);
QFont sansFont(int pixelSize, bool bold = true);
QFont titleFont(int pixelSize);

// A frosted panel lying on the window background, with a soft drop shadow.
void drawPanel(QPainter &p, const QRectF &r, qreal radius, const QColor &fill, const QColor &border);

// A raised (or, pressed, sunken) rounded face: the one look every button shares.
void drawFace(QPainter &p, const QRectF &r, qreal radius, const QColor &top, const QColor &bottom, const QColor &border,
              bool pressed);

// Caption with a faint drop shadow; pressed captions sit one pixel lower right.
void drawCaption(QPainter &p, const QRectF &r, const QString &text, const QFont &font, const QColor &colour,
                 bool pressed);

// Two slanted snapshots with a little landscape: the album's emblem.
void drawPhotoStack(QPainter &p, const QPointF &centre, qreal scale, const SkinTheme &theme);

void drawMagnifier(QPainter &p, const QPointF &centre, qreal radius, const QColor &colour);

} // namespace zv::skingen
