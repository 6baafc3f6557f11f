#include "transfer/DriveChart.h"

#include "platform/Drives.h"
#include "platform/Rounding.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zv {

namespace {

const QColor freeGreen(0, 255, 0);
const QColor usedRed(255, 0, 0);
const QColor unknownGrey(192, 192, 192);

QImage blankPie(QSize box, qreal pixelRatio)
{
    QImage image((QSizeF(box) * pixelRatio).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    return image;
}

// The pie's start radial points at the rounded (x1, y1); its angle is taken on the ellipse's
// own parameter so that a box that is not square still meets the radial where it was aimed.
double radialAngle(double x, double y, double w, double h)
{
    return std::atan2((h / 2 - y) / (h / 2), (x - w / 2) / (w / 2));
}

} // namespace

QString driveSizeText(qint64 bytes)
{
    constexpr qint64 kb = 1024;
    constexpr qint64 mb = kb * 1024;
    constexpr qint64 gb = mb * 1024;
    const double v = static_cast<double>(bytes);
    if (bytes < kb)
        return QString::number(bytes) + QStringLiteral(" Bytes");
    if (bytes < mb)
        return QString::number(roundHalfEven(v / kb)) + QStringLiteral(" KB");
    if (bytes <= gb)
        return QString::number(roundHalfEven(v / mb)) + QStringLiteral(" MB");
    return QString::number(roundHalfEven(v / gb)) + QStringLiteral(" GB");
}

DriveChart drawInfo(const DriveInfo &drive, QSize box, qreal pixelRatio)
{
    DriveChart chart;
    chart.pie = blankPie(box, pixelRatio);
    const double w = box.width();
    const double h = box.height();
    const QPointF centre(w / 2, h / 2);
    QPainter painter(&chart.pie);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);

    // A drive that cannot be read, or says it holds nothing, has no share to show.
    if (!drive.ready || drive.totalBytes <= 0) {
        painter.setBrush(unknownGrey);
        painter.drawEllipse(centre, w / 2, h / 2);
        chart.freeText = QStringLiteral("frei:  unbekannt");
        chart.usedText = QStringLiteral("belegt:  unbekannt");
        chart.freeColour = chart.usedColour = unknownGrey;
        return chart;
    }

    const qint64 total = drive.totalBytes;
    const qint64 free = std::clamp<qint64>(drive.freeBytes, 0, total);
    const qint64 used = total - free;
    chart.known = true;
    chart.freeText = QStringLiteral("frei:  ") + driveSizeText(free);
    chart.usedText = QStringLiteral("belegt:  ") + driveSizeText(used);
    chart.freeColour = freeGreen;
    chart.usedColour = usedRed;

    const double theta = 2 * std::numbers::pi * static_cast<double>(free) / static_cast<double>(total);
    painter.setBrush(freeGreen);
    painter.drawEllipse(centre, w / 2, h / 2);

    const double x1 = static_cast<double>(roundHalfEven(w / 2 * std::cos(theta) + w / 2));
    const double y1 = static_cast<double>(roundHalfEven(h / 2 - h / 2 * std::sin(theta)));
    const double x2 = static_cast<double>(roundHalfEven(w / 2 + 2));
    const double y2 = static_cast<double>(roundHalfEven(h / 2));
    const double start = radialAngle(x1, y1, w, h);
    const double end = radialAngle(x2, y2, w, h);
    double span = end - start; // counter-clockwise from the start radial round to the end one
    while (span < 0)
        span += 2 * std::numbers::pi;
    // When rounding lays both radials on 3 o'clock, the share decides: almost nothing free is
    // all red, almost nothing used is all green.
    if (span == 0 && theta < std::numbers::pi)
        span = 2 * std::numbers::pi;
    if (span > 0) {
        constexpr double sixteenthsPerRadian = 180.0 * 16 / std::numbers::pi;
        painter.setBrush(usedRed);
        painter.drawPie(QRectF(0, 0, w, h), qRound(start * sixteenthsPerRadian), qRound(span * sixteenthsPerRadian));
    }
    return chart;
}

DriveChart drawInfo(const Drives &drives, const QString &programFolder, QSize box, qreal pixelRatio)
{
    return drawInfo(drives.driveOf(programFolder), box, pixelRatio);
}

} // namespace zv
