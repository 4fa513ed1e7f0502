// The data step over real tables: which records and sections it reads, and the M3 and M4
// rows it leaves behind, also when writing fails.
#include "MultipleFixture.h"
#include "pages/multiple/AggregationDataStep.h"
#include "pages/multiple/MultipleRun.h"

using namespace vnt;
using namespace vnt::multiple;
using namespace vnt::test;

namespace {

// Two active records (B with two sections, A with one), an inactive one that must not count,
// and a record never evaluated. Cost set KENKPG 0: KP = 40 x 1.5 = 60, FKG 2, FZK 1.1; the
// set with KENKPG 1 must be ignored. Rig T1 costs 10 x 2 = 20 per hour, T2 40.
const char *kProject = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'B', 1), (2, 'A', 1), (3, 'C', 0), (4, 'D', 1);
INSERT INTO E4 (ID, I2, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (2, 0, 'S'), (3, 0, 'S'), (4, 0, 'S');
INSERT INTO E3 (ID, I2, KENT, ZKT) VALUES (1, 0, 'T1', 100), (1, 1, 'T2', 0), (2, 0, 'T1', NULL), (3, 0, 'T1', 0),
                                           (4, 0, 'T1', 0);
INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) VALUES (1, 0, 10, 5, 4, 2), (1, 1, 20, 20, 10, 2), (2, 0, 5, 5, 5, 1),
                                                    (3, 0, 1000, 1, 1, 1);
)";
const char *kPresets = R"(
INSERT INTO VANT_V11 (IDT, KENT, EKT) VALUES (1, 'T1', 10), (2, 'T2', 20);
INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG, FKG, FKP, FZK) VALUES (1, 'K1', 999, 1, 9, 9, 9), (2, 'K0', 40, 0, 2, 1.5, 1.1);
)";

} // namespace

class DataStep : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        cnn->Execute(QString::fromLatin1(kProject));
        cnnV->Execute(QString::fromLatin1(kPresets));
    }
    MultipleRun run;
    // Every row of both result tables.
    QString resultTables() { return rows("SELECT * FROM M3 ORDER BY I1") + "/" + rows("SELECT * FROM M4 ORDER BY I1"); }
};

TEST_F(DataStep, ActiveRecordsAreSummedPerCombinationAndWritten)
{
    // combination 1 has no M2 row: it matches everything
    cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENT) VALUES (1, 0, 'T1');"
                                "INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 2, 'KI');"
                                "INSERT INTO M2 (IDM, I1, KENG) VALUES (2, 0, 'XX');"
                                "INSERT INTO M3 (IDM, I1, SDEZ) VALUES (1, 5, 123);"));
    AggregationInput in;
    std::vector<CombinationResult> r;
    ASSERT_TRUE(DATENEINGABE(ctx, run, in, r));
    ASSERT_EQ(r.size(), 3u);
    EXPECT_FLOAT_EQ(in.costs.KP, 60);
    EXPECT_EQ(in.sections.size(), 3u);   // B0, B1, A0: neither C nor the unevaluated D

    EXPECT_EQ(rows("SELECT I1, SDEZ, SBRZ, SBRKT, SBRKP, SBRPH, SNTZ, SZKT, ANZKT FROM M3 WHERE IDM=1 ORDER BY I1"),
              "0;15;10;200;600;15;9;110;1|"
              "1;50;30;1000;1800;55;19;110;1|"
              "2;70;20;800;1200;40;10;0;0|"
              "5;123;Null;Null;Null;Null;Null;Null;Null");   // a stale row of a longer list stays
    EXPECT_EQ(rows("SELECT COUNT(*) FROM M3 WHERE IDM=1 AND BOKOMB=true"), "3");
    // combination 2: one section, 20 m in 20 h
    EXPECT_EQ(rows("SELECT XQBRV, SXBRV, XQNTV, XQBRK FROM M4 WHERE IDM=1 AND I1=2"), "1;1E+09;2;100");
    EXPECT_EQ(rows("SELECT COUNT(*) FROM M4 WHERE IDM=1"), "3");
}

TEST_F(DataStep, NoMatchTellsTheUserAndStillWritesZeros)
{
    cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENT) VALUES (1, 0, 'T9'), (1, 1, 't1');"));
    boxes.answer(ui::vbOK);
    AggregationInput in;
    std::vector<CombinationResult> r;
    EXPECT_TRUE(DATENEINGABE(ctx, run, in, r));
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text, QString::fromUtf8("Achtung! Es wurde für keine der angegebenen\nKombinationen ein "
                                                         "Abschnitt gefunden!\nDie Auswertung wird daher abgebrochen."));
    EXPECT_EQ(rows("SELECT I1, SDEZ, SBRZ, XQBRV, SXBRV FROM M3 JOIN M4 USING (IDM, I1) ORDER BY I1"), "0;0;0;0;0|1;0;0;0;0");
}

TEST_F(DataStep, FailedWriteKeepsThePreviousRunWhole)
{
    AggregationInput in;
    std::vector<CombinationResult> r;
    ASSERT_TRUE(DATENEINGABE(ctx, run, in, r));
    const QString before = resultTables();
    cnn->Execute(QStringLiteral("DELETE FROM A2 WHERE ID=2;"
                                "CREATE TRIGGER nowrite BEFORE UPDATE ON M4 BEGIN SELECT RAISE(ABORT, 'locked'); END;"));
    boxes.answer(ui::vbOK);   // the accessor's data-error message
    EXPECT_FALSE(DATENEINGABE(ctx, run, in, r));
    EXPECT_EQ(resultTables(), before);
}

// A run over rows an earlier run left in any state (a stale value, a combination's row twice)
// leaves them as a run over clean tables does: one row per combination with this run's values.
TEST_F(DataStep, LeftoverRowsOfAnySortEndAsAFreshRunWritesThem)
{
    AggregationInput in;
    std::vector<CombinationResult> r;
    ASSERT_TRUE(DATENEINGABE(ctx, run, in, r));
    const QString fresh = resultTables();
    cnn->Execute(QStringLiteral("UPDATE M3 SET SBRZ = 1, ANZKT = 7 WHERE I1 = 0;"
                                "INSERT INTO M4 (IDM, I1, XQBRV) VALUES (1, 0, 5);"));
    ASSERT_TRUE(DATENEINGABE(ctx, run, in, r));
    EXPECT_EQ(resultTables(), fresh);
}

TEST_F(DataStep, AdditionalMeasureCountsAboveSixteenBitsAreStored)
{
    CombinationResult r;
    r.m3.BOKOMB = true;
    r.m3.ANZK = {40000, 0, 0, 70000};
    ASSERT_TRUE(writeAggregation(ctx, {r}));
    EXPECT_EQ(rows("SELECT ANZKT, ANZKF FROM M3 WHERE IDM=1 AND I1=0"), "40000;70000");
}

TEST_F(DataStep, SectionsAreReadInNameOrderAcrossManyRecordsWithGapsAndKeysOfAnyCase)
{
    // 511 more records, numbered against their names' order, one section each (DEZ = the id);
    // record 1 gets a section 2 and loses its result row 1, while its devices stay.
    cnn->Execute(QStringLiteral(
        "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 520)"
        " INSERT INTO E1 (ID, KEN, AKT) SELECT i, printf('Z%04d', 1000 - i), 1 FROM n;"
        "WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 520)"
        " INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) SELECT i, 0, i, 1, 1, 1 FROM n;"
        "INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) VALUES (1, 2, 7, 1, 1, 1);"
        "DELETE FROM A2 WHERE ID = 1 AND I2 = 1;"
        "UPDATE E3 SET KENT = 't1' WHERE ID = 2;"));
    AggregationInput in;
    ASSERT_TRUE(readAggregationInput(ctx, in));
    ASSERT_EQ(in.sections.size(), 3u + 1u + 511u);   // A: 1, B: 0..2, D: none, then Z0480..Z0990
    EXPECT_FLOAT_EQ(in.costs.rate(0, in.sections[0].keys[1]), 20);   // "t1" is the rig T1 for the database
    EXPECT_EQ(in.sections[2].keys[1], "T2");         // B's section 1: devices without a result row
    EXPECT_FLOAT_EQ(in.sections[2].DEZ, 0);
    EXPECT_FLOAT_EQ(in.sections[3].DEZ, 7);
    for (size_t i = 4; i < in.sections.size(); ++i)
        ASSERT_FLOAT_EQ(in.sections[i].DEZ, float(520 - (i - 4))) << i;
}

// The progress bar moves through the reading of the combinations (4 to 10), the records (to
// 50) and the writing of M3 and then of M4 (50 to 59 each), rounding halves to the even
// neighbour.
TEST_F(DataStep, ProgressStepsThroughCombinationsRecordsAndBothTables)
{
    cnn->Execute(QStringLiteral("INSERT INTO M2 (IDM, I1, KENT) VALUES (1, 0, 'T1'), (1, 4, 'T2');"));
    AggregationInput in;
    std::vector<CombinationResult> r;
    ASSERT_TRUE(DATENEINGABE(ctx, run, in, r));
    const QList<int> writing = {50, 52, 54, 57, 59};   // 50 + Round(9 c / 4)
    QList<int> expected = {4, 4, 6, 7, 8, 10};         // the costs, then 4 + Round(6 c / 4)
    // the records, to 50 after the last
    QList<int> records;
    for (int v : ctx.progressValues.mid(expected.size()))
        if (v > 10 && v <= 50 && (records.isEmpty() || v > records.last()))
            records << v;
        else
            break;
    EXPECT_FALSE(records.isEmpty());
    EXPECT_EQ(records.isEmpty() ? 0 : records.last(), 50);
    expected << records << 50 << writing << writing << 59;
    EXPECT_EQ(ctx.progressValues, expected);
}
