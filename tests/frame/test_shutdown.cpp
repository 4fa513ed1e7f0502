// Save, compaction and the end of the run: the shutdown matrix, the compaction offer and its
// report, and the mended failures that must not lose the working database.
#include "FrameFixture.h"
#include "frame/FrameRules.h"
#include "platform/BusyScope.h"

#include <QCoreApplication>

#include <QAction>

using namespace vnt;
using namespace vnt::test;

namespace {

enum class End { Close, Quit, CloseBox, Session };

// A started program whose working database holds a record the project database lacks.
struct StartedRun {
    Installation inst;
    frmMAIN frm;
    explicit StartedRun(bool changed)
    {
        inst.makeFrameProgram();
        Boxes none;
        EXPECT_TRUE(frm.MDIForm_Load(inst.program));
        if (changed) {
            frm.cnnX()->Execute(QStringLiteral("INSERT INTO E1 VALUES (7,'NEU',NULL,1);"));
            frm.setGEAENDERT(true);
        }
    }
    bool projectHasChange() const { return scalar(inst.projectDb(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")) == QLatin1String("NEU"); }
};

} // namespace

TEST(Shutdown, Matrix)
{
    const struct {
        End end; bool changed; int answer;
        bool asked, saved, frameStarted, ended;
    } cases[] = {
        {End::Close, false, 0, false, false, true, true},
        {End::Quit, false, 0, false, false, false, true},
        {End::CloseBox, false, 0, false, false, true, true},
        {End::Close, true, ui::vbYes, true, true, true, true},
        {End::Close, true, ui::vbNo, true, false, true, true},
        {End::Quit, true, ui::vbYes, true, true, false, true},
        {End::Quit, true, ui::vbNo, true, false, false, true},
        {End::Quit, true, ui::vbCancel, true, false, false, false},
        {End::CloseBox, true, ui::vbYes, true, true, true, true},
        {End::CloseBox, true, ui::vbNo, true, false, true, true},
        {End::CloseBox, true, ui::vbCancel, true, false, false, false},
        {End::Session, true, 0, false, false, false, true},
    };
    int row = 0;
    for (const auto &c : cases) {
        SCOPED_TRACE(row++);
        StartedRun run(c.changed);
        Boxes boxes;
        if (c.answer)
            boxes.answer(c.answer);
        switch (c.end) {
        case End::Close: run.frm.menuItem(QStringLiteral("mnuSCHLIESSEN"))->trigger(); break;
        case End::Quit: run.frm.menuItem(QStringLiteral("mnuBEENDEN"))->trigger(); break;
        case End::CloseBox: run.frm.close(); break;
        case End::Session: run.frm.endRun(2); break;
        }
        EXPECT_EQ(!boxes.records().empty(), c.asked);
        if (c.asked) {
            EXPECT_EQ(boxes.records()[0].text, QString::fromUtf8("Sollen die Änderungen in Projekt Demo gespeichert werden?"));
            EXPECT_EQ(boxes.records()[0].title, QStringLiteral("&Beenden"));
            EXPECT_EQ(boxes.records()[0].style, ui::vbYesNoCancel | ui::vbQuestion);
        }
        EXPECT_EQ(run.projectHasChange(), c.saved);
        EXPECT_EQ(recorder().started, c.frameStarted ? QStringList{run.inst.frameProgram()} : QStringList{});
        EXPECT_EQ(run.frm.ended(), c.ended);
        EXPECT_EQ(run.inst.prog(), c.ended ? QStringLiteral("KORVANE") : QStringLiteral("VANT"));
        EXPECT_EQ(QFile::exists(run.inst.working()), !c.ended);
        EXPECT_EQ(run.frm.isVisible(), !c.ended);
    }
}

TEST(Shutdown, CancelledCloseStillReturnsToTheFrameProgramWhenTheSessionEnds)
{
    StartedRun run(true);
    Boxes boxes;
    boxes.answer(ui::vbCancel);
    run.frm.mnuSCHLIESSEN_Click();
    EXPECT_FALSE(run.frm.ended());
    EXPECT_TRUE(run.frm.RAHMENPROGRAMM());
    EXPECT_TRUE(recorder().started.isEmpty());
    run.frm.endRun(2);
    EXPECT_TRUE(run.frm.ended());
    EXPECT_EQ(recorder().started, QStringList{run.inst.frameProgram()});
}

TEST(Shutdown, MissingFrameProgramIsNotReported)
{
    StartedRun run(false);
    QFile::remove(run.inst.frameProgram());
    Boxes boxes;
    run.frm.mnuSCHLIESSEN_Click();
    EXPECT_TRUE(run.frm.ended());
    EXPECT_TRUE(recorder().started.isEmpty());
}

TEST(Shutdown, DevelopmentModeEndWritesNothingIntoTheUserTable)
{
    Installation inst(QStringLiteral("SOURCE/VANT"));
    const QString parent = QFileInfo(inst.program).path();
    QDir().mkpath(parent + QStringLiteral("/TE0000.00"));
    sql(parent + QStringLiteral("/TE0000.00/VANT.mdb"), Installation::kProjectSchema);
    Boxes boxes;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    const QString working = frm.XMDBPFAD();
    frm.mnuBEENDEN_Click();
    EXPECT_TRUE(frm.ended());
    EXPECT_EQ(inst.prog(), QStringLiteral("KORVANE"));
    EXPECT_FALSE(QFile::exists(working));
}

namespace {
// Grows the working database past 10 MB with pages that a compaction gives back.
void padWorkingDatabase(frmMAIN &frm, int bytes)
{
    frm.cnnX()->Execute(QStringLiteral("CREATE TABLE PAD (X BLOB); INSERT INTO PAD VALUES (zeroblob(%1)); DELETE FROM PAD;").arg(bytes));
}
} // namespace

TEST(Save, SmallDatabaseIsCopiedBackWithoutOffer)
{
    StartedRun run(true);
    Boxes boxes;
    EXPECT_TRUE(run.frm.mnuSPEICHERN_Click());
    EXPECT_TRUE(run.projectHasChange());
    EXPECT_FALSE(run.frm.GEAENDERT());
    EXPECT_TRUE(run.frm.cnnX()->isOpen());
}

TEST(Save, LargeDatabaseOffersCompactionAndReportsTheGain)
{
    StartedRun run(true);
    padWorkingDatabase(run.frm, 10200000);
    ASSERT_GT(QFileInfo(run.inst.working()).size(), 10050000);
    Boxes boxes;
    boxes.answer(ui::vbYes).answer(ui::vbOK);
    EXPECT_TRUE(run.frm.mnuSPEICHERN_Click());
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("Datenbank hat 10,")));
    EXPECT_TRUE(boxes.records()[0].text.endsWith(QStringLiteral(" MB erreicht! \nSoll die Datei komprimiert werden?")));
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("&Speichern"));
    EXPECT_TRUE(boxes.records()[0].style & ui::vbMsgBoxHelpButton);
    // the report comes before the copy back, and the copy is the compacted database
    EXPECT_EQ(boxes.records()[1].text, QStringLiteral("Datenbank wurde um 100 % auf 0 MB komprimiert !"));
    EXPECT_EQ(boxes.records()[1].title, QStringLiteral("&Komprimieren"));
    EXPECT_LT(QFileInfo(run.inst.projectDb()).size(), 1000000);
    EXPECT_TRUE(run.projectHasChange());
    EXPECT_FALSE(QFile::exists(compactionFilePath(run.inst.working())));
    // the same connection works again after the compaction
    ASSERT_TRUE(run.frm.cnnX()->isOpen());
    db::Recordset rs;
    rs.Open(QStringLiteral("SELECT [KEN] FROM [E1] WHERE [ID]=7"), run.frm.cnnX());
    EXPECT_EQ(rs.Fields(0).toString(), QStringLiteral("NEU"));
}

TEST(Save, LargeDatabaseSavedUncompactedOnNo)
{
    StartedRun run(true);
    padWorkingDatabase(run.frm, 10200000);
    Boxes boxes;
    boxes.answer(ui::vbNo);
    EXPECT_TRUE(run.frm.mnuSPEICHERN_Click());
    EXPECT_GT(QFileInfo(run.inst.projectDb()).size(), 10000000);
    EXPECT_TRUE(run.projectHasChange());
}

TEST(Save, FailedCopyBackKeepsTheFlagAndTheWorkingDatabase)
{
    StartedRun run(true);
    // a folder in place of the project database makes the copy back fail, also for root
    QFile::remove(run.inst.projectDb());
    QDir().mkpath(run.inst.projectDb());
    Boxes boxes;
    boxes.answer(ui::vbOK);                       // error box of Save
    EXPECT_FALSE(run.frm.mnuSPEICHERN_Click());
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: 70\n")));
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("&Speichern"));
    EXPECT_TRUE(run.frm.GEAENDERT());

    // Quit: the question, Yes, the save fails again; the run ends but keeps the changes
    boxes.answer(ui::vbYes).answer(ui::vbOK);
    run.frm.mnuBEENDEN_Click();
    EXPECT_TRUE(run.frm.ended());
    EXPECT_TRUE(QFile::exists(run.inst.working()));
    EXPECT_EQ(scalar(run.inst.working(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));
}

TEST(Compaction, FailureLeavesTheWorkingDatabaseInPlace)
{
    StartedRun run(true);
    // a folder where the compacted copy would go makes the compaction fail
    QDir().mkpath(compactionFilePath(run.inst.working()));
    Boxes boxes;
    boxes.answer(ui::vbOK);
    run.frm.mnuKOMPRIMIEREN_Click();
    ASSERT_GE(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("&Komprimieren"));
    EXPECT_EQ(boxes.records().size(), 1u);       // no report of a gain that did not happen
    EXPECT_EQ(scalar(run.inst.working(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));
    EXPECT_TRUE(run.frm.cnnX()->isOpen());
}

TEST(Compaction, CancelInTheErrorBoxStillReopensTheConnection)
{
    StartedRun run(false);
    QDir().mkpath(compactionFilePath(run.inst.working()));
    Boxes boxes;
    boxes.answer(ui::vbCancel);
    run.frm.mnuKOMPRIMIEREN_Click();
    EXPECT_TRUE(run.frm.cnnX()->isOpen());
    EXPECT_FALSE(sys::hourglass());
}

TEST(Compaction, EnglishReport)
{
    LocaleScope english(QLocale::English);
    StartedRun run(false);
    padWorkingDatabase(run.frm, 2000000);
    Boxes boxes;
    boxes.answer(ui::vbOK);
    run.frm.mnuKOMPRIMIEREN_Click();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, QStringLiteral("Database was compact about 100 % to 0 MB!"));
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Compact Database"));
    EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbInformation);
}

TEST(Shutdown, CancelInAnErrorBoxOfTheEndKeepsTheWorkingDatabaseAndStillEnds)
{
    StartedRun run(false);
    sql(run.inst.archive(), QStringLiteral("DELETE FROM ADMIN;"));   // the end cannot write PROG
    Boxes boxes;
    boxes.answer(ui::vbCancel);
    run.frm.mnuBEENDEN_Click();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("VANT"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: ")));
    EXPECT_TRUE(run.frm.ended());
    EXPECT_FALSE(run.frm.isVisible());
    EXPECT_TRUE(QFile::exists(run.inst.working()));
}

// A window that must stay on the stack until the quit follows (a dialog inside a loading page)
// asks the quit's question first: Abbrechen keeps everything; otherwise the quit that follows
// once nothing is busy asks no more.
TEST(Shutdown, AQuitAnsweredWhileBusyIsAskedOnce)
{
    for (const int answer : {ui::vbCancel, ui::vbNo}) {
        SCOPED_TRACE(answer);
        StartedRun run(true);
        Boxes boxes;
        boxes.answer(answer);
        {
            BusyScope busy;
            const bool confirmed = run.frm.quitConfirmed();
            EXPECT_EQ(confirmed, answer != ui::vbCancel);
            EXPECT_FALSE(run.frm.ended()) << "nothing ends while the window is on the stack";
            if (confirmed)
                run.frm.mnuBEENDEN_Click();
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(run.frm.ended(), answer != ui::vbCancel);
        EXPECT_FALSE(run.projectHasChange());
    }
}
