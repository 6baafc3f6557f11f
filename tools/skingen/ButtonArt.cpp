#include "ButtonArt.h"

#include "app/MainWindowLayout.h"
#include "Paint.h"
#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace zv::skingen {

namespace L = zv::layout;

QImage drawPanelButton(const SkinTheme &theme, const QImage &background, QPoint at, const QString &caption,
                       bool pressed)
{
    QImage image = cut(background, QRect(at, L::kPanelButton));
    QPainter p(&image);
    const QRectF r(QPointF(0, 0), logicalSize(image));
    drawFace(p, r, 9, theme.faceTop, theme.faceBottom, theme.faceBorder, pressed);
    drawCaption(p, r.adjusted(0, 0, 0, -2), caption, sansFont(15), theme.faceText, pressed);
    return image;
}

QImage drawTitleButton(const SkinTheme &theme, const QImage &background, QPoint at, TitleSymbol symbol, bool pressed)
{
    QImage image = cut(background, QRect(at, L::kTitleButton));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), logicalSize(image));
    const bool close = symbol == TitleSymbol::Close;
    const QColor top = close ? QColor(0xD8, 0x5A, 0x48) : theme.faceTop;
    const QColor bottom = close ? QColor(0x9E, 0x2A, 0x1E) : theme.faceBottom;
    drawFace(p, r, 6, top, bottom, theme.bandBottom.darker(140), pressed);
    const QPointF shift = pressed ? QPointF(1, 1) : QPointF(0, 0);
    p.setPen(QPen(theme.faceText, 2.4, Qt::SolidLine, Qt::RoundCap));
    switch (symbol) {
    case TitleSymbol::Minimise:
        p.drawLine(QPointF(8, 17) + shift, QPointF(18, 17) + shift);
        break;
    case TitleSymbol::Close:
        p.drawLine(QPointF(8.5, 7.5) + shift, QPointF(17.5, 16.5) + shift);
        p.drawLine(QPointF(17.5, 7.5) + shift, QPointF(8.5, 16.5) + shift);
        break;
    case TitleSymbol::Question:
        drawCaption(p, r.adjusted(0, 0, 0, -2), QStringLiteral("?"), sansFont(16), theme.faceText, pressed);
        break;
    }
    return image;
}

QImage drawSaveLock(const SkinTheme &theme, const QImage &background)
{
    const QRect where(L::kMenuPanel.topLeft() + L::kSaveLock.topLeft(), L::kSaveLock.size());
    QImage image = cut(background, where);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r(QPointF(0, 0), logicalSize(image));
    drawFace(p, r.adjusted(0, 2, 0, -2), 9, QColor(0xB4, 0xB0, 0xAA), QColor(0x86, 0x82, 0x7C),
             QColor(0x55, 0x52, 0x4E), false);
    // Diagonal hatching marks the button as unavailable.
    p.save();
    QPainterPath face;
    face.addRoundedRect(r.adjusted(2, 4, -2, -5), 8, 8);
    p.setClipPath(face);
    p.setPen(QPen(QColor(0, 0, 0, 22), 4));
    for (int x = -int(r.height()); x < r.width(); x += 11)
        p.drawLine(QPointF(x, r.height()), QPointF(x + r.height(), 0));
    p.restore();
    // Padlock.
    const QPointF lock(17, r.center().y());
    p.setPen(QPen(QColor(0x3C, 0x3A, 0x36), 2.2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(lock.x() - 5, lock.y() - 11, 10, 12), 0, 180 * 16);
    p.drawLine(QPointF(lock.x() - 5, lock.y() - 5), QPointF(lock.x() - 5, lock.y() - 2));
    p.drawLine(QPointF(lock.x() + 5, lock.y() - 5), QPointF(lock.x() + 5, lock.y() - 2));
    p.setPen(Qt::NoPen);
    p.setBrush(theme.accent);
    p.drawRoundedRect(QRectF(lock.x() - 8, lock.y() - 3, 16, 12), 2, 2);
    p.setBrush(QColor(0x3C, 0x3A, 0x36));
    p.drawEllipse(QPointF(lock.x(), lock.y() + 2), 1.8, 1.8);
    QFont font = sansFont(12);
    font.setStretch(QFont::Condensed);
    drawCaption(p, r.adjusted(27, 0, -3, -1), QStringLiteral("Schreibgesch\u00fctzt"), font, QColor(0xFA, 0xF8, 0xF4),
                false);
    return image;
}

QImage drawLogo(const SkinTheme &theme, const QImage &background)
{
    const QRect where(L::kMenuPanel.topLeft() + L::kLogo.topLeft(), L::kLogo.size());
    QImage image = cut(background, where);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QSize size = logicalSize(image);
    const QRectF card(1, 1, size.width() - 2, size.height() - 2);
    QLinearGradient fill(card.topLeft(), card.bottomLeft());
    fill.setColorAt(0, theme.paper);
    fill.setColorAt(1, theme.paper.darker(112));
    p.setPen(QPen(theme.panelBorder, 1));
    p.setBrush(fill);
    p.drawRoundedRect(card, 10, 10);
    drawPhotoStack(p, QPointF(card.center().x(), 46), 1.15, theme);
    p.setFont(titleFont(19));
    p.setPen(theme.faceBorder);
    p.drawText(QRectF(0, 80, size.width(), 24), Qt::AlignCenter, QStringLiteral("Zidoverev"));
    p.setFont(sansFont(9, false));
    p.setPen(theme.faceBottom);
    p.drawText(QRectF(0, 101, size.width(), 14), Qt::AlignCenter, QStringLiteral("Bilder \u00b7 Filme \u00b7 Ton"));
    return image;
}

} // namespace zv::skingen
