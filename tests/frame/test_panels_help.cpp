// The command panels' frame (pressed look, error handling, command states), the help menu
// and the about window.
#include "FrameFixture.h"
#include "frame/frmINFO.h"
#include "frame/mdiAUTOSTART.h"
#include "frame/FrameRules.h"
#include "platform/errors.h"
#include <QLayout>

#include <QAction>
#include <QLabel>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>

using namespace vnt;
using namespace vnt::test;

namespace {

// A main window whose panel commands fail with a chosen error.
class FailingMain : public frmMAIN {
public:
    int error = 0;
    QList<int> ran;
protected:
    void runPanelCommand(int index) override
    {
        ran << index;
        sys::setHourglass(true);
        if (error)
            vnt::raise(error, QStringLiteral("Fehler"));
    }
};

} // namespace

TEST(PanelFrame, ErrorsOfCommands)
{
    const struct { int error; bool box; } cases[] = {
        {err::InvalidPropertyValue, false},
        {err::DialogCancelled, false},
        {err::TypeMismatch, true},
    };
    for (const auto &c : cases) {
        Installation inst;
        FailingMain frm;
        {
            Boxes none;
            ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        }
        frm.error = c.error;
        frm.showCommandPanels({10, 11, 12, 13, 14, 15});
        Boxes boxes;
        if (c.box)
            boxes.answer(ui::vbCancel);
        frm.panel(11)->setBevel(StatusPanel::Inset);
        frm.stbMAIN_PanelClick(11);
        if (c.box) {
            ASSERT_EQ(boxes.records().size(), 1u);
            EXPECT_EQ(boxes.records()[0].text, QStringLiteral("VB-Error: 13\nFehler"));
            EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Drucken"));
            EXPECT_EQ(boxes.records()[0].style, ui::vbOKCancel | ui::vbExclamation);
        }
        EXPECT_EQ(frm.panel(11)->bevel(), StatusPanel::Raised) << c.error;
        EXPECT_FALSE(sys::hourglass()) << c.error;
    }
}

TEST(PanelFrame, InformationPanelsRunNothingAndHiddenPanelsStillRun)
{
    Installation inst;
    FailingMain frm;
    Boxes none;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    sys::setHourglass(true);
    frm.stbMAIN_PanelClick(3);
    EXPECT_TRUE(frm.ran.isEmpty());
    EXPECT_EQ(frm.panel(3)->bevel(), StatusPanel::NoBevel);
    EXPECT_FALSE(sys::hourglass());
    frm.stbMAIN_PanelClick(14);   // hidden, pressed by a key
    EXPECT_EQ(frm.ran, QList<int>{14});
}

TEST(PanelFrame, PressedLookInsetsThePanelUnderThePointer)
{
    Installation inst;
    Boxes boxes;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    frm.showCommandPanels({10, 11, 12, 13, 14, 15});
    frm.statusBar()->layout()->activate();
    const QRect r = frm.panel(12)->geometry();
    frm.stbMAIN_MouseDown(r.center().x());
    EXPECT_EQ(frm.panel(12)->bevel(), StatusPanel::Inset);
    EXPECT_EQ(frm.panel(11)->bevel(), StatusPanel::Raised);
    EXPECT_EQ(frm.panel(13)->bevel(), StatusPanel::Raised);
    boxes.input(QString());   // the screen copy asks for its file name; an empty one ends it
    frm.stbMAIN_PanelClick(12);
    EXPECT_EQ(frm.panel(12)->bevel(), StatusPanel::Raised);
    frm.stbMAIN_MouseDown(frm.panel(2)->geometry().center().x());   // no command panel hit
    for (int i = 10; i <= 15; ++i)
        EXPECT_EQ(frm.panel(i)->bevel(), StatusPanel::Raised) << i;
}

TEST(PanelFrame, CommandStates)
{
    Installation inst;
    Boxes none;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    auto menusEnabled = [&] {
        return QList<bool>{frm.menuItem(QStringLiteral("mnuDATEI"))->isEnabled(), frm.menuItem(QStringLiteral("mnuAUSWERTEN"))->isEnabled(),
                           frm.menuItem(QStringLiteral("mnuEXTRAS"))->isEnabled()};
    };
    frm.enterInputState();
    EXPECT_TRUE(frm.panel(8)->isVisibleTo(&frm));
    EXPECT_TRUE(frm.panel(9)->isVisibleTo(&frm));
    EXPECT_EQ(menusEnabled(), (QList<bool>{false, false, false}));
    frm.stbMAIN_PanelClick(9);   // discard: back to the start window
    EXPECT_FALSE(frm.panel(8)->isVisibleTo(&frm));
    EXPECT_FALSE(frm.panel(9)->isVisibleTo(&frm));
    EXPECT_EQ(menusEnabled(), (QList<bool>{true, true, true}));
    EXPECT_FALSE(frm.GEAENDERT());

    frm.enterPageState(true);
    for (int i = 10; i <= 15; ++i)
        EXPECT_TRUE(frm.panel(i)->isVisibleTo(&frm)) << i;
    EXPECT_EQ(menusEnabled(), (QList<bool>{false, true, false}));
}

// A child window shown over the start window (the input window, a result page) must not leave
// the start window shrunk or hidden when it goes.
TEST(PanelFrame, StartWindowFillsTheAreaAgainAfterAChildWindowCloses)
{
    Installation inst;
    Boxes none;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    QWidget *startFrame = frm.startWindow()->parentWidget();
    const QRect area = frm.mdiArea()->viewport()->rect();
    ASSERT_EQ(startFrame->geometry(), area);

    auto *child = new QWidget;
    child->setObjectName(QStringLiteral("mdiEINGABE"));
    QMdiSubWindow *sub = frm.mdiArea()->addSubWindow(child);
    sub->show();
    frm.mdiArea()->setActiveSubWindow(sub);
    QCoreApplication::processEvents();
    // restored to a window of its own, the child stays in front of a click on the start window
    sub->showNormal();
    sub->setGeometry(10, 10, 200, 150);
    frm.mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(startFrame));
    QCoreApplication::processEvents();
    EXPECT_EQ(frm.mdiArea()->activeSubWindow(), sub);
    EXPECT_EQ(frm.mdiArea()->subWindowList(QMdiArea::StackingOrder).last(), sub);
    frm.mdiArea()->removeSubWindow(sub);
    delete sub;
    QCoreApplication::processEvents();

    EXPECT_TRUE(frm.startWindow()->isVisible());
    EXPECT_EQ(startFrame->geometry(), area);
}

TEST(EvaluateMenu, ItemsFollowTheActiveRecordsAndItsRowsAreMadeOnce)
{
    const struct {
        const char *what, *rows;
        bool berechnen, mberechnen, neuberechnen;
        const char *a1After, *e1ZeroAfter;
    } cases[] = {
        {"none", "INSERT INTO E1 VALUES (1,'P1',NULL,0);", false, false, false, "", "<none>"},
        {"one, never offered", "INSERT INTO E1 VALUES (4,'P4',NULL,1);", false, false, true, "4:1", "<none>"},
        {"one, evaluated", "INSERT INTO E1 VALUES (4,'P4',NULL,1); INSERT INTO A1 VALUES (4,0);", true, false, true, "4:0", "<none>"},
        {"one, to evaluate", "INSERT INTO E1 VALUES (4,'P4',NULL,1); INSERT INTO A1 VALUES (4,1);", false, false, true, "4:1", "<none>"},
        {"two", "INSERT INTO E1 VALUES (1,'P1',NULL,1),(2,'P2',NULL,1);", false, true, false, "0:1", "M|Mehrfachauswertung"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        Installation inst;
        sql(inst.projectDb(), QStringLiteral("CREATE TABLE A1 (ID INTEGER, BONEU BOOLEAN);") + QString::fromLatin1(c.rows));
        Boxes none;
        frmMAIN frm;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        for (int opening = 0; opening < 2; ++opening)
            emit frm.menu(QStringLiteral("mnuAUSWERTEN"))->aboutToShow();
        EXPECT_EQ(frm.menuItem(QStringLiteral("mnuBERECHNEN"))->isEnabled(), c.berechnen);
        EXPECT_EQ(frm.menuItem(QStringLiteral("mnuMBERECHNEN"))->isEnabled(), c.mberechnen);
        EXPECT_EQ(frm.menuItem(QStringLiteral("mnuNEUBERECHNEN"))->isEnabled(), c.neuberechnen);
        EXPECT_FALSE(frm.menuItem(QStringLiteral("mnuEINGABEGRAFIK"))->isEnabled());
        EXPECT_FALSE(frm.menuItem(QStringLiteral("mnuFBERECHNEN"))->isEnabled());
        EXPECT_EQ(scalar(inst.working(), QStringLiteral("SELECT ifnull(group_concat(ID || ':' || BONEU, ','), '') FROM A1")),
                  QString::fromLatin1(c.a1After));
        EXPECT_EQ(scalar(inst.working(), QStringLiteral("SELECT KEN || '|' || KOM FROM E1 WHERE ID=0")), QString::fromLatin1(c.e1ZeroAfter));
        EXPECT_FALSE(frm.GEAENDERT());
        EXPECT_FALSE(sys::hourglass());
    }
}

TEST(HelpMenu, ItemsFollowTheFilesAtEachOpening)
{
    Installation inst;
    Boxes none;
    frmMAIN frm;
    ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    auto touch = [&](const char *name) {
        QFile f(inst.program + QLatin1Char('/') + QString::fromLatin1(name));
        f.open(QIODevice::WriteOnly);
    };
    touch("VANT.hlp");
    touch("VANT_H.doc");
    emit frm.menu(QStringLiteral("mnuFRAGEZEICHEN"))->aboutToShow();
    EXPECT_TRUE(frm.menuItem(QStringLiteral("mnuHILFE"))->isEnabled());
    EXPECT_FALSE(frm.menuItem(QStringLiteral("mnuREADME"))->isEnabled());
    EXPECT_TRUE(frm.menuItem(QStringLiteral("mnuHINWEISE"))->isEnabled());
    EXPECT_TRUE(frm.menuItem(QStringLiteral("mnuINFO"))->isEnabled());
    touch("VANT.doc");
    emit frm.menu(QStringLiteral("mnuFRAGEZEICHEN"))->aboutToShow();
    EXPECT_TRUE(frm.menuItem(QStringLiteral("mnuREADME"))->isEnabled());

    frm.mnuREADME_Click();
    frm.mnuHINWEISE_Click();
    frm.mnuHILFE_Click();
    EXPECT_EQ(recorder().opened, (QStringList{inst.program + QStringLiteral("/VANT.doc"), inst.program + QStringLiteral("/VANT_H.doc"),
                                              inst.program + QStringLiteral("/VANT.hlp")}));
}

TEST(HelpMenu, MissingFilesGiveErrorBoxesNotACrash)
{
    Installation inst;
    frmMAIN frm;
    {
        Boxes none;
        ASSERT_TRUE(frm.MDIForm_Load(inst.program));
    }
    Boxes boxes;
    boxes.answer(ui::vbOK).answer(ui::vbCancel);
    frm.mnuHILFE_Click();      // F1 of an editor calls it without the menu's file test
    frm.mnuREADME_Click();
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("?/Hilfe"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Error: 53\n")));
    EXPECT_EQ(boxes.records()[1].title, QStringLiteral("?/ReadMe"));
    EXPECT_FALSE(sys::hourglass());
    EXPECT_TRUE(recorder().opened.isEmpty());
}

TEST(AboutWindow, TextsInBothLanguages)
{
    const struct { QLocale::Language lang; const char *caption, *phone, *button, *credits; } cases[] = {
        {QLocale::German, "Info zu VANT", "Telefon: ", "Schließen", "Programmentwicklung: "},
        {QLocale::English, "Info of VANT", "Phone: ", "Done", "Program developed by: "},
    };
    for (const auto &c : cases) {
        LocaleScope lang(c.lang);
        Installation inst;
        frmMAIN frm;
        {
            Boxes none;
            ASSERT_TRUE(frm.MDIForm_Load(inst.program));
        }
        Boxes boxes;
        bool seen = false;
        boxes.modal([&](QDialog &dlg) {
            auto &info = static_cast<frmINFO &>(dlg);
            seen = true;
            EXPECT_EQ(info.windowTitle(), QString::fromUtf8(c.caption));
            EXPECT_TRUE(info.lblADRESSE(4)->text().startsWith(QString::fromLatin1(c.phone)));
            EXPECT_EQ(info.cmdSCHLIESSEN()->text(), QString::fromUtf8(c.button));
            EXPECT_TRUE(info.cmdSCHLIESSEN()->isDefault());
            EXPECT_EQ(info.lblINFO(0)->text(), QStringLiteral("Korvane"));
            EXPECT_EQ(info.lblINFO(1)->text(), frm.startWindow()->lblTITEL()->text());
            EXPECT_EQ(info.lblINFO(3)->text(), QStringLiteral("(VANT.exe)"));
            EXPECT_EQ(info.lblINFO(4)->text(), frm.startWindow()->lblVERSION()->text());
            EXPECT_EQ(info.lblINFO(6)->text(), QString::fromLatin1(c.credits) + shortenedCredits(frmINFO::credits()));
            EXPECT_TRUE(info.lblINFO(6)->text().endsWith(QStringLiteral(", ...")));
            EXPECT_EQ(info.lblADRESSE(5)->text(), QStringLiteral("Fax: +00 000 0000001"));
            return int(QDialog::Accepted);
        });
        frm.mnuINFO_Click();
        EXPECT_TRUE(seen);
        EXPECT_EQ(boxes.records().back().text, QStringLiteral("frmINFO"));
    }
}
