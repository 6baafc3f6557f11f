#include "SettingsStore.h"

#include <QSettings>

namespace zv {
namespace {

class QSettingsStore final : public SettingsStore {
public:
    explicit QSettingsStore(std::unique_ptr<QSettings> settings)
        : m_settings(std::move(settings))
    { }

    QString value(const QString &section, const QString &key, const QString &fallback) const override
    {
        return m_settings->value(section + QLatin1Char('/') + key, fallback).toString();
    }

    void setValue(const QString &section, const QString &key, const QString &value) override
    {
        m_settings->setValue(section + QLatin1Char('/') + key, value);
        m_settings->sync(); // survive a crash or a kill right after a change
    }

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace

std::unique_ptr<SettingsStore> makeUserSettings(const QString &application)
{
    return std::make_unique<QSettingsStore>(
        std::make_unique<QSettings>(QSettings::UserScope, application, application));
}

std::unique_ptr<SettingsStore> makeFileSettings(const QString &iniPath)
{
    return std::make_unique<QSettingsStore>(std::make_unique<QSettings>(iniPath, QSettings::IniFormat));
}

} // namespace zv
