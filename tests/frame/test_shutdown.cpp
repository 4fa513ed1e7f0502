// Save, compaction and the end of the run: the shutdown matrix, the compaction offer and its
// report, and the mended failures that must not lose the working database.
#include "FrameFixture.h"
#include "frame/FrameRules.h"
#include "frame/RecordCommands.h"
#include "grid/GridControl.h"
#include "input/mdiEINGABE.h"
#include "platform/BusyScope.h"

#include <QCoreApplication>

#include <QAction>
#include <QLineEdit>

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
        bool kept = false;   // the working copy stays after the end
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
        {End::Session, false, 0, false, false, false, true},
        {End::Session, true, 0, false, false, false, true, true},
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
        EXPECT_EQ(QFile::exists(run.inst.working()), !c.ended || c.kept);
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

// The session ends without a question; unsaved changes then stay in the working copy, and the
// next start offers them as the changes of an interrupted run.
TEST(Shutdown, SessionEndKeepsUnsavedChangesForTheNextStart)
{
    StartedRun run(true);
    {
        Boxes none;
        run.frm.endRun(2);
    }
    ASSERT_TRUE(run.frm.ended());
    EXPECT_FALSE(run.projectHasChange());
    ASSERT_TRUE(QFile::exists(run.inst.working()));

    Boxes boxes;
    boxes.answer(ui::vbYes);
    frmMAIN next;
    ASSERT_TRUE(next.MDIForm_Load(run.inst.program));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!")));
    EXPECT_EQ(scalar(run.inst.working(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));
}

// Changes kept from an interrupted run are changes: quitting offers to save them, and Yes
// brings them into the project.
TEST(Shutdown, ChangesKeptFromAnInterruptedRunAreOfferedAtTheQuit)
{
    for (const int answer : {ui::vbYes, ui::vbNo}) {
        SCOPED_TRACE(answer);
        Installation inst;
        QDir().mkpath(QFileInfo(inst.working()).path());
        sql(inst.working(), Installation::kProjectSchema + QStringLiteral("INSERT INTO E1 VALUES (7,'NEU',NULL,1);"));
        Boxes boxes;
        boxes.answer(ui::vbYes);   // keep the changes of the interrupted run
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        boxes.answer(answer);
        frm.menuItem(QStringLiteral("mnuBEENDEN"))->trigger();
        ASSERT_EQ(boxes.records().size(), 2u);
        EXPECT_EQ(boxes.records()[1].text, QString::fromUtf8("Sollen die Änderungen in Projekt Demo gespeichert werden?"));
        EXPECT_TRUE(frm.ended());
        EXPECT_EQ(scalar(inst.projectDb(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")),
                  answer == ui::vbYes ? QStringLiteral("NEU") : QStringLiteral("<none>"));
    }
}

namespace {

// Boxes that let the test act at the moment a box whose text starts with a given text shows:
// a fault at a chosen instant of a command.
class BoxesActing : public Boxes {
public:
    std::function<void(const QString &)> onBox;
    int msgBox(const QString &prompt, int style, const QString &title) override
    {
        if (onBox)
            onBox(prompt);
        return Boxes::msgBox(prompt, style, title);
    }
};

} // namespace

// The working copy cannot be opened again after the compaction: its error box shows, and the
// run ends without its database, keeping the working copy for the next start.
TEST(Compaction, FailedReopenIsReportedAndEndsTheRunKeepingTheChanges)
{
    StartedRun run(true);
    const QString aside = run.inst.working() + QStringLiteral(".aside");
    BoxesActing boxes;
    boxes.onBox = [&](const QString &text) {
        // the report comes just before the reopen: the file goes away for that moment only
        if (text.startsWith(QStringLiteral("Datenbank wurde um")))
            ASSERT_TRUE(QFile::rename(run.inst.working(), aside));
        else if (text.startsWith(QStringLiteral("VB-Error: ")))
            ASSERT_TRUE(QFile::rename(aside, run.inst.working()));
    };
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    run.frm.mnuKOMPRIMIEREN_Click();
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[1].title, QStringLiteral("&Komprimieren"));
    QCoreApplication::processEvents();
    EXPECT_TRUE(run.frm.ended()) << "the program does not go on without its database";
    EXPECT_EQ(boxes.records().size(), 2u) << "no question whose Save could not work";
    EXPECT_EQ(scalar(run.inst.working(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));
}

namespace {

const QString kInputLost = QString::fromUtf8("Die Eingaben des Datensatzes sind nicht gespeichert und gehen verloren!");

// A started program whose presets hold every table the input window reads.
struct InputRun {
    Installation inst;
    frmMAIN frm;
    InputRun()
    {
        QFile presets(schemaSqlFile(QStringLiteral("presets.sql")));
        EXPECT_TRUE(presets.open(QIODevice::ReadOnly));
        sql(inst.daten + QStringLiteral("/VORGABE.mdb"), QStringLiteral("DROP TABLE VANT_V11;") + QString::fromUtf8(presets.readAll()));
        QFile project(schemaSqlFile(QStringLiteral("project.sql")));
        EXPECT_TRUE(project.open(QIODevice::ReadOnly));
        QFile::remove(inst.projectDb());
        sql(inst.projectDb(), QString::fromUtf8(project.readAll()));
        Boxes none;
        EXPECT_TRUE(frm.MDIForm_Load(inst.program));
    }
    mdiEINGABE *input() const { return inputWindow(frm.mdiArea()); }
};

} // namespace

// Typed input that was never saved is not thrown away without a question; Abbrechen keeps the
// program and the input. A window nothing was typed into asks nothing.
TEST(Shutdown, TypedInputIsNotDiscardedWithoutAQuestion)
{
    const struct { const char *what; bool typed; End end; int answer; bool ended; } cases[] = {
        {"typed, close box, Abbrechen", true, End::CloseBox, ui::vbCancel, false},
        {"typed, Beenden, Abbrechen", true, End::Quit, ui::vbCancel, false},
        {"typed, Beenden, OK", true, End::Quit, ui::vbOK, true},
        {"typed, Schließen, OK", true, End::Close, ui::vbOK, true},
        {"nothing typed", false, End::Quit, 0, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        InputRun run;
        Boxes boxes;
        run.frm.menuItem(QStringLiteral("mnuNEU"))->trigger();
        ASSERT_TRUE(run.input());
        if (c.typed) {
            run.input()->txtKEN->insert(QStringLiteral("B7"));
            run.input()->txtKOM->insert(QStringLiteral("Bohrung am Hang"));
        }
        if (c.answer)
            boxes.answer(c.answer);
        // the file menu is closed while the input window is open: its quit key and the close box remain
        switch (c.end) {
        case End::Close: run.frm.mnuSCHLIESSEN_Click(); break;
        case End::Quit: run.frm.mnuBEENDEN_Click(); break;
        case End::CloseBox: run.frm.close(); break;
        case End::Session: break;
        }
        ASSERT_EQ(boxes.records().size(), c.typed ? 1u : 0u);
        if (c.typed) {
            EXPECT_EQ(boxes.records()[0].text, kInputLost);
            EXPECT_EQ(boxes.records()[0].style, ui::vbOKCancel | ui::vbExclamation);
        }
        EXPECT_EQ(run.frm.ended(), c.ended);
        if (!c.ended) {
            ASSERT_TRUE(run.input());
            EXPECT_EQ(run.input()->txtKOM->text(), QStringLiteral("Bohrung am Hang"));
        }
    }
}

// A record opened and left as it was holds nothing to lose; a value typed into a grid does.
TEST(Shutdown, OpenedRecordAsksOnlyAfterATypedChange)
{
    for (const bool typed : {false, true}) {
        SCOPED_TRACE(typed);
        InputRun run;
        run.frm.cnnX()->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (3, 'B3', 'alt', 1);"));
        Boxes boxes;
        // what Open does once the record is chosen
        showInputWindow(run.frm)->OEFFNEN(3);
        ASSERT_TRUE(run.input());
        ASSERT_EQ(run.input()->txtKEN->text(), QStringLiteral("B3"));
        if (typed) {
            // what a committed cell editor leaves in the grid
            GridControl *grid = run.input()->msgFLX[0];
            ASSERT_GT(grid->Rows(), grid->FixedRows());
            grid->setTextMatrix(grid->FixedRows(), grid->FixedCols(), QStringLiteral("12,5"));
            boxes.answer(ui::vbCancel);
        }
        run.frm.mnuBEENDEN_Click();
        EXPECT_EQ(boxes.records().size(), typed ? 1u : 0u);
        EXPECT_EQ(run.frm.ended(), !typed);
    }
}
