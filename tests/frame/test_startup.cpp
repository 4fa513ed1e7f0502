// Start-up of the program on an installation in a temporary folder: the context, the window's
// texts in both languages, the failures that end the run, the interrupted run, development mode.
#include "FrameFixture.h"
#include "frame/FrameRules.h"
#include "frame/mdiAUTOSTART.h"

#include <QAction>
#include <QLockFile>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <optional>
#include <sys/wait.h>
#include <unistd.h>

using namespace vnt;
using namespace vnt::test;

TEST(Startup, NormalStartFillsContextWindowAndPanels)
{
    Installation inst;
    Boxes boxes;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));

    EXPECT_EQ(frm.SPRACHE(), 3);
    EXPECT_EQ(frm.DEZIMALPUNKT(), QStringLiteral(","));
    EXPECT_EQ(frm.PROJEKT(), QStringLiteral("Demo"));
    EXPECT_EQ(frm.PROJEKTSPFAD(), inst.projekte);
    EXPECT_EQ(frm.BEARBEITER(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(frm.XMDBPFAD(), inst.working());
    EXPECT_EQ(frm.EBOINF(), 0);
    EXPECT_FALSE(frm.GEAENDERT());
    ASSERT_TRUE(frm.cnnX() && frm.cnnX()->isOpen());
    ASSERT_TRUE(frm.cnnX_V() && frm.cnnX_V()->isOpen());
    EXPECT_TRUE(QFile::exists(inst.working()));
    EXPECT_EQ(inst.prog(), QStringLiteral("VANT"));

    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Korvane"));
    EXPECT_TRUE(frm.isVisible());
    EXPECT_EQ(frm.panel(1)->text(), shortenedProjectPath(inst.projekte) + QStringLiteral("/"));
    EXPECT_EQ(frm.panel(1)->toolTip(), inst.projekte);
    EXPECT_EQ(frm.panel(2)->toolTip(), QStringLiteral("Erika Muster"));
    EXPECT_EQ(frm.panel(4)->text(), QStringLiteral("VANT"));
    EXPECT_EQ(frm.panel(4)->toolTip(), QStringLiteral("Vantrel"));
    EXPECT_EQ(frm.panel(6)->text(), QStringLiteral("-"));
    for (int i = 1; i <= 15; ++i)
        EXPECT_EQ(frm.panel(i)->isVisibleTo(&frm), i <= 7) << "panel " << i;

    const struct { const char *name; bool enabled; } states[] = {
        {"mnuNEU", true}, {"mnuEXPINF", false}, {"mnuEINGABEGRAFIK", false}, {"mnuMBERECHNEN", false},
        {"mnuFBERECHNEN", false}, {"mnuNEUBERECHNEN", true}, {"mnuVEVORGABEN", false}, {"mnuWERKZEUGE", false},
        {"mnuKOMPRIMIEREN", true}, {"mnuINFO", true},
    };
    for (const auto &s : states)
        EXPECT_EQ(frm.menuItem(QString::fromLatin1(s.name))->isEnabled(), s.enabled) << s.name;

    mdiAUTOSTART *start = frm.startWindow();
    ASSERT_TRUE(start);
    EXPECT_TRUE(start->isVisible());
    EXPECT_FALSE(start->pgbBERECHNEN()->isVisible());
    EXPECT_EQ(start->lblTITEL()->text(), QStringLiteral("Vantrel"));
    EXPECT_EQ(start->lblUNTERTITEL()->text(), QString());
    EXPECT_EQ(start->lblVERSION()->text(), QString::fromUtf8("Version Jänner 2002"));
    EXPECT_TRUE(start->lblKOPF(3)->text().startsWith(QStringLiteral("Telefon: ")));
    start->parentWidget()->close();   // the start window stays for the whole run
    EXPECT_TRUE(frm.startWindow() && frm.startWindow()->isVisible());
    frm.setProgress(40);
    EXPECT_EQ(frm.progress(), 40);
}

TEST(Startup, EnglishLocaleSetsEnglishTextsAndKeepsTheUnchangedOnes)
{
    LocaleScope english(QLocale::English);
    Installation inst;
    Boxes boxes;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    EXPECT_EQ(frm.SPRACHE(), 1);
    EXPECT_EQ(frm.DEZIMALPUNKT(), QStringLiteral("."));

    const struct { const char *name, *caption; } captions[] = {
        {"mnuDATEI", "&File"}, {"mnuSCHLIESSEN", "&Done"}, {"mnuNEUBERECHNEN", "Calculate &First"},
        {"mnuEXTRAS", "Tools"}, {"mnuWERKZEUGE", "Grafic Tools"}, {"mnuHILFE", "Help"},
        {"mnuEXPIMP", "&Export-Import"}, {"mnuREADME", "&ReadMe"}, {"mnuHINWEISE", "Hin&weise"},
        {"mnuINFO", "&Info"}, {"mnuFRAGEZEICHEN", "&?"},
    };
    for (const auto &c : captions)
        EXPECT_EQ(frm.menuItem(QString::fromLatin1(c.name))->text(), QString::fromUtf8(c.caption)) << c.name;

    const struct { int index; const char *text, *tip; } panels[] = {
        {8, "OK", "Save input-data"}, {9, "Cancel", "Discard input-data"}, {13, "Word", "Send current page to word"},
        {14, "AutoCAD", "Send current page to AutoCAD"}, {15, "Close", "Back to the front window"},
    };
    for (const auto &p : panels) {
        EXPECT_EQ(frm.panel(p.index)->text(), QString::fromLatin1(p.text));
        EXPECT_EQ(frm.panel(p.index)->toolTip(), QString::fromLatin1(p.tip));
    }
    EXPECT_EQ(frm.windowTitle(), QStringLiteral("Korvane"));
    EXPECT_EQ(frm.startWindow()->lblVERSION()->text(), QStringLiteral("Version January 2002"));
    EXPECT_TRUE(frm.startWindow()->lblKOPF(3)->text().startsWith(QStringLiteral("Phone: ")));
}

// Each failure says why, ends the run and shows no window.
TEST(Startup, FailuresEndTheRunWithTheirMessage)
{
    const struct {
        const char *what;
        void (*breakIt)(const Installation &);
        const char *german, *english, *progAfter;
    } cases[] = {
        {"no ADMIN row", [](const Installation &i) { sql(i.archive(), QStringLiteral("DELETE FROM ADMIN;")); },
         "Programm VANT kann nur über das Rahmenprogramm ausgeführt werden!", "Program VANT can used only via the frame program!", "<none>"},
        {"missing project folder", [](const Installation &i) { QDir(i.projectFolder).removeRecursively(); },
         "Projektsverzeichnis Demo existiert nicht!", "Project directory Demo dosn't exist!", "VANT"},
        {"missing template", [](const Installation &i) { QFile::remove(i.program + QStringLiteral("/VANT.mdb")); },
         "Die leere Datenbank VANT.mdb existiert nicht!\nKorvane muß neu installiert werden!",
         "The empty database VANT.mdb dosn't exist!\nKorvane has to be installed again!", "VANT"},
        {"missing preset template", [](const Installation &i) { QFile::remove(i.program + QStringLiteral("/VORGABE.mdb")); },
         "Die leere Datenbank VORGABE.mdb existiert nicht!\nKorvane muß neu installiert werden!",
         "The empty database VORGABE.mdb dosn't exist!\nKorvane has to be installed again!", "KORVANE"},
    };
    for (const auto &c : cases) {
        for (bool english : {false, true}) {
            LocaleScope lang(english ? QLocale::English : QLocale::German);
            Installation inst;
            c.breakIt(inst);
            Boxes boxes;
            boxes.answer(ui::vbOK);
            frmMAIN frm;
            EXPECT_FALSE(frm.MDIForm_Load(inst.program)) << c.what;
            ASSERT_EQ(boxes.records().size(), 1u) << c.what;
            EXPECT_EQ(boxes.records()[0].text, QString::fromUtf8(english ? c.english : c.german)) << c.what;
            EXPECT_EQ(boxes.records()[0].title, QStringLiteral("VANT"));
            EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
            EXPECT_FALSE(frm.isVisible()) << c.what;
            EXPECT_FALSE(frm.cnnX()) << c.what;
            EXPECT_FALSE(QFile::exists(inst.working())) << c.what;
            EXPECT_EQ(inst.prog(), QString::fromLatin1(c.progAfter)) << c.what;
        }
    }
}

TEST(Startup, UnreadableArchiveLeadsToTheMissingRowMessage)
{
    Installation inst;
    registry::SaveSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"), inst.root + QStringLiteral("/nowhere"));
    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    frmMAIN frm;
    EXPECT_FALSE(frm.MDIForm_Load(inst.program));
    ASSERT_EQ(boxes.records().size(), 4u);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(boxes.records()[size_t(i)].text.startsWith(QStringLiteral("VB-Error: "))) << i;
    EXPECT_TRUE(boxes.records()[3].text.startsWith(QStringLiteral("Programm VANT kann nur")));
}

TEST(Startup, CancelInAnErrorBoxEndsTheRunCleanly)
{
    Installation inst;
    sql(inst.archive(), QStringLiteral("UPDATE ADMIN SET PROJEKT=NULL;"));
    Boxes boxes;
    boxes.answer(ui::vbCancel);
    frmMAIN frm;
    EXPECT_FALSE(frm.MDIForm_Load(inst.program));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: 94\n")));
    EXPECT_FALSE(frm.isVisible());
    EXPECT_FALSE(frm.cnnX());
    EXPECT_FALSE(frm.cnnX_V());
}

TEST(Startup, InterruptedRunQuestion)
{
    const struct { const char *what; bool leftOver; int answer; const char *panel6; } cases[] = {
        {"none", false, 0, "P1"},
        {"Yes keeps the changes", true, ui::vbYes, "ALT"},
        {"No takes the project", true, ui::vbNo, "P1"},
    };
    for (const auto &c : cases) {
        Installation inst;
        sql(inst.projectDb(), QStringLiteral("INSERT INTO E1 VALUES (1,'P1',NULL,1);"));
        if (c.leftOver) {
            QDir().mkpath(QFileInfo(inst.working()).path());
            sql(inst.working(), Installation::kProjectSchema + QStringLiteral("INSERT INTO E1 VALUES (1,'ALT',NULL,1);"));
        }
        Boxes boxes;
        if (c.answer)
            boxes.answer(c.answer);
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program)) << c.what;
        if (c.answer) {
            EXPECT_EQ(boxes.records()[0].text, QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!\n"
                                                                 "Soll die bis zum Abbruch vorhandenen Daten gepeichert werden?"));
            EXPECT_EQ(boxes.records()[0].style, ui::vbYesNo | ui::vbQuestion);
        }
        EXPECT_EQ(frm.panel(6)->text(), QString::fromLatin1(c.panel6)) << c.what;
        // kept changes are not yet in the project: the end of the run must offer to save them
        EXPECT_EQ(frm.GEAENDERT(), c.answer == ui::vbYes) << c.what;
    }
}

TEST(Startup, DevelopmentModeRunsWithoutArchiveAndPresets)
{
    for (const char *folder : {"Source/VANT", "Resources/VANT"}) {
        Installation inst(QString::fromLatin1(folder));
        // the registry points nowhere: the development mode must not need it
        registry::SaveSetting(QStringLiteral("KORVANE"), QStringLiteral("Extras"), QStringLiteral("Datenbankpfad"), QString());
        const QString parent = QFileInfo(inst.program).path();
        QDir().mkpath(parent + QStringLiteral("/TE0000.00"));
        sql(parent + QStringLiteral("/TE0000.00/VANT.mdb"), Installation::kProjectSchema + QStringLiteral("INSERT INTO E1 VALUES (3,'T3','Test',1);"));
        Boxes boxes;
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program)) << folder;
        EXPECT_TRUE(frm.developmentMode());
        EXPECT_EQ(frm.PROJEKTSPFAD(), parent);
        EXPECT_EQ(frm.PROJEKT(), QStringLiteral("TE0000.00"));
        EXPECT_EQ(frm.BEARBEITER(), frm.BENUTZER());
        EXPECT_FALSE(frm.cnnX_V());
        EXPECT_EQ(frm.panel(6)->text(), QStringLiteral("T3"));
        EXPECT_EQ(frm.panel(6)->toolTip(), QStringLiteral("Test"));
        EXPECT_EQ(inst.prog(), QStringLiteral("KORVANE"));   // the user table is not touched
    }
}

TEST(Startup, ActiveRecordPanel)
{
    const struct { const char *rows, *text, *tip; } cases[] = {
        {"INSERT INTO E1 VALUES (1,'P9',NULL,0);", "-", ""},
        {"INSERT INTO E1 VALUES (1,'P1',NULL,1);", "P1", ""},
        {"INSERT INTO E1 VALUES (1,'B2','b',1),(2,'A1','a',1),(3,'C3',NULL,1),(4,'D4',NULL,0);", "A1,...", "A1, B2, C3"},
    };
    for (const auto &c : cases) {
        Installation inst;
        sql(inst.projectDb(), QString::fromLatin1(c.rows));
        Boxes boxes;
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        EXPECT_EQ(frm.panel(6)->text(), QString::fromLatin1(c.text));
        EXPECT_EQ(frm.panel(6)->toolTip(), QString::fromLatin1(c.tip));
    }
}

namespace {
class QuotedUserMain : public frmMAIN {
public:
    QString BENUTZER() const override { return QStringLiteral("O'NEIL"); }
};
} // namespace

// A user name with an apostrophe neither breaks the user-table queries nor widens them.
TEST(Startup, UserNameIsQuotedInTheUserTableQueries)
{
    Installation inst;
    sql(inst.archive(), QStringLiteral("UPDATE ADMIN SET BENUTZER='X'' OR ''1''=''1';"
                                       "INSERT INTO ADMIN VALUES ('O''NEIL','KORVANE','%1','Demo','O. Neil');"
                                       "INSERT INTO ADMIN VALUES ('O''NEIL','KORVANE','%1','Zweit','O. Neil');").arg(inst.projekte));
    Boxes boxes;
    QuotedUserMain frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    EXPECT_EQ(frm.BEARBEITER(), QStringLiteral("O. Neil"));
    EXPECT_EQ(frm.PROJEKT(), QStringLiteral("Demo"));   // the first row of several
    auto progs = [&] {
        return scalar(inst.archive(), QStringLiteral("SELECT group_concat(PROG, '|') FROM (SELECT PROG FROM ADMIN ORDER BY rowid)"));
    };
    EXPECT_EQ(progs(), QStringLiteral("KORVANE|VANT|KORVANE"));
    EXPECT_TRUE(frm.XMDBPFAD().endsWith(QStringLiteral("/BENUTZER/O'NEIL/VANT.mdb")));
    frm.mnuBEENDEN_Click();
    EXPECT_EQ(progs(), QStringLiteral("KORVANE|KORVANE|KORVANE"));
}

// One run per user: a second start while the first runs says so in one message and ends,
// touching neither the working copy nor the first run's changes.
TEST(Startup, SecondStartWhileARunIsOpenTouchesNothing)
{
    for (const bool english : {false, true}) {
        SCOPED_TRACE(english);
        std::optional<LocaleScope> locale;
        if (english)
            locale.emplace(QLocale::English);
        Installation inst;
        auto first = std::make_unique<frmMAIN>();
        {
            Boxes none;
            ASSERT_TRUE(first->MDIForm_Load(inst.program));
        }
        first->cnnX()->Execute(QStringLiteral("INSERT INTO E1 VALUES (7,'NEU',NULL,1);"));
        first->setGEAENDERT(true);

        Boxes boxes;
        boxes.answer(ui::vbOK);
        {
            frmMAIN second;
            EXPECT_FALSE(second.MDIForm_Load(inst.program));
            EXPECT_FALSE(second.isVisible());
        }
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].text, english ? QStringLiteral("Project Demo is already open in another run of the program!")
                                                   : QString::fromUtf8("Das Projekt Demo ist bereits in einem anderen Programmlauf geöffnet!"));
        EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(boxes.records()[0].title, QStringLiteral("VANT"));
        EXPECT_EQ(scalar(inst.working(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));

        // the first run saves and ends as if nothing had happened; then a start is free again
        EXPECT_TRUE(first->mnuSPEICHERN_Click());
        EXPECT_EQ(scalar(inst.projectDb(), QStringLiteral("SELECT KEN FROM E1 WHERE ID=7")), QStringLiteral("NEU"));
        first->mnuBEENDEN_Click();
        ASSERT_TRUE(first->ended());
        first.reset();
        frmMAIN third;
        EXPECT_TRUE(third.MDIForm_Load(inst.program));
        EXPECT_EQ(boxes.records().size(), 1u) << "no message and no interrupted-run question";
    }
}

// A run that was killed leaves its lock behind; the next start is not blocked by it and asks
// the interrupted-run question for the working copy the killed run left.
TEST(Startup, LockOfAKilledRunDoesNotBlockTheNextStart)
{
    Installation inst;
    QDir().mkpath(QFileInfo(inst.working()).path());
    sql(inst.working(), Installation::kProjectSchema + QStringLiteral("INSERT INTO E1 VALUES (7,'NEU',NULL,1);"));
    const QString lock = runLockPath(inst.working());
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile held(lock);
        _exit(held.tryLock(0) ? 0 : 1);   // killed: the lock is never released
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(lock));

    Boxes boxes;
    boxes.answer(ui::vbYes);
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QString::fromUtf8("Programm wurde während der Ausführung unterbrochen!")));
    EXPECT_EQ(frm.panel(6)->text(), QStringLiteral("NEU"));
}
