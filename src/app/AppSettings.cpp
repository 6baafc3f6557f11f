#include "AppSettings.h"

#include "platform/SettingsStore.h"

namespace zv {

SettingsValues LoadSettings(const SettingsStore &store)
{
    const SettingsValues defaults;
    SettingsValues values;
    values.SkinPath = store.value(kSkinSection, kSkinPathKey, defaults.SkinPath);
    values.Delay = store.value(kDiaShowSection, kDelayKey, defaults.Delay);
    return values;
}

void SaveSettings(SettingsStore &store, const SettingsValues &values)
{
    store.setValue(kSkinSection, kSkinPathKey, values.SkinPath);
    store.setValue(kDiaShowSection, kDelayKey, values.Delay);
}

} // namespace zv
