#include "BackgroundArt.h"

#include "app/MainWindowLayout.h"
#include "Paint.h"
#include "SkinTheme.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace zv::skingen {

namespace L = zv::layout;

namespace {

void drawWindowFill(QPainter &p, const SkinTheme &t)
{
    const QRect all(QPoint(0, 0), L::kWindow);
    QLinearGradient fill(0, 0, 0, all.height());
    fill.setColorAt(0, t.windowTop);
    fill.setColorAt(1, t.windowBottom);
    p.fillRect(all, fill);
    QRadialGradient light(QPointF(260, 120), 520);
    light.setColorAt(0, QColor(255, 255, 255, 90));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(all, light);
    // Faint diagonal weave so large surfaces do not look flat.
    p.setPen(QPen(QColor(255, 255, 255, 16), 1));
    for (int x = -all.height(); x < all.width(); x += 6)
        p.drawLine(x, all.height(), x + all.height(), 0);
}

void drawTitleBand(QPainter &p, const SkinTheme &t)
{
    const QRect band = L::kTitleBand;
    QLinearGradient fill(band.topLeft(), band.bottomLeft());
    fill.setColorAt(0, t.bandTop);
    fill.setColorAt(1, t.bandBottom);
    p.fillRect(band, fill);
    p.fillRect(QRect(0, 0, band.width(), band.height() / 2), QColor(255, 255, 255, 22));
    p.fillRect(QRect(0, band.bottom() - 2, band.width(), 2), t.bandLine);
    p.fillRect(QRect(0, band.bottom(), band.width(), 1), t.bandBottom.darker(150));

    drawPhotoStack(p, QPointF(32, 24), 0.42, t);
    p.setFont(titleFont(24));
    p.setPen(QColor(0, 0, 0, 110));
    p.drawText(QPoint(61, 33), QStringLiteral("Zidoverev"));
    p.setPen(t.bandText);
    p.drawText(QPoint(60, 32), QStringLiteral("Zidoverev"));
    p.setFont(sansFont(11, false));
    QColor sub = t.bandText;
    sub.setAlpha(190);
    p.setPen(sub);
    p.drawText(QPoint(196, 31), QStringLiteral("Foto- und Videoalbum"));
}

void drawMediaPanel(QPainter &p, const SkinTheme &t)
{
    const QRect preview = L::kPreview;
    const QRect bar = L::kPlayerBar;
    drawPanel(p, QRectF(bar.left() - 5, preview.top() - 8, bar.width() + 10, bar.bottom() - preview.top() + 15), 9,
              t.panelFill, t.panelBorder);
    // The preview is a dark screen with a sunken rim.
    p.fillRect(preview.adjusted(-2, -2, 2, 2), t.screen.darker(140));
    p.fillRect(preview.adjusted(-1, -1, 1, 1), QColor(255, 255, 255, 60));
    QRadialGradient screen(preview.center(), preview.width() * 0.75);
    screen.setColorAt(0, t.screen.lighter(135));
    screen.setColorAt(1, t.screen);
    p.fillRect(preview, screen);
    // The player bar's pictures are drawn on this flat colour, so the gaps between them blend.
    p.fillRect(bar, t.bar);
    p.setPen(QPen(t.bar.darker(130), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(bar.adjusted(-1, -1, 0, 0));
}

void drawInfoArea(QPainter &p, const SkinTheme &t)
{
    const QRect frame = L::kSearchFrame;
    const QRect inside = frame.adjusted(10, 24, -10, -10);
    p.fillRect(frame.adjusted(4, 4, -4, -4), t.panelFill);
    QLinearGradient paper(inside.topLeft(), inside.bottomLeft());
    // A shade darker than the field colours, so the empty fields stand out.
    paper.setColorAt(0, t.paper.darker(104));
    paper.setColorAt(1, t.paper.darker(109));
    p.fillRect(inside, paper);
    // Hairlines under each field row, like a form.
    QColor rule = t.panelBorder;
    rule.setAlpha(45);
    for (int row = 0; row < 5; ++row) {
        const int y = L::kFieldTop + row * L::kFieldPitch + L::kField.height() + 2;
        p.fillRect(QRect(L::kFieldLabelLeft, y, L::kFieldLeft + L::kField.width() - L::kFieldLabelLeft, 1), rule);
    }
}

void drawSearchPanel(QPainter &p, const SkinTheme &t)
{
    const QRect panel = L::kSearchPanel;
    drawPanel(p, panel, 9, t.panelFill, t.panelBorder);
    const int free = panel.left() + L::kBackButton.right() + 1;
    const QPointF centre((free + panel.right()) / 2.0 - 8, panel.center().y() - 6);
    QColor mark = t.panelBorder;
    mark.setAlpha(170);
    drawMagnifier(p, centre, 9, mark);
    p.setFont(sansFont(10));
    p.setPen(mark);
    p.drawText(QRectF(free, panel.bottom() - 20, panel.right() - free, 14), Qt::AlignCenter, QStringLiteral("Suche"));
}

void drawListFrame(QPainter &p, const SkinTheme &t)
{
    const QRect outer = L::kProgress.united(L::kList).adjusted(-10, -8, 10, 10);
    drawPanel(p, outer, 10, t.panelFill, t.panelBorder);
    p.setPen(QPen(t.panelBorder.darker(120), 1));
    p.setBrush(t.paper);
    p.drawRect(L::kList.adjusted(-1, -1, 0, 0));
    p.setBrush(t.paper.darker(110));
    p.drawRect(L::kProgress.adjusted(-1, -1, 0, 0));
}

void drawWatermark(QPainter &p, const SkinTheme &t)
{
    const QRect free(L::kSearchPanel.left(), L::kSearchPanel.bottom() + 1, L::kSearchPanel.width(),
                     L::kProgress.top() - 8 - L::kSearchPanel.bottom());
    p.save();
    p.setOpacity(0.22);
    drawPhotoStack(p, QPointF(free.left() + 80, free.center().y() + 2), 1.5, t);
    p.setOpacity(0.35);
    p.setFont(titleFont(26));
    p.setPen(t.panelBorder);
    p.drawText(QRect(free.left() + 140, free.top(), free.width() - 150, free.height()), Qt::AlignCenter,
               QStringLiteral("Erinnerungen"));
    p.restore();
}

} // namespace

QImage drawBackground(const SkinTheme &theme)
{
    QImage image = canvas(L::kWindow);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    drawWindowFill(p, theme);
    drawTitleBand(p, theme);
    drawPanel(p, L::kMenuPanel, 10, theme.panelFill, theme.panelBorder);
    drawMediaPanel(p, theme);
    drawInfoArea(p, theme);
    drawSearchPanel(p, theme);
    drawListFrame(p, theme);
    drawWatermark(p, theme);
    return image;
}

QImage drawSearchFrame(const SkinTheme &theme, const QImage &background)
{
    const QRect where = L::kSearchFrame;
    QImage image = cut(background, where);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer(0.5, 0.5, where.width() - 1, where.height() - 1);
    const QRectF inside(10, 24, where.width() - 20, where.height() - 34);
    QPainterPath ring;
    ring.addRoundedRect(outer, 9, 9);
    QPainterPath hole;
    hole.addRect(inside);
    QLinearGradient fill(0, 0, 0, where.height());
    fill.setColorAt(0, theme.faceTop);
    fill.setColorAt(24.0 / where.height(), theme.faceBottom);
    fill.setColorAt(1, theme.faceBottom.darker(115));
    p.setPen(QPen(theme.faceBorder, 1));
    p.setBrush(fill);
    p.drawPath(ring.subtracted(hole));
    // Highlight on the band and a sunken lip around the inside.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 50));
    p.drawRoundedRect(QRectF(2, 2, where.width() - 4, 10), 7, 7);
    p.setPen(QPen(QColor(0, 0, 0, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(inside.adjusted(-1.5, -1.5, 1.5, 1.5));
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawRect(inside.adjusted(-2.5, -2.5, 2.5, 2.5));
    drawMagnifier(p, QPointF(18, 11), 4.5, theme.faceText);
    p.setFont(sansFont(12));
    p.setPen(QColor(0, 0, 0, 100));
    p.drawText(QRectF(31, 1, 300, 22), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Bildinformationen"));
    p.setPen(theme.faceText);
    p.drawText(QRectF(30, 0, 300, 22), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Bildinformationen"));
    return image;
}

} // namespace zv::skingen
