// Runs every test of an executable inside one QApplication, offscreen, with instant sleeps
// and a German locale unless a test sets another (or VANTREL_TEST_LOCALE names one, such as
// en_US, to look at the windows under it).
//
// ctest names the folders a test reads (schema, golden drawings, build) in the environment. Run on
// its own, a test executable finds them itself: the schema beside the executable or in the
// source tree it was built from. When they are not there it says so and runs nothing, rather
// than letting hundreds of tests fail for one missing folder.
#include <gtest/gtest.h>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include "platform/fonts.h"
#include "platform/system.h"

#include <cstdio>

namespace {

// The first folder that holds `probe`, or empty.
QString firstHolding(const QStringList &folders, const QString &probe)
{
    for (const QString &f : folders)
        if (QFileInfo::exists(f + QLatin1Char('/') + probe))
            return QDir(f).absolutePath();
    return {};
}

// Sets an unset variable to the first folder that holds `probe`; false when none does and the
// tests need one.
bool provide(const char *variable, const QStringList &folders, const QString &probe, bool needed = true)
{
    if (qEnvironmentVariableIsSet(variable))
        return true;
    const QString found = firstHolding(folders, probe);
    if (found.isEmpty() && !needed)
        return true;
    if (found.isEmpty()) {
        std::fprintf(stderr, "%s: %s is not set, and no folder holding %s was found in:\n",
                     qPrintable(QCoreApplication::applicationName()), variable, qPrintable(probe));
        for (const QString &f : folders)
            std::fprintf(stderr, "  %s\n", qPrintable(QDir::cleanPath(f)));
        std::fprintf(stderr, "Set %s to that folder of the checkout, or run the tests through ctest.\n", variable);
        return false;
    }
    qputenv(variable, QFile::encodeName(found));
    return true;
}

} // namespace

// Read by the undefined-behaviour sanitizer when the tests are built with it: a report stops
// the test binary, so the test fails, rather than scrolling past; the variable UBSAN_OPTIONS
// overrides it.
extern "C" __attribute__((visibility("default"), used)) const char *__ubsan_default_options()
{
    return "halt_on_error=1:print_stacktrace=1:suppressions=" VANTREL_SOURCE_DIR "/tests/sanitizer/ubsan.supp";
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const QString here = QCoreApplication::applicationDirPath();
    const QString source = QStringLiteral(VANTREL_SOURCE_DIR);
    const bool found = provide("VANTREL_SCHEMA_DIR", {here + QStringLiteral("/schema"), source + QStringLiteral("/schema")},
                               QStringLiteral("project.sql"))
                       & provide("VANTREL_GOLDEN_DIR", {source + QStringLiteral("/tests/golden")}, QStringLiteral("."), false)
                       & provide("VANTREL_BUILD_DIR", {here + QStringLiteral("/.."), QStringLiteral(VANTREL_BINARY_DIR)},
                                 QStringLiteral("CMakeCache.txt"));
    if (!found)
        return 2;
    // No test writes the user's own settings, whatever it forgets to set.
    QTemporaryDir settings;
    if (!qEnvironmentVariableIsSet("VANTREL_SETTINGS"))
        qputenv("VANTREL_SETTINGS", QFile::encodeName(settings.filePath(QStringLiteral("KORVANE.ini"))));

    vnt::fonts::setWindowFont();
    vnt::sys::setInstantSleep(true);
    const QString locale = qEnvironmentVariable("VANTREL_TEST_LOCALE");
    vnt::sys::setLocale(locale.isEmpty() ? QLocale(QLocale::German, QLocale::Germany) : QLocale(locale));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
