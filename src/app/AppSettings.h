#pragma once

#include "model/SettingsKeys.h"

#include <QString>

namespace zv {

class SettingsStore;

// The two preferences the program keeps in memory for its whole run, as text.
struct SettingsValues {
    QString SkinPath = QStringLiteral("Main");
    QString Delay = QStringLiteral("3000");
};

SettingsValues LoadSettings(const SettingsStore &store);
// Unconditional: both values, skin first.
void SaveSettings(SettingsStore &store, const SettingsValues &values);

} // namespace zv
