// What the disk sees of the daily commands on the demo installation, with the program maximised
// on the screen it is given and its pages shown as a user sees them: a command that changes
// nothing commits nothing, whatever size the pages are laid out and shown at. The test runs on
// every screen the window system offers; ctest runs it once more with a 1366 x 768 and a
// 1920 x 1080 screen.
#include "DemoInstallation.h"
#include "FrameFixture.h"
#include "common/SyncCounter.h"

#include "pages/multiple/frmMVORGABEN.h"

#include <QAction>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <memory>

using namespace vnt;
using namespace vnt::test;

namespace {

// Lets the window system finish what a command left queued: the pages' showing, their resizing
// and the drawing that follows it.
void settle()
{
    for (int i = 0; i < 4; ++i) {
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// The main window on one screen: laid out at two thirds of it, then maximised.
struct ProgramOnScreen {
    frmMAIN frm;
    explicit ProgramOnScreen(QScreen *screen)
    {
        frm.setScreen(screen);
        const QRect room = screen->availableGeometry();
        frm.setGeometry(QRect(room.topLeft() + QPoint(20, 20), room.size() * 2 / 3));
        frm.showMaximized();
        settle();
    }
    ~ProgramOnScreen()
    {
        frm.setGEAENDERT(false);
        closePages();
    }
    void closePages()
    {
        frm.stbMAIN_PanelClick(15);
        settle();
    }
    void trigger(const char *menu)
    {
        QAction *a = frm.menuItem(QString::fromLatin1(menu));
        ASSERT_TRUE(a && a->isEnabled()) << menu;
        a->trigger();
        settle();
    }
    // A first run asks for the evaluation's comment.
    void mberechnen(bool first = false)
    {
        Boxes boxes;
        if (first)
            boxes.input(QStringLiteral("Vergleich"));
        boxes.modal([](QDialog &d) {
            static_cast<frmMVORGABEN &>(d).cmdOK()->click();
            return d.result();
        });
        trigger("mnuMBERECHNEN");
    }
    void normalAndMaximisedAgain()
    {
        frm.showNormal();
        settle();
        frm.showMaximized();
        settle();
    }
};

// The program on a fresh demo installation on one screen, started.
struct StartedOnScreen {
    DemoInstallation inst;
    std::unique_ptr<ProgramOnScreen> w;
    explicit StartedOnScreen(QScreen *screen, const char *active = nullptr)
    {
        if (!inst.ok)
            return;
        if (active)
            sql(inst.project(), QStringLiteral("UPDATE E1 SET AKT = (%1)").arg(QLatin1String(active)));
        w = std::make_unique<ProgramOnScreen>(screen);
    }
    bool start()
    {
        Boxes none;
        const bool started = w->frm.MDIForm_Load(inst.program());
        settle();
        w->frm.mnuAUSWERTEN_Click();
        return started;
    }
};

QString screenName(QScreen *screen)
{
    return QStringLiteral("screen %1x%2").arg(screen->size().width()).arg(screen->size().height());
}

} // namespace

// Commits are the syncs of the database file; `all` counts the journal's syncs as well.
TEST(UnchangedWrites, RecordCommandsThatChangeNothingCommitNothingOnEveryScreen)
{
    installSyncCounter();   // before the program opens its databases
    for (QScreen *screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screenName(screen).toStdString());
        StartedOnScreen p(screen, "ID = 1");
        ASSERT_TRUE(p.inst.ok) << p.inst.output.toStdString();
        ProgramOnScreen &w = *p.w;
        {
            SyncMeter startUp;
            ASSERT_TRUE(p.start());
            EXPECT_EQ(startUp.counted().database, 1) << "start-up";   // the archive's program mark
        }
        Boxes none;
        // The record's first showing and first evaluation store what later ones find again.
        w.trigger("mnuBERECHNEN");
        w.closePages();
        {
            SyncMeter again;
            w.trigger("mnuBERECHNEN");
            EXPECT_EQ(again.counted().all, 0) << "Berechnen of an unchanged record";
        }
        {
            SyncMeter resized;
            w.normalAndMaximisedAgain();
            EXPECT_EQ(resized.counted().all, 0) << "a record page shown normal and maximised again";
        }
        w.closePages();
        w.trigger("mnuNEUBERECHNEN");
        w.closePages();
        {
            SyncMeter again;
            w.trigger("mnuNEUBERECHNEN");
            EXPECT_EQ(again.counted().database, 2) << "Neuberechnen of an unchanged record: its mark set and cleared";
        }
        w.closePages();
        {
            SyncMeter save;
            ASSERT_TRUE(w.frm.mnuSPEICHERN_Click());
            EXPECT_EQ(save.counted().database, 0) << "Save";
        }
    }
}

TEST(UnchangedWrites, MultipleEvaluationThatChangesNothingCommitsNothingOnEveryScreen)
{
    installSyncCounter();
    for (QScreen *screen : QGuiApplication::screens()) {
        SCOPED_TRACE(screenName(screen).toStdString());
        StartedOnScreen p(screen);
        ASSERT_TRUE(p.inst.ok) << p.inst.output.toStdString();
        ASSERT_TRUE(p.start());
        ProgramOnScreen &w = *p.w;
        Boxes none;
        w.mberechnen(true);
        w.closePages();
        {
            SyncMeter again;
            w.mberechnen();
            EXPECT_EQ(again.counted().all, 0) << "MBerechnen again";
        }
        {
            SyncMeter resized;
            w.normalAndMaximisedAgain();
            EXPECT_EQ(resized.counted().all, 0) << "a multiple page shown normal and maximised again";
        }
    }
}
