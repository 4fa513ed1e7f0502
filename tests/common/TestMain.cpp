// Runs every test of an executable inside one QApplication, offscreen, with instant sleeps
// and a German locale unless a test sets another.
#include <gtest/gtest.h>
#include <QApplication>
#include "platform/fonts.h"
#include "platform/system.h"

namespace {

void setDefault(const char *name, const char *value)
{
    if (qEnvironmentVariableIsEmpty(name))
        qputenv(name, value);
}

} // namespace

int main(int argc, char **argv)
{
    // ctest sets these; an executable started on its own finds the checkout's folders.
    setDefault("VANTREL_SCHEMA_DIR", VANTREL_DEFAULT_SCHEMA_DIR);
    setDefault("VANTREL_TEST_FIXTURES", VANTREL_DEFAULT_TEST_FIXTURES);
    setDefault("VANTREL_BUILD_DIR", VANTREL_DEFAULT_BUILD_DIR);
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    vnt::fonts::setWindowFont();
    vnt::sys::setInstantSleep(true);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
