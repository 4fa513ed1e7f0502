// What the user typed into the input window's grids survives: an entry still open in a cell
// editor when a row button on another tab moves the sections, an entry refused once and then
// corrected, and a record whose tables the window did not write itself saved unchanged.
#include "InputFixture.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

using namespace vnt;
using namespace vnt::test;

namespace {

QStringList column(const GridControl *g, int col)
{
    QStringList l;
    for (int r = g->FixedRows(); r < g->Rows(); ++r)
        l << g->TextMatrix(r, col);
    return l;
}

// Three sections with the depths 2, 5 and 10, and the depth of one of them being typed over
// without Enter.
void sectionsWithOpenDepth(mdiEINGABE &w, int row, const QString &typed)
{
    w.txtKEN->setText(QStringLiteral("P1"));
    for (int k = 0; k < 2; ++k)
        w.cmdH_Click(0);
    const char *z[] = {"2", "5", "10"};
    for (int r = 1; r <= 3; ++r)
        w.msgFLX[0]->setTextMatrix(r, 1, QString::fromLatin1(z[r - 1]));
    w.msgFLX[0]->setRow(row);
    w.msgFLX[0]->setCol(1);
    w.FLX(0).BEARBEITEN(0, 0);
    w.txtFLX[0]->setText(typed);
}

} // namespace

// A row button on another tab moves the sections under the open editor: the typed depth must
// stay with the section it was typed for, and a later save must not fail on a row that went.
TEST_F(InputTest, OpenEntryStaysWithItsSectionWhenRowButtonsActElsewhere)
{
    struct Case {
        const char *name;
        int editRow;
        const char *typed;
        bool insert;   // else remove
        int grid, row; // the tab's grid and its current row when the button is pressed
        QStringList depths;
        const char *saved;
    };
    const Case cases[] = {
        {"insert before the open entry", 3, "12", true, 1, 1, {"", "2", "5", "12,000"}, "Null|2|5|12"},
        {"remove before the open entry", 2, "6", false, 3, 1, {"6,000", "10"}, "6|10"},
        {"remove with the entry on the last section", 3, "12", false, 3, 1, {"5", "12,000"}, "5|12"},
        {"remove the section being typed in", 2, "6", false, 2, 2, {"2", "10"}, "2|10"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM E2"));
        mdiEINGABE w(ctx);
        sectionsWithOpenDepth(w, c.editRow, QString::fromLatin1(c.typed));
        w.SSTab->setCurrentIndex(c.grid + 1);
        w.msgFLX[size_t(c.grid)]->setRow(c.row);
        c.insert ? w.cmdH_Click(c.grid) : w.cmdW_Click(c.grid);
        EXPECT_TRUE(w.txtFLX[0]->isHidden());
        EXPECT_EQ(column(w.msgFLX[0], 1), c.depths);
        int32_t id = 1;
        ASSERT_TRUE(w.OK(id));
        EXPECT_EQ(rows(QStringLiteral("SELECT Z FROM E2 WHERE ID=1 ORDER BY I2")), c.saved);
    }
}

// An entry the column refuses stops the row button: the sections stay where they are, and
// the tab with the open entry comes to the front so the user sees what to correct.
TEST_F(InputTest, RefusedOpenEntryStopsTheRowButtons)
{
    mdiEINGABE w(ctx);
    sectionsWithOpenDepth(w, 3, QStringLiteral("-200000000"));
    for (bool insert : {true, false}) {
        SCOPED_TRACE(insert);
        w.SSTab->setCurrentIndex(2);
        w.msgFLX[1]->setRow(1);
        Boxes b;
        b.answer(ui::vbOK);
        insert ? w.cmdH_Click(1) : w.cmdW_Click(1);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(w.msgFLX[size_t(i)]->Rows(), 4) << i;
        EXPECT_EQ(column(w.msgFLX[0], 1), (QStringList{"2", "5", "10"}));
        EXPECT_FALSE(w.txtFLX[0]->isHidden());
        EXPECT_EQ(w.txtFLX[0]->text(), "-200000000");
        EXPECT_EQ(w.SSTab->currentIndex(), 1);
        ASSERT_EQ(b.records().size(), 1u);
        EXPECT_TRUE(b.records()[0].title.endsWith("Spalte z"));
    }
}

// A depth refused by its limits keeps its editor open; a click and a double click on a choice
// cell of the same grid meanwhile must neither open the choice list nor take the entry's cell,
// so the corrected entry is committed by Enter and saved.
TEST_F(InputTest, CorrectedEntryAfterAChoiceCellIsCommittedAndSaved)
{
    mdiEINGABE w(ctx);
    w.txtKEN->setText(QStringLiteral("P1"));
    GridControl *s = w.msgFLX[0];
    s->setRow(1);
    s->setCol(2);
    w.msgFLX_KeyPress(0, '5');
    w.txtFLX[0]->setText(QStringLiteral("500"));
    {
        Boxes b;
        b.answer(ui::vbOK);   // the limits, on Enter
        b.answer(ui::vbOK);   // again, on the click on the rock cell
        w.txtFLX_KeyPress(0, 13);
        s->setCol(3);
        emit s->Click();
        emit s->DblClick();
    }
    EXPECT_TRUE(w.cboFLX0->isHidden());
    EXPECT_EQ(w.FLX(0).ESNR(), 2);
    ASSERT_FALSE(w.txtFLX[0]->isHidden());
    EXPECT_EQ(w.txtFLX[0]->text(), "500");

    w.txtFLX[0]->setText(QStringLiteral("50"));
    w.txtFLX_KeyPress(0, 13);
    EXPECT_TRUE(w.txtFLX[0]->isHidden());
    EXPECT_EQ(s->TextMatrix(1, 2), "50,000");
    int32_t id = 1;
    ASSERT_TRUE(w.OK(id));
    EXPECT_EQ(rows(QStringLiteral("SELECT D FROM E3 WHERE ID=1")), "50");
}

// Records from an import or an older database may lack the rock rows (E4) or others. Opening
// and saving such a record unchanged keeps every row it had; sections the window showed may
// gain the rows of the missing tables, always with their section number.
TEST_F(InputTest, RecordWithMissingTablesKeepsItsRowsOnAnUnchangedSave)
{
    struct Case {
        const char *name;
        QStringList tables;
    };
    const Case cases[] = {
        {"no rock rows", {"E2", "E3"}},
        {"no rock rows, with times", {"E2", "E3", "E5"}},
        {"depths only", {"E2"}},
    };
    const QString values = QStringLiteral(
        "SELECT ifnull((SELECT group_concat(I2 || ':' || ifnull(Z, '-')) FROM (SELECT * FROM E2 WHERE ID=3 ORDER BY I2)), '') || '#' ||"
        " ifnull((SELECT group_concat(I2 || ':' || ifnull(D, '-') || ':' || ifnull(ZKT, '-')) FROM (SELECT * FROM E3 WHERE ID=3 ORDER BY I2)), '') || '#' ||"
        " ifnull((SELECT group_concat(I2 || ':' || ifnull(BRZ, '-') || ':' || ifnull(FA, '-')) FROM (SELECT * FROM E5 WHERE ID=3 ORDER BY I2)), '')");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (const char *t : {"E1", "E2", "E3", "E4", "E5"})
            exec(QStringLiteral("DELETE FROM %1").arg(QString::fromLatin1(t)));
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
        for (int i = 0; i < 3; ++i) {
            if (c.tables.contains("E2"))
                exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (3, %1, %2)").arg(i).arg((i + 1) * 4));
            if (c.tables.contains("E3"))
                exec(QStringLiteral("INSERT INTO E3 (ID, I2, D, ZKT) VALUES (3, %1, 1.5, %2)").arg(i).arg(100 * i));
            if (c.tables.contains("E5"))
                exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, FA) VALUES (3, %1, %2, 1)").arg(i).arg(i + 7));
        }
        const QString before = rows(values);
        mdiEINGABE w(ctx);
        w.OEFFNEN(3);
        EXPECT_TRUE(w.msgFLX[0]->isEnabled());
        EXPECT_TRUE(w.msgFLX[2]->isEnabled());
        int32_t id = 3;
        ASSERT_TRUE(w.OK(id));
        const QString after = rows(values);
        // the tables the record had are as they were; a table it lacked gains the sections
        const QStringList b = before.split('#'), a = after.split('#');
        ASSERT_EQ(a.size(), 3);
        for (int t = 0; t < 3; ++t)
            if (!b[t].isEmpty())
                EXPECT_EQ(a[t], b[t]) << t;
        for (const char *t : {"E2", "E3", "E4", "E5"})
            EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM %1 WHERE ID=3 AND I2 IS NULL").arg(QString::fromLatin1(t))), "0") << t;
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM E2 WHERE ID=3")), "3");
    }
}
