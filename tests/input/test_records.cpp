// The record commands: the selection dialog in its three modes, New, Open, Select and Delete,
// and the save and discard panels with their questions, ids and active marks.
#include "InputFixture.h"
#include "common/KillPoints.h"
#include "frame/frmAUSWAHL.h"
#include "grid/GridControl.h"

#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

using namespace vnt;
using namespace vnt::test;

namespace {

// Clicks list entries of the dialog the way the user does: each click makes one entry current
// and toggles it (Ctrl+click), or selects it alone (plain click).
void ctrlClick(frmAUSWAHL &d, int row)
{
    d.lstKEN->setCurrentRow(row, QItemSelectionModel::Toggle);
}

QStringList selectedNames(const frmAUSWAHL &d)
{
    QStringList s;
    for (int i = 0; i < d.lstKEN->count(); ++i)
        if (d.lstKEN->item(i)->isSelected())
            s << d.lstKEN->item(i)->text();
    return s;
}

} // namespace

class RecordTest : public InputTest {
protected:
    void SetUp() override
    {
        InputTest::SetUp();
        // names out of id order; "M" is a user record here, id 0 the multiple evaluation
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT) VALUES (0, 'M', 'Mehrfachauswertung', 0), "
                            "(1, 'C', 'drei', 1), (2, 'A', NULL, 0), (3, 'b', 'zwei', 1), (4, 'M', 'user', 0)"));
        exec(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (1, 0), (3, 1)"));
        exec(QStringLiteral("INSERT INTO M1 (IDM) VALUES (1)"));
    }
    QString active() const { return rows(QStringLiteral("SELECT group_concat(ID) FROM (SELECT ID FROM E1 WHERE AKT=1 ORDER BY ID)")); }
    TestHost host{ctx};
};

TEST_F(RecordTest, DialogListsByNameAndPreselectsByMode)
{
    struct Mode { const char *tag; int lang; const char *caption; const char *cancel; QStringList preselected; };
    const Mode modes[] = {{"A", 3, "Datei/Auswahl", "Abbrechen", {"b", "C"}},
                          {"O", 3, "Datei/Öffnen", "Abbrechen", {"b"}},
                          {"L", 1, "File/Delete", "Cancel", {"b", "C"}},
                          {"X", 3, "Auswahl", "Abbrechen", {"b", "C"}}};
    for (const Mode &m : modes) {
        SCOPED_TRACE(m.tag);
        ctx.tag = QString::fromLatin1(m.tag);
        ctx.sprache = m.lang;
        frmAUSWAHL d(ctx);
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8(m.caption));
        EXPECT_EQ(d.cmdABBRECHEN->text(), QString::fromLatin1(m.cancel));
        ASSERT_EQ(d.lstKEN->count(), 4);   // the multiple evaluation is not listed, the user's "M" is
        EXPECT_EQ(d.lstKEN->item(0)->text(), "A");
        EXPECT_EQ(d.lstKEN->item(3)->text(), "M");
        EXPECT_EQ(selectedNames(d), m.preselected);
        const QString folder = QString::fromLocal8Bit(qgetenv("VANTREL_SCREENSHOTS"));
        if (!folder.isEmpty())
            EXPECT_TRUE(d.grab().save(folder + QStringLiteral("/auswahl-%1.png").arg(QString::fromLatin1(m.tag))));
    }
}

TEST_F(RecordTest, OpenModeKeepsOneEntry)
{
    ctx.tag = QStringLiteral("O");
    frmAUSWAHL d(ctx);
    // a click on the one selected entry changes no selection but shows its comment
    d.lstKEN->setCurrentRow(1, QItemSelectionModel::NoUpdate);
    emit d.lstKEN->itemClicked(d.lstKEN->item(1));
    EXPECT_EQ(d.lstKEN->toolTip(), "zwei");
    ctrlClick(d, 0);   // adding "A" to "b" is undone for the clicked entry
    EXPECT_EQ(selectedNames(d), QStringList{"b"});
    d.lstKEN->setCurrentRow(2, QItemSelectionModel::ClearAndSelect);
    EXPECT_EQ(selectedNames(d), QStringList{"C"});
    EXPECT_EQ(d.lstKEN->toolTip(), "drei");
    d.cmdOK_Click();
    EXPECT_EQ(ctx.tag, "OK");
    EXPECT_EQ(active(), "1");
}

TEST_F(RecordTest, SelectModeChecksTheEvaluationOfAddedRecords)
{
    ctx.tag = QStringLiteral("A");
    frmAUSWAHL d(ctx);
    d.lstKEN->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);   // one record alone is never checked
    EXPECT_EQ(d.lstKEN->toolTip(), "");                                // a Null comment
    {
        Boxes b;
        b.answer(ui::vbOK);
        ctrlClick(d, 2);   // "C" is evaluated: no message; then "M" (id 4) has no A1 row
        ctrlClick(d, 3);
        ASSERT_EQ(b.records().size(), 1u);
        EXPECT_EQ(b.records()[0].text, "Datensatz M muß zuerst einzeln ausgewertet werden!");
        EXPECT_EQ(b.records()[0].title, "Datei/Auswahl");
    }
    EXPECT_EQ(selectedNames(d), (QStringList{"A", "C"}));
    {
        Boxes b;
        b.answer(ui::vbOK);
        ctrlClick(d, 1);   // "b" needs recalculation: message, stays selected
    }
    EXPECT_EQ(selectedNames(d), (QStringList{"A", "b", "C"}));
    d.cmdOK_Click();
    EXPECT_EQ(active(), "1,2,3");
}

// OK sets every mark in one unit of work: a run killed at any instant of it leaves the marks as
// they were or as chosen, never some records marked anew and others not.
TEST_F(RecordTest, OkSetsTheActiveMarksAsOneUnit)
{
    KillPoints kills(cnn->path());
    cnn->Close();
    cnn = ctx.cnn = db::openDatabase(kills.database());   // through the layer that sees the kill points
    ctx.tag = QStringLiteral("A");
    frmAUSWAHL d(ctx);
    d.lstKEN->setCurrentRow(0, QItemSelectionModel::ClearAndSelect);   // "A" alone, for "b" and "C"
    d.cmdOK_Click();
    EXPECT_EQ(ctx.tag, "OK");
    EXPECT_EQ(kills.seen(QStringLiteral("SELECT group_concat(ID) FROM (SELECT ID FROM E1 WHERE AKT=1 ORDER BY ID)")),
              QStringList({"1,3", "2"}));
}

TEST_F(RecordTest, CancelWritesNothing)
{
    ctx.tag = QStringLiteral("L");
    frmAUSWAHL d(ctx);
    d.lstKEN->clearSelection();
    d.cmdABBRECHEN_Click();
    EXPECT_EQ(ctx.tag, "Abbrechen");
    EXPECT_EQ(active(), "1,3");

    // Esc is the cancel button; closing by the window frame leaves the mode letter
    for (const auto &[esc, tag] : {std::pair(true, "Abbrechen"), std::pair(false, "L")}) {
        ctx.tag = QStringLiteral("L");
        frmAUSWAHL e(ctx);
        e.show();
        e.lstKEN->clearSelection();
        if (esc) {
            QKeyEvent key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QCoreApplication::sendEvent(&e, &key);
        } else {
            e.close();
        }
        EXPECT_FALSE(e.isVisible());
        EXPECT_EQ(ctx.tag, tag);
        EXPECT_EQ(active(), "1,3");
    }
}

TEST_F(RecordTest, SelectWithTwoRecordsDiscardsTheMultipleEvaluation)
{
    Boxes b;
    b.modal([](QDialog &d) {
        auto &a = dynamic_cast<frmAUSWAHL &>(d);
        a.lstKEN->clearSelection();   // keeps "b" and "C"... then picks "A" and "C" (evaluated rules aside)
        a.lstKEN->item(2)->setSelected(true);
        a.lstKEN->item(0)->setSelected(true);
        a.cmdOK_Click();
        return int(QDialog::Accepted);
    });
    mnuAUSWAHL_Click(host);
    EXPECT_EQ(active(), "1,2");
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM E1 WHERE ID=0")), "0");
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM M1")), "0");
    EXPECT_EQ(host.panel6, "A,C");
    EXPECT_TRUE(ctx.geaendert);
}

TEST_F(RecordTest, DeleteAsksPerRecordAndTakesAllItsRows)
{
    exec(QStringLiteral("DELETE FROM A1"));
    for (const QString &t : recordTables())
        exec(QStringLiteral("INSERT INTO [%1] (ID) VALUES (1), (3)").arg(t));
    Boxes b;
    b.modal([](QDialog &d) {
        dynamic_cast<frmAUSWAHL &>(d).cmdOK_Click();
        return int(QDialog::Accepted);
    });
    b.answer(ui::vbOK).answer(ui::vbCancel);   // "C" (id 1) deleted, "b" kept
    mnuLOESCHEN_Click(host);
    EXPECT_EQ(b.records()[1].text, "Datensatz C wird gelöscht!");
    EXPECT_EQ(b.records()[1].title, "&mnuLOESCHEN");
    EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(ID) FROM (SELECT ID FROM E1 ORDER BY ID)")), "0,2,3,4");
    for (const QString &t : recordTables())
        EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(ID) FROM [%1]").arg(t)), "3") << t.toStdString();
    EXPECT_EQ(host.panel6, "b");
    EXPECT_TRUE(ctx.geaendert);
}

TEST_F(RecordTest, NewSaveOverwriteAndDiscard)
{
    mnuNEU_Click(host);
    EXPECT_EQ(host.panel6, "-");
    EXPECT_TRUE(host.inputState);
    mdiEINGABE *w = inputWindow(host.area);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(active(), "1,3");   // New changes no mark
    // only the panels end the input: the window's frame offers no close
    auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget());
    ASSERT_NE(sub, nullptr);
    EXPECT_FALSE(sub->windowFlags() & Qt::WindowCloseButtonHint);
    for (QAction *a : sub->systemMenu()->actions())
        EXPECT_FALSE(a->isVisible() && a->shortcut() == QKeySequence::Close);

    // a new name gets the highest id plus 1 and becomes the only active record
    w->txtKEN->setText(QStringLiteral("N'eu"));
    ASSERT_TRUE(panelOK(host));
    EXPECT_EQ(rows(QStringLiteral("SELECT ID, KEN FROM E1 WHERE AKT=1")), "5;N'eu");
    EXPECT_EQ(inputWindow(host.area), nullptr);
    EXPECT_FALSE(host.inputState);
    EXPECT_TRUE(ctx.geaendert);
    EXPECT_EQ(host.panel6, "N'eu");

    // the user's record "M" is found by its name, not taken for the multiple evaluation
    mnuNEU_Click(host);
    w = inputWindow(host.area);
    w->txtKEN->setText(QStringLiteral("m"));
    {
        Boxes b;
        b.answer(ui::vbNo);   // No: nothing changes, the window stays
        EXPECT_FALSE(panelOK(host));
        ASSERT_EQ(b.records().size(), 1u);
        EXPECT_EQ(b.records()[0].text, "Soll der vorhandene Datensatz m überschrieben werden?");
        EXPECT_EQ(b.records()[0].style, ui::vbYesNo | ui::vbQuestion);
        EXPECT_EQ(b.records()[0].title, "OK");
    }
    EXPECT_NE(inputWindow(host.area), nullptr);
    ctx.sprache = 1;
    {
        Boxes b;
        b.answer(ui::vbYes);
        ASSERT_TRUE(panelOK(host));
        EXPECT_EQ(b.records()[0].text, "Do you want to overwrite the filem?");
    }
    EXPECT_EQ(rows(QStringLiteral("SELECT ID, KEN, KOM FROM E1 WHERE ID IN (0, 4) ORDER BY ID")), "0;M;Mehrfachauswertung|4;m;Null");
    EXPECT_EQ(active(), "4");

    // panel 9 discards the window
    mnuNEU_Click(host);
    panelAbbrechen(host);
    EXPECT_EQ(inputWindow(host.area), nullptr);
    EXPECT_FALSE(host.inputState);
}

TEST_F(RecordTest, SavingAChangedRecordMarksItsResultsForRecalculation)
{
    mnuNEU_Click(host);
    mdiEINGABE *w = inputWindow(host.area);
    w->txtKEN->setText(QStringLiteral("N"));
    w->msgFLX[0]->setTextMatrix(1, 1, QStringLiteral("5"));
    ASSERT_TRUE(panelOK(host));
    exec(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (5, 0)"));   // evaluated and shown
    const auto openAndSave = [&](const QString &depth) {
        Boxes b;
        b.modal([](QDialog &d) {
            dynamic_cast<frmAUSWAHL &>(d).cmdOK_Click();   // the active record, as preselected
            return int(QDialog::Accepted);
        });
        b.answer(ui::vbYes);   // save over it
        mnuOEFFNEN_Click(host);
        mdiEINGABE *opened = inputWindow(host.area);
        ASSERT_NE(opened, nullptr);
        if (!depth.isEmpty())
            opened->msgFLX[0]->setTextMatrix(1, 1, depth);
        ASSERT_TRUE(panelOK(host));
    };
    // Saved as it was, its results still hold.
    openAndSave(QString());
    EXPECT_EQ(rows(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 5")), "Falsch");
    // Saved with a new depth, its results are those of its former data: Berechnen must not
    // show them until the record has been evaluated again.
    openAndSave(QStringLiteral("8"));
    EXPECT_EQ(rows(QStringLiteral("SELECT Z FROM E2 WHERE ID = 5")), "8");
    EXPECT_EQ(rows(QStringLiteral("SELECT BONEU FROM A1 WHERE ID = 5")), "Wahr");
}

TEST_F(RecordTest, RecordWithoutNameIsNotSaved)
{
    mnuNEU_Click(host);
    inputWindow(host.area)->txtKEN->setText(QStringLiteral("  "));
    const QString before = rows(QStringLiteral("SELECT * FROM E1"));
    Boxes b;
    b.answer(ui::vbOK);
    EXPECT_FALSE(panelOK(host));
    EXPECT_EQ(b.records()[0].text, "Datensatzkennzeichnung fehlt!");
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM E1")), before);
    EXPECT_NE(inputWindow(host.area), nullptr);
}

TEST_F(RecordTest, FailedOverwriteLeavesTheDatabaseAsBefore)
{
    exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (1, 0, 3)"));
    const auto snapshot = [&] {
        QString s;
        for (const char *t : {"E1", "E2", "E3", "E4", "E5", "E6"})
            s += rows(QStringLiteral("SELECT * FROM %1 ORDER BY ID").arg(QString::fromLatin1(t))) + "#";
        return s;
    };
    const QString before = snapshot();
    mnuNEU_Click(host);
    mdiEINGABE *w = inputWindow(host.area);
    w->txtKEN->setText(QStringLiteral("C"));
    w->msgFLX[0]->setTextMatrix(1, 1, QStringLiteral("7"));
    w->txtFNE->setText(QStringLiteral("viel"));
    Boxes b;
    b.answer(ui::vbYes).answer(ui::vbOK);   // overwrite "C"; then the data error of FNE
    EXPECT_FALSE(panelOK(host));
    EXPECT_EQ(snapshot(), before);
    EXPECT_NE(inputWindow(host.area), nullptr);
    EXPECT_TRUE(host.inputState);
    EXPECT_FALSE(ctx.geaendert);
}

TEST_F(RecordTest, OpenShowsTheOneChosenRecord)
{
    exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (3, 0, 4), (3, 1, 8)"));
    Boxes b;
    // first the dialog leaves two records active: the note, OK shows the dialog again
    b.modal([](QDialog &d) {
        auto &a = dynamic_cast<frmAUSWAHL &>(d);
        a.lstKEN->item(2)->setSelected(true);
        a.cmdOK_Click();
        return int(QDialog::Accepted);
    });
    b.answer(ui::vbOK);
    b.modal([](QDialog &d) {
        dynamic_cast<frmAUSWAHL &>(d).cmdOK_Click();   // "b" only, as preselected
        return int(QDialog::Accepted);
    });
    mnuOEFFNEN_Click(host);
    EXPECT_EQ(b.records()[1].text, "Es kann nur ein aktueller Datensatz geöffnet werden!");
    mdiEINGABE *w = inputWindow(host.area);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->txtKEN->text(), "b");
    EXPECT_EQ(w->msgFLX[0]->Rows(), 3);
    EXPECT_EQ(host.panel6, "b");
    EXPECT_TRUE(host.inputState);
    EXPECT_FALSE(ctx.geaendert);
}
