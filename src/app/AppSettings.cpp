#include "AppSettings.h"

#include "platform/SettingsStore.h"

namespace zv {

SettingsValues LoadSettings(const SettingsStore &store)
{
    const SettingsValues defaults;
    SettingsValues values;
    values.SkinPath = store.value(QStringLiteral("Skin"), QStringLiteral("SkinPath"), defaults.SkinPath);
    values.Delay = store.value(QStringLiteral("DiaShow"), QStringLiteral("Delay"), defaults.Delay);
    return values;
}

void SaveSettings(SettingsStore &store, const SettingsValues &values)
{
    store.setValue(QStringLiteral("Skin"), QStringLiteral("SkinPath"), values.SkinPath);
    store.setValue(QStringLiteral("DiaShow"), QStringLiteral("Delay"), values.Delay);
}

} // namespace zv
