// The write rule, the read rule and the transfers between table columns and variables.
#include "DataFixture.h"

#include <sqlite3.h>

namespace vnt::test {
namespace {

using Daten = DataTest;

// What a selection holds before a write, what is written, and what the table holds after.
struct WriteCase {
    const char *what;
    QString before;                            // INSERT values for A2 (ID, I2, BRZ), "" for none
    std::function<bool(clsDATEN &)> write;
    QString after;                             // A2 rows of record 7 as (I2, BRZ), by BRZ
};

TEST_F(Daten, WriteRuleMakesTheSelectionHoldTheValues)
{
    const std::vector<WriteCase> cases = {
        {"no row: one added with its keys", "",
         [](clsDATEN &d) { return d.DVTS("BRZ", 5, "I2", 4); }, "4;5"},
        {"one row: overwritten", "(7,4,1)",
         [](clsDATEN &d) { return d.DVTS("BRZ", 5, "I2", 4); }, "4;5"},
        {"three rows: the first in key order stays", "(7,3,3),(7,1,1),(7,2,2)",
         [](clsDATEN &d) { return d.DVTS("BRZ", 5, "I2"); }, "1;5"},
        {"array of 4 over 2 rows: two appended without list column", "(7,1,10),(7,0,9)",
         [](clsDATEN &d) { return d.DVTSF("BRZ", {1, 2, 3, 4}, "I2"); }, "0;1|1;2|Null;3|Null;4"},
        {"array of 4 over 6 rows: the last two deleted", "(7,5,0),(7,4,0),(7,3,0),(7,2,0),(7,1,0),(7,0,0)",
         [](clsDATEN &d) { return d.DVTSF("BRZ", {1, 2, 3, 4}, "I2"); }, "0;1|1;2|2;3|3;4"},
    };
    for (const WriteCase &c : cases) {
        exec("DELETE FROM A2");
        exec("INSERT INTO A2 (ID, I2, BRZ) VALUES (8, 1, 99)");   // another record stays untouched
        if (!c.before.isEmpty())
            exec("INSERT INTO A2 (ID, I2, BRZ) VALUES " + c.before);
        clsDATEN d(ctx);
        d.setETABELLE("A2");
        EXPECT_TRUE(c.write(d)) << c.what;
        EXPECT_EQ(rows("SELECT [I2],[BRZ] FROM [A2] WHERE [ID]=7 ORDER BY [BRZ]"), c.after) << c.what;
        EXPECT_EQ(rows("SELECT [I2],[BRZ] FROM [A2] WHERE [ID]=8"), "1;99") << c.what;
    }
}

TEST_F(Daten, SecondColumnUnderTheSameKeyRewritesTheRow)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    ASSERT_TRUE(d.DVTI("I2", 3, "I2", 3));   // the evaluation writes the key column under itself
    ASSERT_TRUE(d.DVTS("BRZ", 2.5f, "I2", 3));
    ASSERT_TRUE(d.DVTD("NTZ", 1.25, "I2", 3));
    EXPECT_EQ(rows("SELECT [ID],[I2],[BRZ],[NTZ] FROM [A2]"), "7;3;2,5;1,25");
}

// The reader keeps nothing between calls: what a write changed in between, through the same
// accessor, another accessor or plain SQL on the connection, the next read sees, within a
// transaction too. Rewriting a row with the values it holds changes nothing in the table.
TEST_F(Daten, AReadAfterAWriteSeesTheWrite)
{
    clsDATEN d(ctx), other(ctx);
    d.setETABELLE("A2");
    other.setETABELLE("A2");
    float v = 0;
    ASSERT_TRUE(d.DVTS("BRZ", 2.5f, "I2", 3));
    ASSERT_TRUE(d.DTVS("BRZ", v, "I2", 3));
    EXPECT_EQ(v, 2.5f);
    db::TransactionScope unit(ctx.cnnX());
    ASSERT_TRUE(other.DVTS("BRZ", 4.5f, "I2", 3));
    ASSERT_TRUE(d.DTVS("BRZ", v, "I2", 3));
    EXPECT_EQ(v, 4.5f);
    exec("UPDATE A2 SET BRZ=6.5 WHERE I2=3");
    ASSERT_TRUE(d.DTVS("BRZ", v, "I2", 3));
    EXPECT_EQ(v, 6.5f);
    const int before = sqlite3_total_changes(ctx.cnnX()->handle());
    ASSERT_TRUE(d.DVTI("I2", 3, "I2", 3));
    ASSERT_TRUE(d.DVTS("BRZ", 6.5f, "I2", 3));
    EXPECT_EQ(sqlite3_total_changes(ctx.cnnX()->handle()), before);
    unit.commit();
    EXPECT_EQ(rows("SELECT [ID],[I2],[BRZ] FROM [A2]"), "7;3;6,5");
}

TEST_F(Daten, WrittenValuesAndBlanks)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    struct Case { const char *what; std::function<bool()> write; QString column, stored; };
    const std::vector<Case> cases = {
        {"empty text stores Null", [&] { return d.DVTT("T", ""); }, "T", "Null"},
        {"a blank is kept", [&] { return d.DVTT("T", " "); }, "T", " "},
        {"0 is stored as 0", [&] { return d.DVTI("N", 0); }, "N", "0"},
        {"Long", [&] { return d.DVTL("L", 100000); }, "L", "100000"},
        {"Boolean", [&] { return d.DVTB("B", true); }, "B", "Wahr"},
        {"Date", [&] { return d.DVTA("D", 2.5); }, "D", "01.01.1900 12:00:00"},
        {"Variant Null", [&] { return d.DVTV("T", Variant::null()); }, "T", "Null"},
        {"Variant empty text", [&] { return d.DVTV("T", Variant("")); }, "T", "Null"},
        {"Variant number", [&] { return d.DVTV("NTZ", Variant(int16_t(4))); }, "NTZ", "4"},
    };
    for (const Case &c : cases) {
        exec("UPDATE A2 SET T='old', N=9");
        EXPECT_TRUE(c.write()) << c.what;
        EXPECT_EQ(rows("SELECT [" + c.column + "] FROM [A2] WHERE [ID]=7"), c.stored) << c.what;
    }
}

TEST_F(Daten, TextAndFractionalKeysSelectExactly)
{
    LocaleScope german(QLocale::German);
    exec("INSERT INTO E1 (ID, KEN, KOM) VALUES (7, 'O''Neil', 'a'), (7, 'Other', 'b')");
    exec("INSERT INTO A2 (ID, X, BRZ) VALUES (7, 2.5, 1), (7, 3, 2)");
    clsDATEN d(ctx);
    ASSERT_TRUE(d.DVTT("KOM", "neu", "KEN", "O'Neil"));
    EXPECT_EQ(rows("SELECT [KEN],[KOM] FROM [E1] WHERE [KOM] IS NOT NULL ORDER BY [KEN]"), "O'Neil;neu|Other;b");
    d.setETABELLE("A2");
    float brz = 0;
    ASSERT_TRUE(d.DTVS("BRZ", brz, "X", 2.5));
    EXPECT_EQ(brz, 1.0f);
}

TEST_F(Daten, PresetTableWithoutRecordIdWritesItsFixedKeys)
{
    clsDATEN d(ctx);
    d.setETABELLE("VANT_V11");
    d.setESPID("");
    d.setESPK1("KENT");
    d.setESPK1W("R1");
    ASSERT_TRUE(d.DVTS("EKT", 3.5f));
    EXPECT_EQ(rows("SELECT [IDT],[KENT],[EKT] FROM [VANT_V11]"), "Null;R1;3,5");
    float ekt = 0;
    ASSERT_TRUE(d.DTVS("EKT", ekt));
    EXPECT_EQ(ekt, 3.5f);
}

// Variables are preset to something else, so that a reader that does not assign shows.
TEST_F(Daten, ScalarReadersGiveDefaultsOnMissingRowAndNull)
{
    for (const bool nullRow : {false, true}) {
        exec("DELETE FROM A2");
        if (nullRow)
            exec("INSERT INTO A2 (ID, I2) VALUES (7, 1)");
        clsDATEN d(ctx);
        d.setETABELLE("A2");
        double date = 5, dbl = 5;
        bool b = true;
        QString t = "x";
        int16_t i = 5;
        int32_t l = 5;
        float s = 5;
        Variant v = Variant("x");
        EXPECT_TRUE(d.DTVA("D", date, "I2", 1));
        EXPECT_TRUE(d.DTVB("B", b, "I2", 1));
        EXPECT_TRUE(d.DTVT("T", t, "I2", 1));
        EXPECT_TRUE(d.DTVI("N", i, "I2", 1));
        EXPECT_TRUE(d.DTVL("L", l, "I2", 1));
        EXPECT_TRUE(d.DTVS("BRZ", s, "I2", 1));
        EXPECT_TRUE(d.DTVD("NTZ", dbl, "I2", 1));
        EXPECT_TRUE(d.DTVV("T", v, "I2", 1));
        EXPECT_EQ(date, 0.0);
        EXPECT_FALSE(b);
        EXPECT_EQ(t, "");
        EXPECT_EQ(i, 0);
        EXPECT_EQ(l, 0);
        EXPECT_EQ(s, 0.0f);
        EXPECT_EQ(dbl, 0.0);
        EXPECT_TRUE(v.isEmpty()) << "only the variant reader tells a missing value";
    }
}

TEST_F(Daten, ScalarReadersTakeTheFirstRowInKeyOrder)
{
    exec("INSERT INTO A2 (ID, I2, BRZ, T) VALUES (7, 2, 20, 'b'), (7, 0, 10, ''), (7, 1, 30, 'c')");
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    float s = 0;
    Variant v;
    ASSERT_TRUE(d.DTVS("BRZ", s, "I2"));
    EXPECT_EQ(s, 10.0f);
    ASSERT_TRUE(d.DTVV("T", v, "I2"));
    EXPECT_EQ(v.type(), VarType::String) << "an empty text is not Empty";
}

TEST_F(Daten, FailedScalarTransfersShowOneBoxAndKeepTheVariable)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    boxes.answer(ui::vbOK).answer(ui::vbOK);
    EXPECT_FALSE(d.DVTT("N", "abc"));
    float s = 4;
    EXPECT_FALSE(d.DTVS("XYZ", s));
    EXPECT_EQ(s, 4.0f);
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].text, "Wert abc kann nicht in die Spalte N der Tabelle A2 gespeichert werden!");
    EXPECT_EQ(boxes.records()[0].title, "Datenfehler");
    EXPECT_EQ(boxes.records()[0].style, ui::vbOKOnly | ui::vbExclamation);
    EXPECT_EQ(boxes.records()[1].text, "Wert  kann nicht aus der Spalte XYZ der Tabelle A2 eingelesen werden!");
    EXPECT_EQ(rows("SELECT count(*) FROM [A2]"), "0");
}

TEST_F(Daten, ConversionErrorOfAReaderGoesToTheCaller)
{
    exec("INSERT INTO A2 (ID, T) VALUES (7, 'abc')");
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    int16_t i = 4;
    try {
        d.DTVI("T", i);
        ADD_FAILURE() << "no error";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, err::TypeMismatch);
    }
    EXPECT_EQ(i, 4);
}

TEST_F(Daten, ArrayWritersRefuseAnEmptyArrayBeforeAnyRowChanges)
{
    exec("INSERT INTO A2 (ID, I2, BRZ) VALUES (7, 0, 1), (7, 1, 2)");
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    boxes.answer(ui::vbOK);
    EXPECT_FALSE(d.DVTSF("BRZ", {}, "I2"));
    EXPECT_EQ(boxes.records().at(0).text, "Werte können nicht in Spalte BRZ der Tabelle A2 gespeichert werden!");
    EXPECT_EQ(rows("SELECT count(*) FROM [A2]"), "2");
}

TEST_F(Daten, ArrayWritersOfEachType)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    ASSERT_TRUE(d.DVTIF("N", {3, 4}, "I2"));
    ASSERT_TRUE(d.DVTTF("T", {"a", ""}, "I2"));
    ASSERT_TRUE(d.DVTBF("B", {true, false}, "I2"));
    EXPECT_EQ(rows("SELECT [N],[T],[B] FROM [A2] ORDER BY [N]"), "3;a;Wahr|4;Null;Falsch");
}

TEST_F(Daten, ArrayReaderSkipsNullRowsAndKeepsTheRest)
{
    exec("INSERT INTO A2 (ID, I2, BRZ) VALUES (7, 2, 3), (7, 1, NULL), (7, 0, 1)");
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    std::vector<float> z(5, 9);
    ASSERT_TRUE(d.DTVSF("BRZ", z, "I2"));
    EXPECT_EQ(z, (std::vector<float>{1, 9, 3, 9, 9}));

    std::vector<Variant> v(3);
    ASSERT_TRUE(d.DTVVF("BRZ", v, "I2"));
    EXPECT_TRUE(v[1].isEmpty());
    EXPECT_EQ(v[2].toSingle(), 3.0f);
}

TEST_F(Daten, ArrayReaderWithMoreRowsThanElements)
{
    for (int i = 0; i < 6; ++i)
        exec(QString("INSERT INTO A2 (ID, I2, N) VALUES (7, %1, %1)").arg(i));
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    const QString text = "Werte der Spalte N der Tabelle A2 können nicht aus der Spalte N eingelesen werden!\n"
                         "VB-Error: 9\nSubscript out of range";
    for (const int answer : {int(ui::vbOK), int(ui::vbCancel)}) {
        Boxes local;
        local.answer(answer);
        std::vector<int16_t> n(5, -1);
        EXPECT_EQ(d.DTVIF("N", n, "I2"), answer == ui::vbOK);
        EXPECT_EQ(n, (std::vector<int16_t>{0, 1, 2, 3, 4}));
        ASSERT_EQ(local.records().size(), 1u);
        EXPECT_EQ(local.records()[0].text, text);
        EXPECT_EQ(local.records()[0].style, ui::vbOKCancel | ui::vbExclamation);
    }
}

TEST_F(Daten, ArrayReaderWhoseQueryFailsShowsOneBox)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    boxes.answer(ui::vbOK);   // a second box would fail the test
    std::vector<QString> t(4, "x");
    EXPECT_FALSE(d.DTVTF("NOSUCH", t));
    EXPECT_EQ(t, std::vector<QString>(4, "x"));
}

TEST_F(Daten, CollectionReader)
{
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    std::vector<Variant> x{Variant("keep")};
    ASSERT_TRUE(d.DTVCOL("BRZ", x, "I2"));
    ASSERT_EQ(x.size(), 1u) << "an empty selection leaves the collection as passed";

    exec("INSERT INTO A2 (ID, I2, BRZ) VALUES (7, 0, NULL), (7, 1, NULL)");
    ASSERT_TRUE(d.DTVCOL("BRZ", x, "I2"));
    EXPECT_TRUE(x.empty()) << "rows always give a new collection";

    exec("UPDATE A2 SET BRZ = I2 + 1");
    ASSERT_TRUE(d.DTVCOL("BRZ", x, "I2"));
    ASSERT_EQ(x.size(), 2u);
    EXPECT_EQ(x[1].toSingle(), 2.0f);

    EXPECT_FALSE(d.DTVCOL("NOSUCH", x)) << "fails silently";
}

} // namespace
} // namespace vnt::test
