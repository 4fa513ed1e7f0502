// Starting the frame program and opening documents, with and without a stand-in.
#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "platform/shell.h"

using namespace vnt::shell;

TEST(Shell, MissingProgramsAndDocumentsAreNotStarted)
{
    QTemporaryDir tmp;
    EXPECT_FALSE(startDetached(tmp.path() + "/KORVANE"));
    EXPECT_FALSE(openDocument(tmp.path() + "/VANT.doc"));
    // A file that cannot be run is no program either.
    QFile f(tmp.path() + "/KORVANE");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(startDetached(f.fileName()));
}

TEST(Shell, StandInsSeeWhatWouldHaveBeenStarted)
{
    QStringList started, opened;
    setStarter([&](const QString &p) { started << p; return true; });
    setOpener([&](const QString &p) { opened << p; return true; });
    EXPECT_TRUE(startDetached("/opt/korvane/KORVANE"));
    EXPECT_TRUE(openDocument("/opt/korvane/VANT/VANT.hlp"));
    setStarter({});
    setOpener({});
    EXPECT_EQ(started, QStringList({"/opt/korvane/KORVANE"}));
    EXPECT_EQ(opened, QStringList({"/opt/korvane/VANT/VANT.hlp"}));
    EXPECT_FALSE(startDetached("/opt/korvane/KORVANE"));   // the real starter again
}
