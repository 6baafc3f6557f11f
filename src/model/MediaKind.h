#pragma once

#include <QString>
#include <QStringView>

namespace zv {

// The code doubles as the row icon number.
enum class MediaKind : quint8 { Video = 1, Bild = 2, Unbekannt = 3 };

// Text after the last point of a file name, lower case; empty without a point.
QString lowerExtension(QStringView fileName);
// Letter case does not matter, so a file written JPG is a picture.
MediaKind mediaKindForExtension(QStringView extension);
MediaKind mediaKindForFile(QStringView fileName);

// "Video", "Bild", "unbekannt": the Typ column and the row tooltip.
const QString &KindNames(MediaKind kind);

} // namespace zv
