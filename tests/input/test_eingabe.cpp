// The input window: what it holds after loading, a record carried from the window into the
// tables and back, and the row operations that keep the four grids in step.
#include "InputFixture.h"
#include "grid/GridControl.h"
#include "grid/clsFLX.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLineEdit>
#include <QRadioButton>
#include <QKeyEvent>
#include <QCoreApplication>
#include <QTabWidget>

using namespace vnt;
using namespace vnt::test;

namespace {

QStringList choices(const clsFLX &f, int col)
{
    QStringList l;
    const FlexValue v = f.ELCBO(col);
    for (int i = 0; i <= v.ubound(); ++i)
        l << v.at(i).text();
    return l;
}

QStringList column(const GridControl *g, int col)
{
    QStringList l;
    for (int r = g->FixedRows(); r < g->Rows(); ++r)
        l << g->TextMatrix(r, col);
    return l;
}

// Types a record into the window: three sections, times of section 0 only.
void enterRecord(mdiEINGABE &w, const QString &dec)
{
    w.txtKEN->setText(QStringLiteral("P1"));
    w.txtKOM->setText(QStringLiteral("Pfahl 1"));
    w.txtDATUMA->setText(sys::locale().toString(QDate(2021, 5, 3), QLocale::ShortFormat));
    w.txtNN->setText(QStringLiteral("12") + dec + QStringLiteral("5"));
    w.txtGBRZ->setText(QStringLiteral("20"));
    w.txtFNE->setText(QStringLiteral("0") + dec + QStringLiteral("25"));
    for (int k = 0; k < 2; ++k)
        w.cmdH_Click(0);   // three sections in every grid
    GridControl *s = w.msgFLX[0];
    const char *z[] = {"2", "5", "10"};
    for (int r = 1; r <= 3; ++r) {
        s->setTextMatrix(r, 1, QString::fromLatin1(z[r - 1]));
        s->setTextMatrix(r, 3, QStringLiteral("KI"));
        s->setTextMatrix(r, 4, QStringLiteral("T2"));
        s->setTextMatrix(r, 8, QString::number(r + 1));
    }
    w.msgFLX[1]->setTextMatrix(1, 1, QStringLiteral("3") + dec + QStringLiteral("5"));
    w.msgFLX[1]->setTextMatrix(1, 2, QStringLiteral("2"));
    w.msgFLX[2]->setTextMatrix(2, 1, QStringLiteral("1000000"));
    w.msgFLX[3]->setTextMatrix(3, 1, QStringLiteral("2"));
    w.cboKENK->setEditText(QStringLiteral("K2"));
    w.optK[2]->click();
    w.optZAUF[1]->click();
}

} // namespace

TEST_F(InputTest, LoadingGivesTheEmptyRecordAndTheChoiceLists)
{
    ctx.sprache = 1;   // the window's captions stay German
    mdiEINGABE w(ctx);
    EXPECT_EQ(w.SSTab->count(), 6);
    EXPECT_EQ(w.SSTab->currentIndex(), 0);
    EXPECT_EQ(w.SSTab->tabText(5), "Auswertevorgaben");
    const int cols[] = {9, 7, 5, 5};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(w.msgFLX[size_t(i)]->Cols(), cols[i]);
        EXPECT_EQ(w.msgFLX[size_t(i)]->Rows(), 2);   // one empty data row
        EXPECT_EQ(w.msgFLX[size_t(i)]->TextMatrix(1, 0), "0");
    }
    EXPECT_EQ(w.msgFLX[0]->TextMatrix(0, 8), "Pers.");
    EXPECT_EQ(w.FLX(0).ELSTTT().at(8).text(), "Anzahl der Personen");

    // ids 1, 2, 4 in id order; a doubled id offers neither row; an empty table one empty entry
    EXPECT_EQ(choices(w.FLX(0), 4), (QStringList{"T1", "T2", "T4", ""}));
    EXPECT_EQ(choices(w.FLX(0), 5), (QStringList{"V1", "", "", ""}));
    EXPECT_EQ(choices(w.FLX(0), 6), (QStringList{""}));
    EXPECT_EQ(choices(w.FLX(0), 7), (QStringList{"F0", "F1", ""}));
    EXPECT_EQ(choices(w.FLX(0), 3), (QStringList{"S", "KI", "U", ""}));
    // unit-cost sets in IDK order, the one without a key left out; the box starts empty
    ASSERT_EQ(w.cboKENK->count(), 2);
    EXPECT_EQ(w.cboKENK->itemText(0), "K1");
    EXPECT_EQ(w.cboKENK->itemText(1), "K2");
    EXPECT_EQ(w.cboKENK->currentText(), "");
    EXPECT_TRUE(w.optK[0]->isChecked());
    EXPECT_TRUE(w.optZAUF[0]->isChecked());
}

TEST_F(InputTest, CellLimitsOfTheGrids)
{
    mdiEINGABE w(ctx);
    struct Entry { int grid, col; const char *text; bool accepted; };
    const Entry entries[] = {{2, 1, "1000000", true}, {2, 1, "-1", false}, {3, 2, "1000000", true},
                             {3, 2, "-1", false},     {1, 1, "10001", false}, {1, 1, "10000", true}};
    for (const Entry &e : entries) {
        SCOPED_TRACE(e.text);
        GridControl *g = w.msgFLX[size_t(e.grid)];
        g->setRow(1);
        g->setCol(e.col);
        g->setTextMatrix(1, e.col, QString());
        w.FLX(e.grid).BEARBEITEN(0, 0);
        w.txtFLX[size_t(e.grid)]->setText(QString::fromLatin1(e.text));
        Boxes b;
        if (!e.accepted)
            b.answer(ui::vbOK);
        EXPECT_EQ(w.commitEditors(), e.accepted);
        if (!e.accepted) {
            w.txtFLX[size_t(e.grid)]->clear();
            w.txtFLX[size_t(e.grid)]->hide();
        }
    }
}

TEST_F(InputTest, RowsGoInAndOutAtOneIndexInAllFourGrids)
{
    mdiEINGABE w(ctx);
    for (int k = 0; k < 3; ++k)
        w.cmdH_Click(0);
    for (int i = 0; i < 4; ++i)
        for (int r = 1; r <= 4; ++r)
            w.msgFLX[size_t(i)]->setTextMatrix(r, 1, QStringLiteral("%1").arg(r * 10));
    // the sections grid at row 3, the times grid left at row 1
    w.msgFLX[0]->setRow(3);
    w.msgFLX[1]->setRow(1);
    w.cmdH_Click(0);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(column(w.msgFLX[size_t(i)], 1), (QStringList{"10", "20", "", "30", "40"}));
        EXPECT_EQ(column(w.msgFLX[size_t(i)], 0), (QStringList{"0", "1", "2", "3", "4"}));
    }
    // removing from the factors tab removes the same section everywhere, the sections grid too
    w.msgFLX[3]->setRow(2);
    w.msgFLX[0]->setRow(5);
    w.cmdW_Click(3);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(column(w.msgFLX[size_t(i)], 1), (QStringList{"10", "", "30", "40"})) << i;

    // Enter on the last cell of the times grid appends a section to every grid
    GridControl *t = w.msgFLX[1];
    t->setRow(t->Rows() - 1);
    t->setCol(t->Cols() - 1);
    w.msgFLX_KeyPress(1, 13);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(w.msgFLX[size_t(i)]->Rows(), 6) << i;
}

// A record without times opens with the times and factors grids disabled. Their buttons then
// neither add a section to the other grids nor remove one from them.
TEST_F(InputTest, DisabledGridTakesUpTheSectionsOfTheOthers)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
    for (int i = 0; i < 3; ++i)
        for (const char *t : {"E2", "E3", "E4"})
            exec(QStringLiteral("INSERT INTO %1 (ID, I2) VALUES (3, %2)").arg(QString::fromLatin1(t)).arg(i));
    exec(QStringLiteral("UPDATE E2 SET Z = (I2 + 1) * 2 WHERE ID=3"));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    ASSERT_FALSE(w.msgFLX[1]->isEnabled());
    ASSERT_FALSE(w.msgFLX[3]->isEnabled());
    w.msgFLX[0]->setRow(2);

    w.cmdW_Click(1);   // nothing to remove on a grid without rows
    w.cmdH_Click(0);   // a new section leaves the grids without rows as they are
    EXPECT_EQ(column(w.msgFLX[0], 1), (QStringList{"2", "", "4", "6"}));
    EXPECT_FALSE(w.msgFLX[1]->isEnabled());
    EXPECT_EQ(w.msgFLX[2]->Rows(), 5);
    w.cmdW_Click(0);

    w.cmdH_Click(1);   // the times and factors grids (both E5) take up the three sections
    for (int i : {1, 3}) {
        EXPECT_TRUE(w.msgFLX[size_t(i)]->isEnabled()) << i;
        EXPECT_EQ(column(w.msgFLX[size_t(i)], 0), (QStringList{"0", "1", "2"})) << i;
    }
    EXPECT_EQ(column(w.msgFLX[0], 1), (QStringList{"2", "4", "6"}));
    w.msgFLX[1]->setTextMatrix(3, 1, QStringLiteral("5"));
    w.msgFLX[3]->setTextMatrix(1, 1, QStringLiteral("1"));
    int32_t id = 3;
    ASSERT_TRUE(w.OK(id));
    EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(I2 || ':' || ifnull(CAST(BRZ AS INTEGER), '-') || ':' || ifnull(CAST(FA AS INTEGER), '-')) FROM "
                                  "(SELECT * FROM E5 WHERE ID=3 ORDER BY I2)")),
              "0:-:1,1:-:-,2:5:-");
    EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(I2) FROM (SELECT I2 FROM E2 WHERE ID=3 ORDER BY I2)")), "0,1,2");
}

TEST_F(InputTest, EmptyRecordNameIsRefusedInTheUsersLanguage)
{
    for (int lang : {3, 1}) {
        ctx.sprache = lang;
        mdiEINGABE w(ctx);
        w.txtKEN->setText(QStringLiteral("   "));
        Boxes b;
        b.answer(ui::vbOK);
        EXPECT_FALSE(w.txtKEN_Validate());
        ASSERT_EQ(b.records().size(), 1u);
        EXPECT_EQ(b.records()[0].title, lang == 3 ? "Datenfehler" : "Data error");
        EXPECT_EQ(b.records()[0].text, lang == 3 ? "Datensatzkennzeichnung fehlt!" : "File name is missing!");
        EXPECT_EQ(b.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
        EXPECT_EQ(w.txtKEN->text(), "   ");
        w.txtKEN->setText(QStringLiteral("P1"));
        EXPECT_TRUE(w.txtKEN_Validate());
    }
}

TEST_F(InputTest, KeysOfTheWindow)
{
    mdiEINGABE w(ctx);
    // Ctrl+S presses panel 8
    QKeyEvent save(QEvent::KeyPress, Qt::Key_S, Qt::ControlModifier, QStringLiteral("\x13"));
    QCoreApplication::sendEvent(w.txtKOM, &save);
    EXPECT_EQ(ctx.panelClicks, QList<int>{8});
    // the keypad's decimal key types the user's decimal sign into a cell editor
    ctx.dezimalpunkt = QStringLiteral(",");
    GridControl *t = w.msgFLX[1];
    t->setRow(1);
    t->setCol(1);
    QKeyEvent dot(QEvent::KeyPress, Qt::Key_Period, Qt::KeypadModifier, QStringLiteral("."));
    QCoreApplication::sendEvent(t, &dot);
    EXPECT_FALSE(w.txtFLX[1]->isHidden());
    EXPECT_EQ(w.txtFLX[1]->text(), ",");
    // Alt+Q asks the main window to quit
    bool quit = false;
    w.onQuit = [&] { quit = true; };
    QKeyEvent q(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier, QStringLiteral("q"));
    QCoreApplication::sendEvent(w.txtKEN, &q);
    EXPECT_TRUE(quit);
}

TEST_F(InputTest, SavedRecordOpensAsEnteredInBothLocales)
{
    for (auto lang : {QLocale::German, QLocale::English}) {
        SCOPED_TRACE(lang == QLocale::German ? "de" : "en");
        LocaleScope locale(lang);
        const QString dec = lang == QLocale::German ? QStringLiteral(",") : QStringLiteral(".");
        exec(QStringLiteral("DELETE FROM E1; DELETE FROM E2; DELETE FROM E3; DELETE FROM E4; DELETE FROM E5; DELETE FROM E6"));
        {
            mdiEINGABE w(ctx);
            enterRecord(w, dec);
            int32_t id = 4;
            ASSERT_TRUE(w.OK(id));
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT ID, KEN, KOM, AKT, NN, GBRZ, FNE, GNTZ, ZGW FROM E1")), "4;P1;Pfahl 1;" + QString(lang == QLocale::German ? "Wahr" : "True") + ";12" + dec + "5;20;0" + dec + "25;Null;Null")
            << "Boolean text aside, the numbers are stored as numbers and empty boxes as Null";
        EXPECT_EQ(dump(cnn, QStringLiteral("SELECT I2, Z FROM E2 WHERE ID=4 ORDER BY I2")), "0;2|1;5|2;10");
        EXPECT_EQ(dump(cnn, QStringLiteral("SELECT typeof(BRZ), typeof(NTZ), typeof(AUZ) FROM E5 WHERE ID=4 AND I2=1")), "null;null;null");
        EXPECT_EQ(dump(cnn, QStringLiteral("SELECT BRZ*2 FROM E5 WHERE ID=4 AND I2=0")), "7");
        EXPECT_EQ(dump(cnn, QStringLiteral("SELECT KENK, K, ZAUF FROM E6 WHERE ID=4")), "K2;2;1");

        mdiEINGABE r(ctx);
        r.OEFFNEN(4);
        EXPECT_EQ(r.txtKEN->text(), "P1");
        EXPECT_EQ(r.txtKOM->text(), "Pfahl 1");
        EXPECT_EQ(r.txtNN->text(), "12" + dec + "5");
        EXPECT_EQ(r.txtFNE->text(), "0" + dec + "25");
        EXPECT_EQ(r.txtGNTZ->text(), "");
        EXPECT_EQ(r.txtDATUMA->text(), lang == QLocale::German ? "03.05.2021" : "5/3/2021");
        EXPECT_EQ(column(r.msgFLX[0], 1), (QStringList{"2", "5", "10"}));
        EXPECT_EQ(column(r.msgFLX[0], 3), (QStringList{"KI", "KI", "KI"}));
        EXPECT_EQ(column(r.msgFLX[0], 8), (QStringList{"2", "3", "4"}));
        EXPECT_EQ(column(r.msgFLX[1], 1), (QStringList{"3" + dec + "5", "", ""}));
        EXPECT_EQ(column(r.msgFLX[2], 1), (QStringList{"", "1000000", ""}));
        EXPECT_EQ(column(r.msgFLX[3], 1), (QStringList{"", "", "2"}));
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(column(r.msgFLX[size_t(i)], 0), (QStringList{"0", "1", "2"})) << i;
            EXPECT_TRUE(r.msgFLX[size_t(i)]->isEnabled()) << i;
        }
        EXPECT_EQ(r.cboKENK->currentText(), "K2");
        EXPECT_TRUE(r.optK[2]->isChecked());
        EXPECT_TRUE(r.optZAUF[1]->isChecked());
    }
}

// An opened record's dates save back unchanged, and the label's form TT.MM.JJ is taken, under
// every locale: the C locale of a fresh machine once showed "2 Mar 2026" and refused it on OK.
TEST_F(InputTest, DatesOpenAndSaveUnderEveryLocale)
{
    const double march2 = toDayCount(QDateTime(QDate(2026, 3, 2), QTime(0, 0)));
    for (const auto lang : kEveryLocale) {
        SCOPED_TRACE(LocaleScope::nameOf(lang));
        LocaleScope locale(lang);
        exec(QStringLiteral("DELETE FROM E1; INSERT INTO E1 (ID, KEN, AKT, DATUMA, DATUME) VALUES (3, 'P3', 1, %1, %2)")
                 .arg(march2)
                 .arg(march2 + 3));
        {
            mdiEINGABE w(ctx);
            w.OEFFNEN(3);
            EXPECT_EQ(w.txtDATUMA->text(), Variant::date(march2).toString());
            int32_t id = 3;
            EXPECT_TRUE(w.OK(id));
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT DATUMA, DATUME FROM E1 WHERE ID=3")),
                  Variant::date(march2).toString() + ";" + Variant::date(march2 + 3).toString());
        {
            mdiEINGABE w(ctx);
            w.OEFFNEN(3);
            w.txtDATUMA->setText(QStringLiteral("02.03.26"));
            w.txtDATUME->setText(QStringLiteral("5.3.2026"));
            int32_t id = 3;
            EXPECT_TRUE(w.OK(id));
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT DATUMA - %1, DATUME - %1 FROM E1 WHERE ID=3").arg(march2)), "0;3");
    }
}

// An opened record shows its numbers as typed ones show (the column's pattern), and saving it
// unchanged stores every digit it was read with.
TEST_F(InputTest, OpenedValuesShowInTheColumnFormatAndAreSavedWhole)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
    exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (3, 0, 1), (3, 1, 4.5)"));
    exec(QStringLiteral("INSERT INTO E3 (ID, I2, D, PER, ZKT) VALUES (3, 0, 0.88, 3, 1250), (3, 1, 0.88, 3, 0.5)"));
    exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, FA) VALUES (3, 0, 7, 0.125), (3, 1, 0.88, 1)"));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    auto shown = [&](int grid, int col) {
        QStringList l;
        for (int r = 1; r <= 2; ++r)
            l << w.msgFLX[size_t(grid)]->shownText(r, col);
        return l;
    };
    EXPECT_EQ(shown(0, 1), (QStringList{"1,000", "4,500"}));
    EXPECT_EQ(shown(0, 2), (QStringList{"0,880", "0,880"}));
    EXPECT_EQ(shown(0, 8), (QStringList{"3", "3"}));
    EXPECT_EQ(shown(1, 1), (QStringList{"7,00", "0,88"}));
    EXPECT_EQ(shown(2, 1), (QStringList{"1250,00", "0,50"}));
    EXPECT_EQ(shown(3, 1), (QStringList{"0,13", "1,00"}));
    int32_t id = 3;
    ASSERT_TRUE(w.OK(id));
    EXPECT_EQ(rows(QStringLiteral("SELECT FA FROM E5 WHERE ID=3 ORDER BY I2")), "0,125|1");
}

TEST_F(InputTest, FewerSectionsDeleteTheSurplusRows)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
    for (int i = 0; i < 5; ++i)
        for (const char *t : {"E2", "E3", "E4", "E5"})
            exec(QStringLiteral("INSERT INTO %1 (ID, I2) VALUES (3, %2)").arg(QString::fromLatin1(t)).arg(i));
    exec(QStringLiteral("INSERT INTO E2 (ID, I2) VALUES (8, 0)"));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    ASSERT_EQ(w.msgFLX[0]->Rows(), 6);
    for (int k = 0; k < 2; ++k)
        w.cmdW_Click(0);
    int32_t id = 3;
    ASSERT_TRUE(w.OK(id));
    for (const char *t : {"E2", "E3", "E4", "E5"})
        EXPECT_EQ(rows(QStringLiteral("SELECT group_concat(I2) FROM (SELECT I2 FROM %1 WHERE ID=3 ORDER BY I2)").arg(QString::fromLatin1(t))), "0,1,2") << t;
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM E2 WHERE ID=8")), "1");
}

TEST_F(InputTest, RecordWithoutRowsOpensWithDisabledGrids)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(w.msgFLX[size_t(i)]->isEnabled()) << i;
        EXPECT_EQ(w.msgFLX[size_t(i)]->Rows(), 2) << i;
    }
    EXPECT_EQ(w.cboKENK->currentText(), "");
    EXPECT_TRUE(w.optK[0]->isChecked());
}

// Each grid takes its section numbers from another table and grows to the largest table read
// into it: a record not written by this window shows where its tables disagree.
TEST_F(InputTest, GridsShowTablesOfDifferentLengthsAsTheyAre)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'P3', 1)"));
    const std::pair<const char *, int> tables[] = {{"E2", 2}, {"E3", 3}, {"E4", 2}, {"E5", 4}};
    for (const auto &[t, n] : tables)
        for (int i = 0; i < n; ++i)
            exec(QStringLiteral("INSERT INTO %1 (ID, I2) VALUES (3, %2)").arg(QString::fromLatin1(t)).arg(i));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    EXPECT_EQ(column(w.msgFLX[0], 0), (QStringList{"0", "1", ""}));        // E2; E3 and E4 grow it
    EXPECT_EQ(column(w.msgFLX[1], 0), (QStringList{"0", "1", "2", ""}));   // E3; E5 grows it
    EXPECT_EQ(column(w.msgFLX[2], 0), (QStringList{"0", "1", ""}));        // E4; E3 grows it
    EXPECT_EQ(column(w.msgFLX[3], 0), (QStringList{"0", "1", "2", "3"}));  // E5
}

TEST_F(InputTest, FailedWriteLeavesTheRecordAsItWas)
{
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT, NN) VALUES (3, 'P3', 'alt', 1, 7)"));
    exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (3, 0, 4), (3, 1, 9)"));
    const QString before = rows(QStringLiteral("SELECT * FROM E1")) + "#" + rows(QStringLiteral("SELECT * FROM E2"));
    mdiEINGABE w(ctx);
    w.OEFFNEN(3);
    w.txtKOM->setText(QStringLiteral("neu"));
    w.txtNN->setText(QStringLiteral("abc"));   // no number: the write of NN fails
    Boxes b;
    b.answer(ui::vbOK);
    int32_t id = 3;
    EXPECT_FALSE(w.OK(id));
    ASSERT_EQ(b.records().size(), 1u);
    EXPECT_EQ(b.records()[0].title, "Datenfehler");
    EXPECT_TRUE(b.records()[0].text.contains("NN"));
    EXPECT_EQ(rows(QStringLiteral("SELECT * FROM E1")) + "#" + rows(QStringLiteral("SELECT * FROM E2")), before);
    EXPECT_FALSE(cnn->inTransaction());
}

TEST_F(InputTest, RefusedValueInAnOpenEditorStopsTheSave)
{
    mdiEINGABE w(ctx);
    w.txtKEN->setText(QStringLiteral("P1"));
    GridControl *t = w.msgFLX[1];
    t->setRow(1);
    t->setCol(1);
    w.FLX(1).BEARBEITEN(0, 0);
    w.txtFLX[1]->setText(QStringLiteral("12"));
    int32_t id = 1;
    ASSERT_TRUE(w.OK(id));   // the open value is committed and saved
    EXPECT_EQ(rows(QStringLiteral("SELECT BRZ FROM E5 WHERE ID=1")), "12");

    w.FLX(1).BEARBEITEN(0, 0);
    w.txtFLX[1]->setText(QStringLiteral("-5"));
    Boxes b;
    b.answer(ui::vbOK);
    id = 1;
    EXPECT_FALSE(w.OK(id));
    EXPECT_EQ(rows(QStringLiteral("SELECT BRZ FROM E5 WHERE ID=1")), "12");
}

// The window as the user sees it, every tab with a record open: no control may stand outside
// its tab or be cut off there, no caption may be clipped, and every grid column must be in
// view. VANTREL_SCREENSHOTS names a folder to keep the pictures in; VANTREL_LOOK_DEMO a demo
// installation whose first record is shown instead of the small one made here.
TEST_F(InputTest, EveryTabFitsAndRendersOffscreen)
{
    int32_t id = 7;
    const QString demo = QString::fromLocal8Bit(qgetenv("VANTREL_LOOK_DEMO"));
    if (!demo.isEmpty()) {
        QDir projects(demo + QStringLiteral("/PROJEKTE"));
        const QStringList dirs = projects.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        ASSERT_FALSE(dirs.isEmpty());
        for (const auto &[from, to] : {std::pair(demo + QStringLiteral("/DATEN/VORGABE.mdb"), QStringLiteral("demo-presets.mdb")),
                                       std::pair(projects.filePath(dirs[0] + QStringLiteral("/VANT.mdb")), QStringLiteral("demo.mdb"))})
            ASSERT_TRUE(QFile::copy(from, dir.filePath(to))) << from.toStdString();
        ctx.cnnV = db::openDatabase(dir.filePath(QStringLiteral("demo-presets.mdb")));
        ctx.cnn = cnn = db::openDatabase(dir.filePath(QStringLiteral("demo.mdb")));
        id = rows(QStringLiteral("SELECT min(ID) FROM E1 WHERE ID>0")).toInt();
    } else {
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT, DATUMA, DATUME, NN, GBRZ, GNTZ) "
                            "VALUES (7, 'Pfahl 12', 'Widerlager Süd', 1, 44319, 44323, 112.4, 36, 27)"));
        for (int i = 0; i < 5; ++i) {
            exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (7, %1, %2)").arg(i).arg(2.5 * (i + 1)));
            exec(QStringLiteral("INSERT INTO E3 (ID, I2, D, KENT, KENV, KENF, ZKT, PER) VALUES (7, %1, 1.18, 'T2', 'V1', 'F1', 1250.5, 3)").arg(i));
            exec(QStringLiteral("INSERT INTO E4 (ID, I2, KENG) VALUES (7, %1, 'KI')").arg(i));
            exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, NTZ, AUZ, PPZ, STZ, NEZ, FA, FAUZ, FPPZ, FSTZ) "
                                "VALUES (7, %1, 7.25, 5.5, 0.75, 0.5, 0.5, 1.75, 1, 1, 1, 2)").arg(i));
        }
        exec(QStringLiteral("INSERT INTO E6 (ID, KENK, K, ZAUF) VALUES (7, 'K1', 3, 1)"));
    }
    TestHost host(ctx);
    host.window.show();
    mdiEINGABE *w = showInputWindow(host);
    w->OEFFNEN(id);
    ASSERT_TRUE(w->msgFLX[0]->isEnabled());

    const QString folder = QString::fromLocal8Bit(qgetenv("VANTREL_SCREENSHOTS"));
    const QRect window = w->rect();
    EXPECT_TRUE(window.contains(w->fraKEN->geometry()));
    EXPECT_TRUE(window.contains(w->SSTab->geometry()));
    for (int t = 0; t < 6; ++t) {
        SCOPED_TRACE(t);
        w->SSTab->setCurrentIndex(t);
        QCoreApplication::processEvents();
        QWidget *page = w->fraREITER[size_t(t)];
        for (QWidget *c : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (c->isHidden())
                continue;
            EXPECT_TRUE(page->rect().contains(c->geometry())) << c->objectName().toStdString();
            // a caption wider than its control is cut off
            QList<QWidget *> controls = c->findChildren<QWidget *>();
            controls << c;
            for (QWidget *x : controls)
                if (qobject_cast<QLabel *>(x) || qobject_cast<QAbstractButton *>(x))
                    EXPECT_LE(x->sizeHint().width(), x->width()) << x->objectName().toStdString();
        }
        if (t >= 1 && t <= 4) {
            GridControl *g = w->msgFLX[size_t(t - 1)];
            int columns = 0;
            for (int c = 0; c < g->Cols(); ++c)
                columns += g->columnWidth(c);
            EXPECT_LE(columns, g->viewport()->width());
        }
        if (!folder.isEmpty())
            EXPECT_TRUE((t == 1 ? host.window.grab() : w->grab()).save(folder + QStringLiteral("/eingabe-tab%1.png").arg(t)));
    }

    // the floating editors open over the cell they edit
    w->SSTab->setCurrentIndex(1);
    for (const auto &[col, editor] : {std::pair<int, QWidget *>(3, w->cboFLX0), std::pair<int, QWidget *>(1, w->txtFLX[0])}) {
        GridControl *g = w->msgFLX[0];
        g->setRow(2);
        g->setCol(col);
        w->FLX(0).BEARBEITEN(0, 0);
        ASSERT_FALSE(editor->isHidden()) << col;
        const QRect cell = g->visualItemRect(g->item(1, col));
        const QPoint centre = g->viewport()->mapTo(editor->parentWidget(), cell.center());
        EXPECT_TRUE(editor->geometry().contains(centre)) << col;
        if (!folder.isEmpty())
            EXPECT_TRUE(w->grab().save(folder + QStringLiteral("/eingabe-editor%1.png").arg(col)));
        w->FLX(0).EINFUEGEN(0);
    }
}
