#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <QString>

namespace zv {

class Drives;
struct DriveInfo;

// How full the album's drive is, as the popup menu shows it: the pie, the two texts and the
// colours of their legend swatches.
struct DriveChart {
    QImage pie; // free part green from 3 o'clock counter-clockwise, the rest red
    QString freeText; // "frei:  12 GB"
    QString usedText; // "belegt:  3 GB"
    QColor freeColour;
    QColor usedColour;
    bool known = false; // false: grey disc and "unbekannt" texts
};

// Bytes as the chart's texts show them: Bytes below 1024, KB below 1048576, MB up to and
// including 1073741824, GB above; whole numbers, halves to even.
QString driveSizeText(qint64 bytes);

inline constexpr QSize driveChartSize{90, 90};

// The pie has pixelRatio times the pixels of box (a screen's device pixel ratio) and smooth edges.
DriveChart drawInfo(const DriveInfo &drive, QSize box = driveChartSize, qreal pixelRatio = 1);
// Asks the drives afresh on every call: the figures change while the program runs.
DriveChart drawInfo(const Drives &drives, const QString &programFolder, QSize box = driveChartSize,
                    qreal pixelRatio = 1);

} // namespace zv
