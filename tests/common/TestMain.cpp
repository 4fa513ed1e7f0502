// Runs every test of an executable inside one QApplication, offscreen, with instant sleeps
// and a German locale unless a test sets another.
#include <gtest/gtest.h>
#include <QApplication>
#include "platform/fonts.h"
#include "platform/system.h"

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    vnt::fonts::setWindowFont();
    vnt::sys::setInstantSleep(true);
    vnt::sys::setLocale(QLocale(QLocale::German, QLocale::Germany));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
