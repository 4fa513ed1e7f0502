// System calls: locale facts the program takes its language and decimal sign from, the
// counted wait pointer, sleeping and the screen picture.
#include "common/TestSupport.h"
#include "platform/system.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QTimer>
#include <pwd.h>
#include <unistd.h>

using namespace vnt;
using vnt::test::LocaleScope;

TEST(System, LocaleFacts)
{
    {
        LocaleScope de(QLocale::German);
        EXPECT_EQ(sys::languageCode(), 3);
        EXPECT_EQ(sys::decimalSign(), ",");
        EXPECT_EQ(sys::shortDateFormat(), "dd.MM.yyyy");
    }
    LocaleScope en(QLocale::English);
    EXPECT_EQ(sys::languageCode(), 1);
    EXPECT_EQ(sys::decimalSign(), ".");
    EXPECT_TRUE(sys::shortDateFormat().contains("yyyy"));
    // A locale whose short date names the month in words (the C locale: "d MMM yyyy") shows
    // the digits the input labels ask for, which read back under any locale.
    sys::setLocale(QLocale::c());
    EXPECT_EQ(sys::shortDateFormat(), "dd.MM.yyyy");
    sys::setLocale(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(sys::shortDateFormat(), "dd/MM/yyyy");
    sys::setLocale(QLocale(QLocale::German, QLocale::Austria));
    EXPECT_EQ(sys::languageCode(), 3);  // any German-speaking locale
    sys::setLocale(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(sys::languageCode(), 3);  // and any language without texts of its own
}

TEST(System, UserNameIsTheLoginName)
{
    EXPECT_EQ(sys::userName(), QString::fromLocal8Bit(getpwuid(getuid())->pw_name));
}

TEST(System, HourglassIsCounted)
{
    sys::setHourglass(true);
    sys::setHourglass(true);
    sys::setHourglass(false);
    EXPECT_TRUE(sys::hourglass());
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    sys::setHourglass(false);
    EXPECT_FALSE(sys::hourglass());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    sys::setHourglass(false);  // one too many must not underflow
    sys::setHourglass(true);
    EXPECT_TRUE(sys::hourglass());
    sys::setHourglass(false);
}

TEST(System, InstantSleep)
{
    QElapsedTimer t;
    t.start();
    sys::Sleep(5000);
    EXPECT_LT(t.elapsed(), 1000);
}

TEST(System, DoEventsRunsPendingWork)
{
    bool fired = false;
    QTimer::singleShot(0, [&] { fired = true; });
    sys::DoEvents();
    EXPECT_TRUE(fired);
}

TEST(System, PrintScreenPutsThePictureOnTheClipboard)
{
    QLineEdit w;
    w.resize(120, 30);
    sys::printScreen(&w);
    const QImage img = QGuiApplication::clipboard()->image();
    EXPECT_EQ(img.size(), w.grab().size());
}
