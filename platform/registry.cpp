// The per-user settings kept in one INI file. For the family's own application "KORVANE" a
// value lives at [section] key; any other application's values are kept under its name.
// The file is the one set by setSettingsFile, else the one named by VANTREL_SETTINGS, else
// <user config folder>/KORVANE/KORVANE.ini.
#include "registry.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>

namespace vnt::registry {

namespace {

const QString kOrganisation = QStringLiteral("KORVANE");

QString &explicitFile()
{
    static QString file;
    return file;
}

QString keyOf(const QString &app, const QString &section, const QString &key)
{
    const QString inner = section + QLatin1Char('/') + key;
    return app.compare(kOrganisation, Qt::CaseInsensitive) == 0 ? inner : app + QLatin1Char('/') + inner;
}

// The value as it stands in the file, for a hand-written line that QSettings splits at its
// commas ("D:/Daten, alt" would come back without its space).
QString rawValue(const QString &file, const QString &fullKey)
{
    const int slash = fullKey.indexOf(QLatin1Char('/'));
    const QString group = fullKey.left(slash);
    QString key = fullKey.mid(slash + 1);
    key.replace(QLatin1Char('/'), QLatin1Char('\\'));
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QString section;
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            section = line.mid(1, line.size() - 2).trimmed();
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq > 0 && section.compare(group, Qt::CaseInsensitive) == 0
            && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return {};
}

} // namespace

void setSettingsFile(const QString &iniPath)
{
    explicitFile() = iniPath;
}

QString settingsFile()
{
    if (!explicitFile().isEmpty())
        return explicitFile();
    const QString fromEnv = qEnvironmentVariable("VANTREL_SETTINGS");
    if (!fromEnv.isEmpty())
        return fromEnv;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/')
        + kOrganisation + QLatin1Char('/') + kOrganisation + QStringLiteral(".ini");
}

QString GetSetting(const QString &app, const QString &section, const QString &key, const QString &def)
{
    const QString file = settingsFile();
    const QString fullKey = keyOf(app, section, key);
    QSettings s(file, QSettings::IniFormat);
    const QVariant v = s.value(fullKey);
    if (!v.isValid())
        return def;
    if (v.userType() == QMetaType::QStringList) {
        const QString raw = rawValue(file, fullKey);
        return raw.isEmpty() ? v.toStringList().join(QStringLiteral(", ")) : raw;
    }
    return v.toString();
}

void SaveSetting(const QString &app, const QString &section, const QString &key, const QString &value)
{
    QSettings s(settingsFile(), QSettings::IniFormat);
    s.setValue(keyOf(app, section, key), value);
    s.sync();
}

} // namespace vnt::registry
