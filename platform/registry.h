// The per-user registry value, stood in for by QSettings (organisation "KORVANE").
#pragma once

#include <QString>

namespace vnt::registry {

QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def = {});
void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value);
// The INI file behind the settings (tests point it at a folder of their own).
void setSettingsFile(const QString &iniPath);
QString settingsFile();

} // namespace vnt::registry
