#pragma once

#include <QString>

namespace zv {

// Every section and key the program reads or writes in its settings, so that no two places
// spell one differently.
inline constexpr char kApplicationName[] = "zidoVerev";

// The skin's folder name and the slide show's delay, kept for the whole run.
inline const QString kSkinSection = QStringLiteral("Skin");
inline const QString kSkinPathKey = QStringLiteral("SkinPath");
inline const QString kDiaShowSection = QStringLiteral("DiaShow");
inline const QString kDelayKey = QStringLiteral("Delay");

// The next import number and whether numbering is ticked.
inline const QString kImportSection = QStringLiteral("Import");
inline const QString kNumberKey = QStringLiteral("Number");
inline const QString kChkStateKey = QStringLiteral("chkState");
// Whether an import writes each copy's camera moment into an empty Datum ("1"/"0").
inline const QString kCameraDateKey = QStringLiteral("CameraDate");

// The folder each of the import browser and the export dialog was last left at, and the export
// dialog's size ("Width", "Height" in pixels).
inline const QString kLastFolderKey = QStringLiteral("LastFolder");
inline const QString kExportSection = QStringLiteral("Export");
inline const QString kWidthKey = QStringLiteral("Width");
inline const QString kHeightKey = QStringLiteral("Height");

} // namespace zv
