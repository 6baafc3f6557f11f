#pragma once

#include <QString>

#include <memory>

namespace zv {

// Per-user settings addressed by application, section and key; values are text.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    virtual QString value(const QString &section, const QString &key, const QString &fallback) const = 0;
    virtual void setValue(const QString &section, const QString &key, const QString &value) = 0;
};

// The real store: QSettings under the given application name (the registry on Windows, an INI
// file under ~/.config on Linux). With a file path, that INI file is used instead (tests).
std::unique_ptr<SettingsStore> makeUserSettings(const QString &application);
std::unique_ptr<SettingsStore> makeFileSettings(const QString &iniPath);

} // namespace zv
