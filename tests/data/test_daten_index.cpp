// The accessor's creation and databases, its index queries, record lists and deletion.
#include "DataFixture.h"

#include <QDir>

namespace vnt::test {
namespace {

using Index = DataTest;

TEST_F(Index, SmallestLargestAndCount)
{
    struct Case { const char *what; QList<int> sections; int16_t mini, maxi, an; };
    const std::vector<Case> cases = {
        {"sections 0 to 5", {3, 0, 5, 1, 2, 4}, 0, 5, 6},
        {"the count is the number of rows, not the span", {5, 0, 2}, 0, 5, 3},
        {"no sections", {}, 0, 0, 0},
    };
    for (const Case &c : cases) {
        exec("DELETE FROM E2");
        for (int s : c.sections)
            exec(QString("INSERT INTO E2 (ID, I2) VALUES (7, %1)").arg(s));
        exec("INSERT INTO E2 (ID, I2) VALUES (8, 40)");
        clsDATEN d(ctx);
        d.setETABELLE("E2");
        int16_t mini = 9, maxi = 9, an = 9;
        d.INDEX(mini, maxi, an, "I2");
        EXPECT_EQ(mini, c.mini) << c.what;
        EXPECT_EQ(maxi, c.maxi) << c.what;
        EXPECT_EQ(an, c.an) << c.what;
    }
}

TEST_F(Index, RestrictedByKeysAndFixedKeys)
{
    exec("INSERT INTO G1 (ID, IDOBJEKT, KEN, LFDNR) VALUES (7, 11, 'T', 1), (7, 11, 'T', 4), (7, 11, 'L', 9),"
         " (7, 12, 'T', 7), (8, 11, 'T', 8)");
    clsDATEN d(ctx);
    d.setETABELLE("G1");
    int16_t mini = 0, maxi = 0, an = 0;
    d.INDEX(mini, maxi, an, "IDOBJEKT", 11, "KEN", "T", "LFDNR");
    EXPECT_EQ((std::array{mini, maxi, an}), (std::array<int16_t, 3>{1, 4, 2}));

    Variant vmin, vmax;
    d.setESPK1("KEN");
    d.setESPK1W("L");
    d.INDEXV(vmin, vmax, an, "LFDNR");
    EXPECT_EQ(vmin.toInt(), 9);
    EXPECT_EQ(an, 1);
}

TEST_F(Index, PresetIds)
{
    exec("INSERT INTO VANT_V3 (IDK, KENK) VALUES (12, 'A'), (3, 'B'), (20, 'C')");
    clsDATEN d(ctx);
    d.setETABELLE("VANT_V3");
    d.setESPID("");
    int32_t mini = 0, maxi = 0, an = 0;
    d.INDEXL(mini, maxi, an, "IDK");
    EXPECT_EQ((std::array{mini, maxi, an}), (std::array<int32_t, 3>{3, 20, 3}));
    d.setESPID("IDK");
    d.setESPIDW(12);
    d.INDEXL(mini, maxi, an, "IDK");
    EXPECT_EQ(an, 1);
    d.setESPIDW(13);
    d.INDEXL(mini, maxi, an, "IDK");
    EXPECT_EQ(an, 0);
}

TEST_F(Index, ErrorsShowTheIndexBox)
{
    exec("INSERT INTO E2 (ID, I2) VALUES (7, NULL), (7, 2)");
    clsDATEN d(ctx);
    d.setETABELLE("E2");
    int16_t mini = 9, maxi = 9, an = 9;
    boxes.answer(ui::vbOK);
    d.INDEX(mini, maxi, an, "I2");   // Null sorts first and has no number
    EXPECT_EQ((std::array{mini, maxi, an}), (std::array<int16_t, 3>{9, 2, 2}));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Index");
    EXPECT_EQ(boxes.records()[0].text, "VB-Error: 94\nInvalid use of Null");

    Boxes local;
    local.answer(ui::vbOK);   // a query that cannot run: one box, results untouched
    int32_t l = 5, m = 5, n = 5;
    d.INDEXL(l, m, n, "NOSUCH");
    EXPECT_EQ(local.records().at(0).title, "Datenfehler");
    EXPECT_EQ(n, 5);
}

TEST_F(Index, RecordListsByName)
{
    exec("DELETE FROM E1");
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'B', 1), (2, 'a', 0), (3, 'C', 1)");
    clsDATEN d(ctx);
    std::vector<int32_t> ids{99};
    std::vector<QString> names;
    d.LID(ids, false);
    d.LKEN(names, false);
    EXPECT_EQ(ids, (std::vector<int32_t>{2, 1, 3}));
    EXPECT_EQ(names, (std::vector<QString>{"a", "B", "C"}));
    d.LID(ids, true);
    d.LKEN(names, true);
    EXPECT_EQ(ids, (std::vector<int32_t>{1, 3}));
    EXPECT_EQ(names, (std::vector<QString>{"B", "C"}));

    exec("DELETE FROM E1");
    d.LID(ids, false);
    EXPECT_EQ(ids, (std::vector<int32_t>{1, 3})) << "no record leaves the list as it was";
}

TEST_F(Index, DeletionOfTheSelection)
{
    exec("INSERT INTO A2 (ID, I2) VALUES (7, 0), (7, 1), (7, 1), (8, 1)");
    clsDATEN d(ctx);
    d.setETABELLE("A2");
    EXPECT_TRUE(d.LOESCHEN("I2", 5));
    EXPECT_EQ(rows("SELECT count(*) FROM [A2]"), "4");
    EXPECT_TRUE(d.LOESCHEN("I2", 1));
    EXPECT_EQ(rows("SELECT [ID],[I2] FROM [A2] ORDER BY [ID]"), "7;0|8;1");
}

TEST_F(Index, CreationTakesTheActiveRecord)
{
    EXPECT_EQ(clsDATEN(ctx).ESPIDW(), 7);
    exec("UPDATE E1 SET AKT=0");
    clsDATEN d(ctx);
    EXPECT_EQ(d.ESPIDW(), 0);
    EXPECT_EQ(d.ETABELLE(), "E1");
    EXPECT_EQ(d.ESPID(), "ID");
}

TEST_F(Index, PresetDatabaseExceptInDevelopmentMode)
{
    auto presets = makeDatabase(dir.filePath("VORGABE.mdb"));
    ctx.cnnV = presets;
    for (const auto &[folder, expected] : {std::pair("/home/x/Source/Tools/VANT", cnn), std::pair("/opt/VANT", presets)}) {
        ctx.programpfad = folder;
        clsDATEN d(ctx);
        d.setEBOV(true);
        EXPECT_EQ(d.connection(), expected) << folder;
        d.setEBOV(false);
        EXPECT_EQ(d.connection(), cnn) << folder;
    }
}

TEST_F(Index, FurtherProjectDatabase)
{
    ctx.projektspfad = dir.path();
    ctx.projekt = "P1";
    QDir(dir.path()).mkdir("P1");
    makeDatabase(dir.filePath("P1/ALT.mdb"));
    QFile bad(dir.filePath("P1/KAPUTT.mdb"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(4096, 'x'));
    bad.close();

    clsDATEN d(ctx);
    bool ok = true;
    d.setEMDB(ok, "FEHLT");
    EXPECT_FALSE(ok);
    EXPECT_EQ(d.connection(), cnn);

    boxes.answer(ui::vbOK);
    d.setEMDB(ok, "KAPUTT");
    EXPECT_FALSE(ok) << "a database that did not open is not reported as set";
    EXPECT_EQ(d.connection(), cnn);
    EXPECT_EQ(boxes.records().at(0).title, "Datenzugriff - Datenbank KAPUTT");

    d.setEMDB(ok, "ALT");
    EXPECT_TRUE(ok);
    EXPECT_EQ(d.EMDB(), "ALT");
    EXPECT_EQ(d.connection()->path(), dir.filePath("P1/ALT.mdb"));
}

} // namespace
} // namespace vnt::test
