// The evaluate commands: the recalculation mark around the evaluation, the pages they load
// and show, and the window's state afterwards.
#include "test_pagecmds_support.h"

#include "frame/StatusPanel.h"
#include "platform/errors.h"

#include <QAction>
#include <QProgressBar>

using namespace vnt;
using namespace vnt::test;

namespace {

bool panelsShown(frmMAIN &f)
{
    for (int i = 10; i <= 15; ++i)
        if (f.panel(i)->isHidden() || f.panel(i)->bevel() != StatusPanel::Raised)
            return false;
    return true;
}

bool progressHidden(frmMAIN &f) { return f.startWindow()->pgbBERECHNEN()->isHidden() && f.progress() == 0; }

} // namespace

TEST(Evaluate, NeuberechnenMarksTheRecordAroundASuccessfulEvaluationAndShowsItsPages)
{
    PageWindow w("INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);");
    int loads = 0;
    QString markSeen;
    FactoryScope scope(standInPages({"mdiSEITE1", "mdiSEITE2"}, nullptr, &loads), {}, [&](RunContext &) {
        markSeen = w.db("SELECT BONEU FROM A1 WHERE ID=4");
        return true;
    });
    Boxes none;
    w.frm->menuItem("mnuNEUBERECHNEN")->trigger();

    EXPECT_EQ(markSeen, "1");   // the evaluation runs on a record marked for recalculation
    EXPECT_EQ(w.db("SELECT COUNT(*) FROM A1 WHERE ID=4"), "1");
    EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=4"), "0");
    EXPECT_EQ(w.current(), "mdiSEITE1");
    EXPECT_TRUE(w.window("mdiSEITE1")->windowState() & Qt::WindowMaximized);
    ASSERT_TRUE(w.window("mdiSEITE2"));
    EXPECT_TRUE(w.window("mdiSEITE2")->isHidden());
    EXPECT_TRUE(panelsShown(*w.frm));
    EXPECT_TRUE(progressHidden(*w.frm));
    EXPECT_TRUE(w.frm->GEAENDERT());
    EXPECT_FALSE(w.frm->menuItem("mnuDATEI")->isEnabled());
    EXPECT_TRUE(w.frm->menuItem("mnuEXTRAS")->isEnabled());

    // A page still loaded from the earlier run shows what was computed then: it makes way for
    // one loaded anew, and no second page stays beside it.
    w.frm->menuItem("mnuNEUBERECHNEN")->trigger();
    EXPECT_EQ(loads, 2);
    EXPECT_EQ(w.windows().count("mdiSEITE1"), 1);
    EXPECT_EQ(w.windows().count("mdiSEITE2"), 1);
    EXPECT_EQ(w.current(), "mdiSEITE1");
}

TEST(Evaluate, AFailedEvaluationLoadsNoPageAndKeepsTheMark)
{
    PageWindow w("INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);");
    int loads = 0;
    FactoryScope scope(standInPages({"mdiSEITE1"}, nullptr, &loads), {}, [](RunContext &) { return false; });
    Boxes none;
    w.frm->menuItem("mnuNEUBERECHNEN")->trigger();

    EXPECT_EQ(loads, 0);
    EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=4"), "1");
    EXPECT_TRUE(w.frm->startWindow()->pgbBERECHNEN()->isHidden());
    EXPECT_FALSE(w.frm->GEAENDERT());
    EXPECT_TRUE(w.frm->panel(10)->isHidden());
    EXPECT_FALSE(sys::hourglass());

    w.frm->mnuAUSWERTEN_Click();
    EXPECT_FALSE(w.frm->menuItem("mnuBERECHNEN")->isEnabled());
    EXPECT_TRUE(w.frm->menuItem("mnuNEUBERECHNEN")->isEnabled());
}

// Replacing the mark is one unit: when the new row cannot be added after the old one was
// deleted, the record keeps its old row, whether the user gives the command up or goes on.
TEST(Evaluate, NeuberechnenThatCannotAddTheMarkKeepsTheRecordsRow)
{
    for (const int answer : {ui::vbCancel, ui::vbOK}) {
        SCOPED_TRACE(answer);
        PageWindow w("INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);"
                     "CREATE TRIGGER no_new_mark BEFORE INSERT ON A1 BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
        bool evaluated = false;
        FactoryScope scope(standInPages({"mdiSEITE1", "mdiSEITE2"}, nullptr), {},
                           [&](RunContext &) { return evaluated = true; });
        Boxes boxes;
        boxes.answer(answer);
        w.frm->menuItem("mnuNEUBERECHNEN")->trigger();
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].title, "&Neuberechnen");
        EXPECT_EQ(evaluated, answer == ui::vbOK);
        EXPECT_EQ(w.db("SELECT COUNT(*) || '/' || BONEU FROM A1 WHERE ID=4"), "1/0");
        EXPECT_FALSE(sys::hourglass());
    }
}

TEST(Evaluate, NeuberechnenWithoutAnActiveRecordLeavesTheMultipleEvaluationsMark)
{
    PageWindow w("INSERT INTO E1 VALUES (4,'B1','',0);INSERT INTO A1 VALUES (0,0);");
    bool evaluated = false;
    FactoryScope scope(standInPages({"mdiSEITE1"}, nullptr), {}, [&](RunContext &) { return evaluated = true; });
    Boxes boxes;
    boxes.answer(ui::vbOK);
    w.frm->menuItem("mnuNEUBERECHNEN")->trigger();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "&Neuberechnen");
    EXPECT_FALSE(evaluated);
    EXPECT_TRUE(w.frm->startWindow()->pgbBERECHNEN()->isHidden());
    EXPECT_EQ(w.db("SELECT COUNT(*) || '/' || BONEU FROM A1 WHERE ID=0"), "1/0");
}

TEST(Evaluate, BerechnenShowsTheStoredResultsAndAFailedLoadReachesTheCommandsBox)
{
    {
        PageWindow w("INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);");
        FactoryScope scope(standInPages({"mdiSEITE1", "mdiSEITE2"}, nullptr));
        Boxes none;
        w.frm->mnuAUSWERTEN_Click();
        ASSERT_TRUE(w.frm->menuItem("mnuBERECHNEN")->isEnabled());
        w.frm->menuItem("mnuBERECHNEN")->trigger();
        EXPECT_EQ(w.current(), "mdiSEITE1");
        EXPECT_TRUE(panelsShown(*w.frm));
        EXPECT_TRUE(progressHidden(*w.frm));
        EXPECT_TRUE(w.frm->GEAENDERT());
        EXPECT_FALSE(w.frm->menuItem("mnuDATEI")->isEnabled());
    }
    {
        PageWindow w("INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);");
        FactoryScope scope([](RunContext &, QWidget *) -> QWidget * { vnt::raise(3021, "Kein aktueller Datensatz."); });
        Boxes boxes;
        boxes.answer(ui::vbCancel);
        w.frm->menuItem("mnuBERECHNEN")->trigger();
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].title, "&Berechnen");
        EXPECT_EQ(boxes.records()[0].text, "VB-Error: 3021\nKein aktueller Datensatz.");
        EXPECT_FALSE(sys::hourglass());
        EXPECT_FALSE(w.frm->GEAENDERT());
        EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
    }
}

TEST(Evaluate, MBerechnenAsksForTheCommentOnceAndMarksTheMultipleEvaluation)
{
    const char *records = "INSERT INTO E1 VALUES (1,'B1','',1);INSERT INTO E1 VALUES (2,'B2','',1);";
    struct Case {
        QLocale::Language language;
        const char *answer, *stored, *title, *prompt;
    } cases[] = {{QLocale::German, "Los 3", "Los 3", "Mehrfachauswertung", "Kommentar: "},
                 {QLocale::German, "", "", "Mehrfachauswertung", "Kommentar: "},   // also a cancelled box
                 {QLocale::English, "Lot 3", "Lot 3", "Mulitple Calculation", "Comment: "}};
    for (const Case &c : cases) {
        LocaleScope locale(c.language);
        PageWindow w(records);
        FactoryScope scope({}, standInPages({"mdiMSEITE1", "mdiMSEITE2"}, nullptr));
        Boxes none;
        w.frm->mnuAUSWERTEN_Click();
        ASSERT_TRUE(w.frm->menuItem("mnuMBERECHNEN")->isEnabled());
        {
            Boxes boxes;
            boxes.input(c.answer);
            w.frm->menuItem("mnuMBERECHNEN")->trigger();
            ASSERT_EQ(boxes.records().size(), 1u);
            EXPECT_EQ(boxes.records()[0].title, c.title);
            EXPECT_EQ(boxes.records()[0].text, c.prompt);
        }
        EXPECT_EQ(w.db("SELECT COUNT(*) || '/' || IDM || '/' || KOM FROM M1"), QString("1/1/") + c.stored);
        EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=0"), "0");
        EXPECT_EQ(w.current(), "mdiMSEITE1");
        EXPECT_TRUE(w.frm->panel(14)->isHidden()) << "shown before the page, panel 14 is hidden by it";
        EXPECT_TRUE(w.window("mdiMSEITE2")->isHidden());
        EXPECT_TRUE(progressHidden(*w.frm));
        EXPECT_FALSE(w.frm->menuItem("mnuDATEI")->isEnabled());
        EXPECT_FALSE(w.frm->menuItem("mnuEXTRAS")->isEnabled());
        EXPECT_TRUE(w.frm->GEAENDERT());

        w.frm->menuItem("mnuMBERECHNEN")->trigger();   // the row exists: nothing is asked
        EXPECT_EQ(w.db("SELECT COUNT(*) FROM M1"), "1");
    }
}

// A command always finds its page: a test that empties a factory gets the program's own back.
TEST(Evaluate, AnEmptyPageFactoryIsTheProgramsOwnPage)
{
    FactoryScope scope({}, {});
    EXPECT_TRUE(setFirstPageFactory({}));
    EXPECT_TRUE(setMultiplePageFactory({}));
}

TEST(Evaluate, AFailedPageLoadEndsEachCommandWithTheWindowAsBefore)
{
    struct Case { const char *menu, *caption, *records; int markedId; } cases[] = {
        {"mnuBERECHNEN", "&Berechnen", "INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);", -1},
        {"mnuNEUBERECHNEN", "&Neuberechnen", "INSERT INTO E1 VALUES (4,'B1','',1);INSERT INTO A1 VALUES (4,0);", 4},
        {"mnuMBERECHNEN", "&MBerechnen",
         "INSERT INTO E1 VALUES (1,'B1','',1);INSERT INTO E1 VALUES (2,'B2','',1);INSERT INTO M1 VALUES (1,'k',0);", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.menu);
        PageWindow w(c.records);
        const PageFactory failing = [](RunContext &, QWidget *) -> QWidget * { vnt::raise(3021, "Kein aktueller Datensatz."); };
        FactoryScope scope(failing, failing, [](RunContext &) { return true; });
        Boxes none;
        w.frm->mnuAUSWERTEN_Click();
        ASSERT_TRUE(w.frm->menuItem(c.menu)->isEnabled());
        {
            Boxes boxes;
            boxes.answer(ui::vbOK);   // OK: the command must not go on without its page
            w.frm->menuItem(c.menu)->trigger();
            ASSERT_EQ(boxes.records().size(), 1u);
            EXPECT_EQ(boxes.records()[0].title, c.caption);
        }
        EXPECT_EQ(w.windows(), QStringList{"mdiAUTOSTART"});
        EXPECT_TRUE(w.frm->panel(10)->isHidden());
        EXPECT_TRUE(w.frm->panel(15)->isHidden());
        EXPECT_TRUE(progressHidden(*w.frm));
        EXPECT_FALSE(w.frm->GEAENDERT());
        EXPECT_TRUE(w.frm->menuItem("mnuDATEI")->isEnabled());
        EXPECT_TRUE(w.frm->menuItem("mnuEXTRAS")->isEnabled());
        EXPECT_FALSE(sys::hourglass());
        if (c.markedId >= 0)   // no page was shown: the record still needs its pages made
            EXPECT_EQ(w.db(QString("SELECT BONEU FROM A1 WHERE ID=%1").arg(c.markedId)), "1");
        else
            EXPECT_EQ(w.db("SELECT BONEU FROM A1 WHERE ID=4"), "0");
    }
}
