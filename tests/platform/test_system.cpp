// System calls: locale facts the program takes its language and decimal sign from, the
// counted wait pointer, sleeping and the screen picture.
#include "common/TestSupport.h"
#include "platform/system.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
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

namespace {

// A progress bar that counts how often it was painted.
class CountedBar : public QProgressBar {
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *e) override
    {
        ++paints;
        QProgressBar::paintEvent(e);
    }
};

} // namespace

// A 10,000-record run that lets events run after every record: the bar is still repainted
// while the run goes on, but the window system is asked only every few tens of milliseconds.
TEST(System, ThrottledEventsStillRepaintALongRun)
{
    CountedBar bar;
    bar.setRange(0, 100);
    bar.resize(200, 20);
    bar.show();
    QCoreApplication::processEvents();
    const int paintsBefore = bar.paints;
    int passes = 0;   // how often the event loop really ran: a zero timer fires once a pass
    QTimer ticker;
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++passes; });
    ticker.start();
    QElapsedTimer run;
    run.start();
    for (int record = 0; record < 10000; ++record) {
        QElapsedTimer work;   // each record takes about 30 microseconds
        work.start();
        while (work.nsecsElapsed() < 30000) {
        }
        bar.setValue(record / 100);
        sys::DoEventsThrottled();
    }
    const qint64 ms = run.elapsed();
    ticker.stop();
    EXPECT_GE(ms, 300);
    // The bar was repainted during the run, about once per interval (ms / 30 times), and the
    // loop ran a few dozen times instead of 10,000.
    EXPECT_GE(bar.paints - paintsBefore, 4) << ms << " ms";
    EXPECT_GE(passes, 4);
    EXPECT_LE(passes, ms / sys::kEventsIntervalMs + 5) << ms << " ms";
}

TEST(System, PrintScreenPutsThePictureOnTheClipboard)
{
    QLineEdit w;
    w.resize(120, 30);
    sys::printScreen(&w);
    const QImage img = QGuiApplication::clipboard()->image();
    EXPECT_EQ(img.size(), w.grab().size());
}
