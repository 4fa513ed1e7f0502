// The per-user settings file: where it lies and what it holds.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "platform/registry.h"

using namespace vnt::registry;

namespace {

// Points the settings at a file of the test's own and back afterwards.
struct SettingsScope {
    QTemporaryDir dir;
    QString file = dir.path() + "/settings.ini";
    SettingsScope() { setSettingsFile(file); }
    ~SettingsScope() { setSettingsFile(QString()); }
};

} // namespace

TEST(Registry, SavedValueIsReadBackAndMissingOneGivesTheDefault)
{
    SettingsScope s;
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "");
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad", "/nirgends"), "/nirgends");
    SaveSetting("KORVANE", "Extras", "Datenbankpfad", "/daten/Korvane, alt/DB");
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "/daten/Korvane, alt/DB");
    // Another application's value with the same section and name stays apart.
    SaveSetting("ANDERE", "Extras", "Datenbankpfad", "/x");
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "/daten/Korvane, alt/DB");
    EXPECT_EQ(GetSetting("ANDERE", "Extras", "Datenbankpfad"), "/x");
}

TEST(Registry, HandWrittenFileIsUnderstood)
{
    // The demo installation and the user may write the file themselves.
    SettingsScope s;
    QFile f(s.file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Extras]\nDatenbankpfad=/home/u/Korvane/DB\n[ANDERE]\nExtras\\Datenbankpfad=/daten/Korvane, alt\n");
    f.close();
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "/home/u/Korvane/DB");
    EXPECT_EQ(GetSetting("ANDERE", "Extras", "Datenbankpfad"), "/daten/Korvane, alt");
}

TEST(Registry, EnvironmentNamesTheFileUnlessATestDoes)
{
    QTemporaryDir dir;
    const QByteArray before = qgetenv("VANTREL_SETTINGS");
    const QString envFile = dir.path() + "/env.ini";
    qputenv("VANTREL_SETTINGS", envFile.toLocal8Bit());
    EXPECT_EQ(settingsFile(), envFile);
    SaveSetting("KORVANE", "Extras", "Datenbankpfad", "/demo");
    EXPECT_TRUE(QFile::exists(envFile));
    {
        SettingsScope s;
        EXPECT_EQ(settingsFile(), s.file);
        EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "");
    }
    EXPECT_EQ(GetSetting("KORVANE", "Extras", "Datenbankpfad"), "/demo");
    qunsetenv("VANTREL_SETTINGS");
    EXPECT_TRUE(settingsFile().endsWith("/KORVANE/KORVANE.ini"));
    qputenv("VANTREL_SETTINGS", before);
}
