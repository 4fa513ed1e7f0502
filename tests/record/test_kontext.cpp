// The page-layout dialog and the evaluation-options dialog of the first record page: what they
// show when they open, the rules between their controls, and what they hand on or store.
#include "common/KillPoints.h"
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "drawing/Surface.h"
#include "pages/common/frmKONTEXT.h"
#include "pages/record/frmKONTEXT1.h"
#include "pages/record/mdiSEITE2.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <functional>

using namespace vnt;

namespace {

class Context : public SimpleRunContext {
public:
    int quits = 0, helps = 0;
    void mnuBEENDEN_Click() override { ++quits; }
    void mnuHILFE_Click() override { ++helps; }
};

// Record 7 is the active one; unit-cost set K1 keeps staff costs apart, K2 has them inside
// the equipment costs.
struct Fixture {
    QTemporaryDir dir;
    Context ctx;

    Fixture()
    {
        ctx.cnn = test::makeProjectDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
        ctx.cnnV = test::makePresetDatabase(dir.filePath(QStringLiteral("VORGABE.mdb")));
        ctx.projekt = QStringLiteral("TE4711");
        ctx.cnn->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'alt', 0)"));
        ctx.cnn->Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (7, 'B1', 1)"));
        ctx.cnn->Execute(QStringLiteral("INSERT INTO E6 VALUES (3, 'K1', 3, 1)"));
        ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (1, 'K1', 'einzeln', 40, 0, 1, 1.5, 1)"));
        ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (2, 'K2', 'pauschal', 40, 1, 1, 1, 1)"));
        ctx.cnnV->Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (3, NULL, 'ohne Schlüssel', 1, 1, 1, 1, 1)"));
    }
    void setOptions(const QString &kenk, const QString &k, const QString &zauf)
    {
        ctx.cnn->Execute(QStringLiteral("DELETE FROM E6 WHERE ID = 7"));
        ctx.cnn->Execute(QStringLiteral("INSERT INTO E6 VALUES (7, %1, %2, %3)").arg(kenk, k, zauf));
    }
    Variant stored(const QString &column, int id = 7)
    {
        db::Recordset rs;
        rs.Open(QStringLiteral("SELECT [%1] FROM E6 WHERE ID = %2").arg(column).arg(id), ctx.cnn);
        return rs.isEOF() ? Variant() : rs.Fields(0);
    }
};

int checkedIndex(QRadioButton *const *buttons, int n)
{
    for (int i = 0; i < n; ++i)
        if (buttons[i]->isChecked())
            return i;
    return -1;
}

} // namespace

// ---- evaluation options -----------------------------------------------------------------

TEST(Kontext1, OpensWithTheStoredOptions)
{
    struct Case {
        const char *name;
        QString kenk, k, zauf;   // SQL literals of the stored row; kenk empty = no row
        QString shownKey;
        int K, ZAUF;
        bool opt1Enabled;
    };
    const Case cases[] = {
        {"plain set", "'K1'", "1", "1", "K1", 1, 1, true},
        // Staff costs inside the equipment costs: option 1 is withdrawn and shows as 0.
        {"staff inside", "'K2'", "1", "0", "K2", 0, 0, false},
        {"staff inside, other option", "'K2'", "3", "1", "K2", 3, 1, false},
        {"unknown key", "'XX'", "2", "1", "", 2, 1, true},
        // The databases compare keys without case, so the set is kept in the list's spelling.
        {"other case", "'k2'", "2", "0", "K2", 2, 0, false},
        // Values no option stands for show as the first option instead of failing.
        {"out of range", "NULL", "9", "-1", "", 0, 0, true},
        {"no row", "", "", "", "", 0, 0, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::Boxes boxes;
        Fixture f;
        if (!c.kenk.isEmpty())
            f.setOptions(c.kenk, c.k, c.zauf);
        frmKONTEXT1 dlg(f.ctx);
        EXPECT_EQ(dlg.windowTitle(), "Kontextmenü Seite 1");
        // The list holds every keyed set in table order; a row without key is left out.
        ASSERT_EQ(dlg.cboKENK->count(), 2);
        EXPECT_EQ(dlg.cboKENK->itemText(0), "K1");
        EXPECT_EQ(dlg.cboKENK->currentText(), c.shownKey);
        EXPECT_EQ(dlg.cboKENK->currentIndex(), c.shownKey.isEmpty() ? -1 : dlg.cboKENK->findText(c.shownKey));
        EXPECT_EQ(dlg.KENK(), c.shownKey);
        EXPECT_EQ(dlg.K(), c.K);
        EXPECT_EQ(dlg.ZAUF(), c.ZAUF);
        EXPECT_EQ(checkedIndex(dlg.optK, 4), c.K);
        EXPECT_EQ(checkedIndex(dlg.optZAUF, 2), c.ZAUF);
        EXPECT_EQ(dlg.optK[1]->isEnabled(), c.opt1Enabled);
        EXPECT_TRUE(dlg.optK[0]->isEnabled() && dlg.optK[2]->isEnabled() && dlg.optK[3]->isEnabled());
    }
}

TEST(Kontext1, ChoosingAndTypingASetAppliesTheStaffCostRule)
{
    test::Boxes boxes;
    Fixture f;
    f.setOptions("'K1'", "1", "0");
    frmKONTEXT1 dlg(f.ctx);

    // Choosing the set with staff costs inside takes option 1 away and falls back to 0.
    dlg.cboKENK->setCurrentIndex(1);
    emit dlg.cboKENK->activated(1);
    EXPECT_EQ(dlg.KENK(), "K2");
    EXPECT_EQ(dlg.KENKPG(), 1);
    EXPECT_FALSE(dlg.optK[1]->isEnabled());
    EXPECT_EQ(dlg.K(), 0);
    EXPECT_TRUE(dlg.optK[0]->isChecked());

    // Back to a set without the mark: option 1 returns, the option chosen meanwhile stays.
    dlg.optK[2]->click();
    dlg.cboKENK->setCurrentIndex(0);
    emit dlg.cboKENK->activated(0);
    EXPECT_TRUE(dlg.optK[1]->isEnabled());
    EXPECT_EQ(dlg.K(), 2);

    // Typing runs the rule on each keystroke, with the text typed so far.
    dlg.cboKENK->setEditText(QString());
    dlg.cboKENK->setEditText("K");
    EXPECT_EQ(dlg.KENKPG(), 0);
    EXPECT_TRUE(dlg.optK[1]->isEnabled());
    dlg.cboKENK->setEditText("K2");
    EXPECT_EQ(dlg.KENK(), "K2");
    EXPECT_FALSE(dlg.optK[1]->isEnabled());
}

TEST(Kontext1, OkStoresTheOptionsCancelStoresNothingAndThePageRedrawsEitherWay)
{
    test::Boxes boxes;
    Fixture f;
    f.setOptions("'K1'", "1", "0");
    int redraws = 0;

    // Abbrechen: nothing stored, but the page is redrawn.
    boxes.modal([](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXT1 &>(d);
        dlg.optZAUF[1]->click();
        dlg.optK[3]->click();
        dlg.cmdABBRECHEN->click();
        return d.result();
    });
    frmKONTEXT1::present(f.ctx, [&] {
        ++redraws;
        // The dialog has already gone: the page reads what it left in the table.
        EXPECT_EQ(f.stored("ZAUF").toInt(), 0);
    });
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(f.stored("K").toInt(), 1);

    // OK writes all three, into the active record's row only.
    boxes.modal([](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXT1 &>(d);
        dlg.cboKENK->setCurrentIndex(1);
        emit dlg.cboKENK->activated(1);
        dlg.optZAUF[1]->click();
        dlg.optK[3]->click();
        dlg.cmdOK->click();
        return d.result();
    });
    frmKONTEXT1::present(f.ctx, [&] { ++redraws; });
    EXPECT_EQ(redraws, 2);
    EXPECT_EQ(f.stored("KENK").text(), "K2");
    EXPECT_EQ(f.stored("K").toInt(), 3);
    EXPECT_EQ(f.stored("ZAUF").toInt(), 1);
    EXPECT_EQ(f.stored("K", 3).toInt(), 3);
}

// The key field shows only a set that is there; what the user did not touch stays as stored,
// so a key whose set has gone (or is spelled in another case) is not erased by an OK given for
// the other options. Emptying the field is a choice, and stores none (Null).
TEST(Kontext1, OkKeepsTheStoredKeyUnlessAnotherWasChosen)
{
    struct Case {
        const char *name;
        QString stored;                                   // SQL literal
        std::function<void(frmKONTEXT1 &)> choose;
        const char *expected;                             // KENK|K|ZAUF after OK
    };
    const Case cases[] = {
        {"set gone, nothing chosen", "'weg'", [](frmKONTEXT1 &d) { d.optK[3]->click(); }, "weg|3|1"},
        {"other case, nothing chosen", "'k1'", [](frmKONTEXT1 &) {}, "k1|2|1"},
        {"set gone, another chosen", "'weg'",
         [](frmKONTEXT1 &d) {
             d.cboKENK->setCurrentIndex(0);
             emit d.cboKENK->activated(0);
         },
         "K1|2|1"},
        {"field emptied", "'K1'", [](frmKONTEXT1 &d) { d.cboKENK->setEditText(QString()); }, "<Null>|2|1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::Boxes boxes;
        Fixture f;
        f.setOptions(c.stored, "2", "1");
        boxes.modal([&](QDialog &d) {
            c.choose(static_cast<frmKONTEXT1 &>(d));
            static_cast<frmKONTEXT1 &>(d).cmdOK->click();
            return d.result();
        });
        frmKONTEXT1::present(f.ctx, [] {});
        const Variant kenk = f.stored("KENK");
        EXPECT_EQ(QStringLiteral("%1|%2|%3").arg(kenk.isNull() ? QStringLiteral("<Null>") : kenk.text()).arg(f.stored("K").toInt()).arg(f.stored("ZAUF").toInt()),
                  QString::fromLatin1(c.expected));
    }
}

// OK is one unit of work: a run killed at any instant of it leaves the options as they were or
// as chosen, never the new key with the old breakdowns.
TEST(Kontext1, OkStoresTheOptionsAsOneUnit)
{
    test::Boxes boxes;
    Fixture f;
    f.setOptions("'K1'", "1", "0");
    const QString file = f.ctx.cnn->path();
    test::KillPoints kills(file);
    f.ctx.cnn->Close();
    f.ctx.cnn = db::openDatabase(file);   // through the layer that sees the kill points
    boxes.modal([](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXT1 &>(d);
        dlg.cboKENK->setCurrentIndex(1);
        emit dlg.cboKENK->activated(1);
        dlg.optZAUF[1]->click();
        dlg.optK[3]->click();
        dlg.cmdOK->click();
        return d.result();
    });
    frmKONTEXT1::present(f.ctx, [] {});
    EXPECT_EQ(kills.seen(QStringLiteral("SELECT KENK || '|' || K || '|' || ZAUF FROM E6 WHERE ID = 7")),
              QStringList({"K1|1|0", "K2|3|1"}));
}

TEST(Kontext1, WithoutUnitCostPresetsTheUserIsToldAndCanStillType)
{
    test::Boxes boxes;
    Fixture f;
    f.setOptions("'K1'", "0", "0");
    f.ctx.cnnV->Execute(QStringLiteral("DROP TABLE VANT_V3"));
    // The failed list and the failed mark lookup each show the accessor's data-error box first.
    boxes.answer(ui::vbOK).answer(ui::vbOK).answer(ui::vbOK);
    frmKONTEXT1 dlg(f.ctx);
    bool hint = false;
    for (const ui::BoxRecord &r : boxes.records())
        hint = hint || (r.title == "HINWEIS!" && r.text == "Sie müssen Vorgabewerte für die Kosten eingeben!");
    EXPECT_TRUE(hint);
    EXPECT_EQ(dlg.cboKENK->count(), 0);
    EXPECT_EQ(dlg.KENK(), "");
}

// ---- page layout --------------------------------------------------------------------------

TEST(KontextLayout, OpensWithThePagesSwitchesAndHandsTheChoiceToThePage)
{
    test::Boxes boxes;
    Fixture f;
    mdiSEITE2 page(f.ctx);
    page.KONTEXT(false, false, 0x00C0C0C0, 0x00E0FFFF);
    const QColor chosen(10, 20, 30);

    boxes.modal([&](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXT &>(d);
        EXPECT_EQ(dlg.windowTitle(), "Kontextmenü ");
        // Header off: both boxes off, the page-number box disabled.
        EXPECT_FALSE(dlg.chkBOKF->isChecked());
        EXPECT_FALSE(dlg.chkBOKFS->isChecked());
        EXPECT_FALSE(dlg.chkBOKFS->isEnabled());
        EXPECT_EQ(dlg.cdlFARBEN(0), 0x00C0C0C0);
        EXPECT_EQ(dlg.cdlFARBEN(1), 0x00E0FFFF);
        // Header on: the page-number box comes back, switched on.
        dlg.chkBOKF->click();
        EXPECT_TRUE(dlg.chkBOKFS->isEnabled());
        EXPECT_TRUE(dlg.chkBOKFS->isChecked());
        dlg.cmdFARBEN[0]->click();   // a colour chosen
        dlg.cmdFARBEN[1]->click();   // closed without a choice
        dlg.cmdOK->click();
        return d.result();
    });
    boxes.color([&](QColor &c) {
        EXPECT_EQ(c.rgb(), QColor(0xC0, 0xC0, 0xC0).rgb());   // opens on the current colour
        c = chosen;
        return true;
    });
    boxes.color([](QColor &) { return false; });
    page.Form_Click();

    EXPECT_TRUE(page.BOKF);
    EXPECT_TRUE(page.BOKFS);
    EXPECT_EQ(page.BackColor(), toVbColor(chosen));
    EXPECT_EQ(page.pictureBoxColor(page.pictureBox("picBILD11")), 0x00E0FFFF);
    EXPECT_FALSE(sys::hourglass());
    ASSERT_EQ(boxes.records().size(), 3u);
    EXPECT_EQ(boxes.records()[1].title, "Seitenfarbe");
    EXPECT_EQ(boxes.records()[2].title, "Pictureboxfarben");
}

TEST(KontextLayout, KeysAndCancel)
{
    struct Case {
        const char *name;
        int key, shift;
        bool applied;
        int quits, helps;
    };
    const Case cases[] = {
        {"Ctrl+S applies", 83, 2, true, 0, 0},
        {"Ctrl+Alt+S applies", 83, 6, true, 0, 0},
        {"Esc cancels", 27, 0, false, 0, 0},
        {"Ctrl+Q quits", 81, 2, false, 1, 0},
        {"F1 opens the help", 112, 0, false, 0, 1},
        {"plain S does nothing", 83, 0, false, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        test::Boxes boxes;
        Fixture f;
        mdiSEITE2 page(f.ctx);
        const qint64 before = page.BackColor();
        frmKONTEXT dlg(f.ctx, &page);
        dlg.setTags("0", "0");
        dlg.setCdlFARBEN(0, 0x123456);
        dlg.SCHALTERANZEIGEN();
        dlg.Form_KeyDown(c.key, c.shift);
        EXPECT_EQ(page.BOKF, !c.applied);
        EXPECT_EQ(page.BackColor(), c.applied ? 0x123456 : before);
        EXPECT_EQ(f.ctx.quits, c.quits);
        EXPECT_EQ(f.ctx.helps, c.helps);
    }
}

TEST(KontextLayout, SettingsGoToThePageThatOpenedTheDialog)
{
    test::Boxes boxes;
    Fixture f;
    QMainWindow main;
    auto *area = new QMdiArea(&main);
    main.setCentralWidget(area);
    f.ctx.widget = &main;
    auto *opener = new mdiSEITE2(f.ctx);
    auto *active = new mdiSEITE2(f.ctx);
    opener->setProperty("Tag", "S1");
    active->setProperty("Tag", "S2");
    area->addSubWindow(opener);
    QMdiSubWindow *sub = area->addSubWindow(active);
    main.show();
    area->setActiveSubWindow(sub);
    ASSERT_EQ(area->activeSubWindow(), sub);

    // The dialog shows the opener's switches and colours, so it hands its choice to the
    // opener, whichever page is in front when OK is pressed.
    {
        frmKONTEXT dlg(f.ctx, opener);
        EXPECT_EQ(dlg.windowTitle(), "Kontextmenü S1");
        dlg.setTags("1", "0");
        dlg.SCHALTERANZEIGEN();
        dlg.cmdOK->click();
        EXPECT_FALSE(opener->BOKFS);
        EXPECT_TRUE(active->BOKFS);
    }
    // With its page gone the dialog restyles no other page.
    frmKONTEXT dlg(f.ctx, opener);
    delete opener;
    dlg.setTags("0", "0");
    dlg.SCHALTERANZEIGEN();
    dlg.cmdOK->click();
    EXPECT_TRUE(active->BOKF);
}
