// Transfers between table columns and the controls and grids of a window.
#include "DataFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace vnt::test {
namespace {

using Steuerelemente = DataTest;

TEST_F(Steuerelemente, TextBoxesRoundTripAndKeepTheirBlanks)
{
    clsDATEN d(ctx);
    QLineEdit txtKEN;
    QPlainTextEdit txtKOM;
    struct Case { QString typed; QString stored; };
    for (const Case &c : {Case{"", "Null"}, Case{"  ", "  "}, Case{" P 1 ", " P 1 "}}) {
        txtKEN.setText(c.typed);
        ASSERT_TRUE(d.DFTT("KOM", txtKEN));
        EXPECT_EQ(rows("SELECT [KOM] FROM [E1] WHERE [ID]=7"), c.stored);
        txtKOM.setPlainText("old");
        ASSERT_TRUE(d.DTFTT("KOM", txtKOM));
        EXPECT_EQ(txtKOM.toPlainText(), c.typed);
    }
    txtKOM.setPlainText("Zeile 1\nZeile 2");
    ASSERT_TRUE(d.DFTTT("KOM", txtKOM));
    ASSERT_TRUE(d.DTFT("KOM", txtKEN));
    EXPECT_EQ(txtKEN.text(), "Zeile 1\nZeile 2");
}

TEST_F(Steuerelemente, MissingRecordShowsEmptyControls)
{
    clsDATEN d(ctx);
    d.setESPIDW(99);
    QLineEdit txt;
    txt.setText("old");
    QLabel lbl("old");
    QCheckBox chk;
    chk.setCheckState(Qt::Checked);
    QRadioButton opt;
    opt.setChecked(true);
    QComboBox cbo;
    cbo.setEditable(true);
    cbo.setEditText("old");
    EXPECT_TRUE(d.DTFT("KEN", txt));
    EXPECT_TRUE(d.DTFL("KEN", lbl));
    EXPECT_TRUE(d.DTFC("K", chk));
    EXPECT_TRUE(d.DTFO("AKT", opt));
    EXPECT_TRUE(d.DTFMT("KEN", cbo));
    EXPECT_EQ(txt.text(), "");
    EXPECT_EQ(lbl.text(), "");
    EXPECT_EQ(chk.checkState(), Qt::Unchecked);
    EXPECT_FALSE(opt.isChecked());
    EXPECT_EQ(cbo.currentText(), "");
}

TEST_F(Steuerelemente, CheckBoxesAndOptionButtons)
{
    clsDATEN d(ctx);
    QCheckBox chk("Aktiv");
    for (const auto &[state, value] : {std::pair(Qt::Unchecked, "0"), std::pair(Qt::Checked, "1"),
                                       std::pair(Qt::PartiallyChecked, "2")}) {
        chk.setCheckState(state);
        ASSERT_TRUE(d.DFTCV("K", chk));
        EXPECT_EQ(rows("SELECT [K] FROM [E1] WHERE [ID]=7"), value);
        chk.setCheckState(Qt::Unchecked);
        ASSERT_TRUE(d.DTFCV("K", chk));
        EXPECT_EQ(chk.checkState(), state);
    }
    ASSERT_TRUE(d.DFTCC("KOM", chk));
    QCheckBox other;
    ASSERT_TRUE(d.DTFCC("KOM", other));
    EXPECT_EQ(other.text(), "Aktiv");

    // A selected option button inside its group can still be cleared from the table.
    QWidget group;
    QRadioButton optA("A", &group), optB("B", &group);
    optA.setChecked(true);
    ASSERT_TRUE(d.DFTO("AKT", optB));
    EXPECT_EQ(rows("SELECT [AKT] FROM [E1] WHERE [ID]=7"), "Falsch");
    ASSERT_TRUE(d.DTFOV("AKT", optA));
    EXPECT_FALSE(optA.isChecked());
    ASSERT_TRUE(d.DFTOC("KOM", optB));
    ASSERT_TRUE(d.DTFOC("KOM", optA));
    EXPECT_EQ(optA.text(), "B");
}

TEST_F(Steuerelemente, ListAndComboSelections)
{
    clsDATEN d(ctx);
    QListWidget lst;
    QComboBox cbo;   // not editable: a list whose text cannot be typed
    for (const QString &s : {"R1", "R2", "R3"}) {
        lst.addItem(s);
        cbo.addItem(s);
    }
    lst.setCurrentRow(-1);
    cbo.setCurrentIndex(-1);

    // Nothing selected: the index writers store -1, the text writers Null.
    ASSERT_TRUE(d.DFTIL("K", lst));
    EXPECT_EQ(rows("SELECT [K] FROM [E1] WHERE [ID]=7"), "-1");
    ASSERT_TRUE(d.DFTML("K", cbo));
    EXPECT_EQ(rows("SELECT [K] FROM [E1] WHERE [ID]=7"), "-1");
    for (const auto &write : {std::function<bool()>([&] { return d.DFTI("KOM", lst); }),
                              std::function<bool()>([&] { return d.DFTIS("KOM", lst); }),
                              std::function<bool()>([&] { return d.DFTMS("KOM", cbo); })}) {
        exec("UPDATE E1 SET KOM='old'");
        ASSERT_TRUE(write());
        EXPECT_EQ(rows("SELECT [KOM] FROM [E1] WHERE [ID]=7"), "Null");
    }

    lst.setCurrentRow(2);
    cbo.setCurrentIndex(1);
    ASSERT_TRUE(d.DFTI("KOM", lst));
    EXPECT_EQ(rows("SELECT [KOM] FROM [E1] WHERE [ID]=7"), "R3");
    ASSERT_TRUE(d.DFTM("KOM", cbo));
    EXPECT_EQ(rows("SELECT [KOM] FROM [E1] WHERE [ID]=7"), "R2");
    ASSERT_TRUE(d.DFTIL("K", lst));
    ASSERT_TRUE(d.DTFML("K", cbo));
    EXPECT_EQ(cbo.currentIndex(), 2);

    // A missing row selects the first item of a filled list and leaves an empty one alone.
    d.setESPIDW(99);
    ASSERT_TRUE(d.DTFIL("K", lst));
    EXPECT_EQ(lst.currentRow(), 0);
    QComboBox none;
    ASSERT_TRUE(d.DTFML("K", none));
    EXPECT_EQ(none.currentIndex(), -1);
    // ... and the list fillers add one empty item.
    ASSERT_TRUE(d.DTFI("KOM", lst));
    ASSERT_TRUE(d.DTFMS("KOM", cbo));
    EXPECT_EQ(lst.count(), 4);
    EXPECT_EQ(lst.item(3)->text(), "");
    EXPECT_EQ(cbo.itemText(3), "");
}

TEST_F(Steuerelemente, ComboTextByStyle)
{
    exec("UPDATE E1 SET KOM='R9' WHERE ID=7");
    clsDATEN d(ctx);
    QComboBox dropList;
    dropList.addItems({"R1", "r9", "R9", "R9"});
    dropList.setCurrentIndex(0);
    ASSERT_TRUE(d.DTFMT("KOM", dropList));
    EXPECT_EQ(dropList.currentIndex(), 2) << "the first exact match, letter case counts";

    exec("UPDATE E1 SET KOM='R7' WHERE ID=7");
    ASSERT_TRUE(d.DTFMT("KOM", dropList));
    EXPECT_EQ(dropList.currentIndex(), 2) << "no match leaves the selection";

    try {
        d.DTFM("KOM", dropList);
        ADD_FAILURE() << "a list without the value cannot show it";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, 383);
    }

    QComboBox editable;
    editable.setEditable(true);
    editable.addItems({"R1"});
    ASSERT_TRUE(d.DTFMT("KOM", editable));
    EXPECT_EQ(editable.currentText(), "R7");
    ASSERT_TRUE(d.DFTMT("KOM", editable));
    EXPECT_EQ(rows("SELECT [KOM] FROM [E1] WHERE [ID]=7"), "R7");
}

TEST_F(Steuerelemente, ComboListOfAllValues)
{
    exec("INSERT INTO VANT_V3 (IDK, KENK) VALUES (2, 'K2'), (1, 'K1'), (3, NULL)");
    ctx.cnnV = cnn;
    clsDATEN d(ctx);
    d.setEBOV(true);
    d.setETABELLE("VANT_V3");
    d.setESPID("");
    QComboBox cboKENK;
    cboKENK.addItem("vorher");
    ASSERT_TRUE(d.DTFMM("KENK", cboKENK, "IDK"));
    EXPECT_EQ(cboKENK.count(), 3);
    EXPECT_EQ(cboKENK.itemText(1), "K1");
    EXPECT_EQ(cboKENK.itemText(2), "K2");
    d.setESPK1("KENK");
    d.setESPK1W("none");
    ASSERT_TRUE(d.DTFMM("KENK", cboKENK, "IDK"));
    EXPECT_EQ(cboKENK.count(), 3) << "an empty selection adds nothing";
}

TEST_F(Steuerelemente, LabelsAndTheirArrayIndex)
{
    clsDATEN d(ctx);
    QLabel lbl("Tiefe");
    lbl.setProperty("index", 3);
    ASSERT_TRUE(d.DFTLI("K", lbl));
    EXPECT_EQ(rows("SELECT [K] FROM [E1] WHERE [ID]=7"), "3");
    ASSERT_TRUE(d.DFTLC("KOM", lbl));
    QLabel other;
    ASSERT_TRUE(d.DTFLC("KOM", other));
    EXPECT_EQ(other.text(), "Tiefe");

    QLabel single;
    EXPECT_THROW(d.DFTLI("K", single), VbError) << "a label outside an array has no index";
}

TEST_F(Steuerelemente, FailedControlTransfersNameValueColumnAndTable)
{
    clsDATEN d(ctx);
    QLineEdit txt;
    txt.setText("abc");
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    EXPECT_FALSE(d.DFTT("K", txt));
    EXPECT_FALSE(d.DTFT("NOSUCH", txt));
    EXPECT_EQ(txt.text(), "abc");
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].text, "Wert abc kann nicht in die Spalte K der Tabelle E1 gespeichert werden!");
    EXPECT_EQ(boxes.records()[1].text, "Wert  kann nicht aus der Spalte NOSUCH der Tabelle E1 eingelesen werden!");
}

// ---- grids ----------------------------------------------------------------------------

class Grid : public DataTest {
protected:
    void sections(int n)
    {
        for (int i = 0; i < n; ++i)
            exec(QString("INSERT INTO E2 (ID, I2, Z) VALUES (7, %1, %2)").arg(i).arg(10 * (i + 1)));
    }
};

TEST_F(Grid, WriteMakesTheRowsEqualToTheGrid)
{
    struct Case { const char *what; int tableRows; QStringList cells; QString after; };
    const std::vector<Case> cases = {
        {"3 grid rows over 5 table rows", 5, {"1", "2", "3"}, "7;0;1|7;1;2|7;2;3"},
        {"5 grid rows over 3 table rows", 3, {"1", "2", "3", "4", "5"}, "7;0;1|7;1;2|7;2;3|7;Null;4|7;Null;5"},
        {"trimmed, German decimal, blank cell", 2, {" 12,5 ", "   "}, "7;1;Null|7;0;12,5"},
    };
    LocaleScope german(QLocale::German);
    for (const Case &c : cases) {
        exec("DELETE FROM E2");
        sections(c.tableRows);
        exec("INSERT INTO E2 (ID, I2, Z) VALUES (8, 0, 1)");
        TestGrid msgFLX(1 + int(c.cells.size()), 3);
        msgFLX.setColumn(1, c.cells);
        clsDATEN d(ctx);
        d.setETABELLE("E2");
        ASSERT_TRUE(d.DFTF("Z", msgFLX, "1", "I2")) << c.what;
        EXPECT_EQ(rows("SELECT [ID],[I2],[Z] FROM [E2] WHERE [ID]=7 ORDER BY [Z]"), c.after) << c.what;
        EXPECT_EQ(rows("SELECT count(*) FROM [E2] WHERE [ID]=8"), "1") << c.what;
    }
}

TEST_F(Grid, SaveWritesTheNumberingColumnFirst)
{
    TestGrid msgFLX(4, 2);
    msgFLX.setColumn(0, {"0", "1", "2"});
    msgFLX.setColumn(1, {"5", "6", "7"});
    clsDATEN d(ctx);
    d.setETABELLE("E2");
    ASSERT_TRUE(d.DFTF("I2", msgFLX, "0", "I2"));
    ASSERT_TRUE(d.DFTF("Z", msgFLX, "1", "I2"));
    EXPECT_EQ(rows("SELECT [ID],[I2],[Z] FROM [E2] ORDER BY [I2]"), "7;0;5|7;1;6|7;2;7");
}

TEST_F(Grid, AppendedRowsGetRecordKeysAndFixedTexts)
{
    exec("INSERT INTO G1 (ID, IDOBJEKT, KEN, LFDNR, W) VALUES (7, 11, 'T', 0, 1), (7, 12, 'T', 0, 5)");
    TestGrid msgFLX(3, 1);
    msgFLX.setColumn(0, {"2", "3"});
    clsDATEN d(ctx);
    d.setETABELLE("G1");
    d.setESPK1("KEN");
    d.setESPK1W("T");
    ASSERT_TRUE(d.DFTF("W", msgFLX, "0", "IDOBJEKT", 11, "LFDNR"));
    EXPECT_EQ(rows("SELECT [ID],[IDOBJEKT],[KEN],[LFDNR],[W] FROM [G1] ORDER BY [W]"),
              "7;11;T;0;2|7;11;T;Null;3|7;12;T;0;5");
}

TEST_F(Grid, GridWithoutDataRowsDeletesItsSelection)
{
    TestGrid disabled(3, 2);
    disabled.setColumn(1, {"1", "2"});
    disabled.setEnabled(false);
    TestGrid headerOnly(1, 2);
    for (const TestGrid *msgFLX : {&disabled, &headerOnly}) {
        exec("DELETE FROM E2");
        sections(3);
        clsDATEN d(ctx);
        d.setETABELLE("E2");
        ASSERT_TRUE(d.DFTFM("Z", *msgFLX, "1", "I2"));
        EXPECT_EQ(rows("SELECT count(*) FROM [E2]"), "0");
    }
}

TEST_F(Grid, PresetGridWithoutRecordIdWritesItsFixedKeys)
{
    TestGrid msgFLX(3, 2);
    msgFLX.setColumn(0, {"1", "2"});
    msgFLX.setColumn(1, {"K1", "K2"});
    clsDATEN d(ctx);
    d.setETABELLE("VANT_V11");
    d.setESPID("");
    ASSERT_TRUE(d.DFTFM("IDT", msgFLX, "0", "IDT"));
    ASSERT_TRUE(d.DFTFM("KENT", msgFLX, "1", "IDT"));
    EXPECT_EQ(rows("SELECT [IDT],[KENT] FROM [VANT_V11] ORDER BY [IDT]"), "1;K1|2;K2");
}

TEST_F(Grid, WriteErrorGoesOnOrStopsByTheAnswer)
{
    for (const int answer : {int(ui::vbOK), int(ui::vbCancel)}) {
        exec("DELETE FROM E2");
        sections(3);
        TestGrid msgFLX(4, 2, 1, 2);
        msgFLX.setColumn(1, {"1", "abc", "3"});
        Boxes local;
        local.answer(answer);
        clsDATEN d(ctx);
        d.setETABELLE("E2");
        EXPECT_EQ(d.DFTF("Z", msgFLX, "1", "I2"), answer == ui::vbOK);
        ASSERT_EQ(local.records().size(), 1u);
        EXPECT_EQ(local.records()[0].text, "Werte der Spalte Z der Tabelle E2 können nicht in die Spalte 1\n"
                                           "der FlexGrid-Tabelle 2 geschrieben werden!\nVB-Error: 13\nType mismatch");
        // OK keeps the row's old value and goes on; Cancel leaves the rest as it was.
        EXPECT_EQ(rows("SELECT [Z] FROM [E2] ORDER BY [I2]"), answer == ui::vbOK ? "1|20|3" : "1|20|30");
    }
}

TEST_F(Grid, ReadGrowsButNeverShrinksTheGrid)
{
    sections(5);
    exec("INSERT INTO E2 (ID, I2, T) VALUES (7, 5, 'x')");   // a sixth row for column T only
    TestGrid msgFLX(2, 3);
    clsDATEN d(ctx);
    d.setETABELLE("E2");
    ASSERT_TRUE(d.DTFF("Z", msgFLX, "1", "I2"));
    EXPECT_EQ(msgFLX.Rows(), 7);
    EXPECT_EQ(msgFLX.column(1), QStringList({"10", "20", "30", "40", "50", ""}));

    exec("DELETE FROM E2 WHERE I2 > 2");
    exec("UPDATE E2 SET Z = Z + 1");
    ASSERT_TRUE(d.DTFFM("Z", msgFLX, "1", "I2"));
    EXPECT_EQ(msgFLX.Rows(), 7);
    EXPECT_EQ(msgFLX.column(1), QStringList({"11", "21", "31", "40", "50", ""}));
}

TEST_F(Grid, ReadStartRowAndNullCells)
{
    LocaleScope german(QLocale::German);
    exec("INSERT INTO E2 (ID, I2, Z) VALUES (7, 0, 1.5), (7, 1, NULL), (7, 2, 3)");
    clsDATEN d(ctx);
    d.setETABELLE("E2");
    TestGrid msgFLX(8, 2);
    msgFLX.setColumn(1, {"a", "b", "c", "d", "e", "f", "g"});
    ASSERT_TRUE(d.DTFF("Z", msgFLX, "1", "I2", {}, {}, {}, {}, {}, {}, 3));
    EXPECT_EQ(msgFLX.column(1), QStringList({"a", "b", "c", "1,5", "e", "3", "g"}));
    ASSERT_TRUE(d.DTFF("Z", msgFLX, "1", "I2", {}, {}, {}, {}, {}, {}, 0));
    EXPECT_EQ(msgFLX.column(1).mid(0, 3), QStringList({"1,5", "b", "3"}));
}

TEST_F(Grid, ReadOfNoRowsMarksTheGridEmpty)
{
    clsDATEN d(ctx);
    d.setETABELLE("E2");
    TestGrid msgFLX(3, 2);
    msgFLX.setColumn(1, {"a", "b"});
    ASSERT_TRUE(d.DTFF("Z", msgFLX, "1", "I2"));
    EXPECT_FALSE(msgFLX.Enabled());
    EXPECT_EQ(msgFLX.BackColor(), msgFLX.BackColorFixed());
    EXPECT_EQ(msgFLX.Rows(), 3);
    EXPECT_EQ(msgFLX.column(1), QStringList({"a", "b"}));

    sections(1);
    ASSERT_TRUE(d.DTFF("Z", msgFLX, "1", "I2"));
    EXPECT_TRUE(msgFLX.Enabled());
    EXPECT_NE(msgFLX.BackColor(), msgFLX.BackColorFixed());
}

} // namespace
} // namespace vnt::test
