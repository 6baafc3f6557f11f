#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace zv {

inline const QString kSkinPreviewFile = QStringLiteral("Hintergrund.jpg");

// The skin's background picture in skinFolder, fitted into box without distortion (small
// pictures are enlarged too). A null image when the skin has none or it cannot be decoded.
QImage LoadSkinPreview(const QString &skinFolder, const QSize &box);

} // namespace zv
