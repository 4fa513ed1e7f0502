// Runs every test of an executable inside one QApplication, offscreen, with instant sleeps
// and a German locale unless a test sets another.
#include <gtest/gtest.h>
#include <QApplication>
#include "platform/system.h"

namespace {

// ctest sets these; run on its own, the executable takes the folders of its build.
void defaultEnvironment(const char *name, const char *value)
{
    if (qgetenv(name).isEmpty())
        qputenv(name, value);
}

} // namespace

int main(int argc, char **argv)
{
    defaultEnvironment("QT_QPA_PLATFORM", "offscreen");
    defaultEnvironment("VANTREL_TEST_FIXTURES", VANTREL_DEFAULT_FIXTURES);
    defaultEnvironment("VANTREL_SCHEMA_DIR", VANTREL_DEFAULT_SCHEMA_DIR);
    defaultEnvironment("VANTREL_BUILD_DIR", VANTREL_DEFAULT_BUILD_DIR);
    QApplication app(argc, argv);
    vnt::sys::setInstantSleep(true);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
