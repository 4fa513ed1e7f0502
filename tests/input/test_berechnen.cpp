// The evaluation of the active record through the record tables. The expected times were
// worked out by hand in single precision from Z = 2, 5, 10 (lengths 2, 3, 5) and the totals
// and factors of each case; BRZ in A2 is always NTZ + AUZ + PPZ + STZ.
#include "InputFixture.h"
#include "input/clsBERECHNEN.h"
#include "common/SyncCounter.h"

using namespace vnt;
using namespace vnt::test;

namespace {

struct EvalCase {
    const char *name;
    const char *totals;                // GBRZ, GNTZ, FNE
    std::vector<const char *> e5;      // per section: BRZ, NTZ, AUZ, PPZ, STZ, FA, FAUZ, FPPZ, FSTZ
    QString a2;                        // expected rows "DEZ;NTZ;AUZ;PPZ;STZ;BRZ;PER", crews 2, 3, 4
    QList<int> progress;               // the bar's values, repeats left out (empty: not checked)
};

QList<int> withoutRepeats(const QList<int> &v)
{
    QList<int> out;
    for (int x : v)
        if (out.isEmpty() || out.back() != x)
            out << x;
    return out;
}

} // namespace

class EvaluationThroughTables : public InputTest {
protected:
    void record(const char *totals, const std::vector<const char *> &e5, std::vector<float> z = {2, 5, 10})
    {
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT, GBRZ, GNTZ, FNE) VALUES (9, 'OTHER', 0, 1, 1, NULL)"));
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT, GBRZ, GNTZ, FNE) VALUES (5, 'B5', 1, %1)").arg(QString::fromUtf8(totals)));
        for (size_t i = 0; i < z.size(); ++i) {
            exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (5, %1, %2)").arg(i).arg(double(z[i])));
            exec(QStringLiteral("INSERT INTO E3 (ID, I2, PER) VALUES (5, %1, %2)").arg(i).arg(i + 2));
            exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, NTZ, AUZ, PPZ, STZ, FA, FAUZ, FPPZ, FSTZ) VALUES (5, %1, %2)")
                     .arg(i)
                     .arg(QString::fromUtf8(e5[i])));
        }
        exec(QStringLiteral("INSERT INTO E6 (ID, KENK) VALUES (5, 'K1')"));   // a cost set of the presets
        // Results of an earlier evaluation: the record once had five sections, and another record's rows.
        for (int i = 0; i < 5; ++i)
            exec(QStringLiteral("INSERT INTO A2 (ID, I2, DEZ, BRZ) VALUES (5, %1, 99, 99)").arg(i));
        exec(QStringLiteral("INSERT INTO A2 (ID, I2, DEZ) VALUES (9, 7, 1)"));
    }
    // Three sections with every time given.
    void givenRecord()
    {
        const char *given = "1, 1, 0, 0, 0, NULL, 0, 0, 0";
        record("NULL, NULL, NULL", {given, given, given});
    }
    QString allResults() const { return rows(QStringLiteral("SELECT * FROM A2 ORDER BY ID, I2")); }
    // Evaluates with the one box it shows answered so; that box.
    ui::BoxRecord evaluateAnswering(int answer, bool expected)
    {
        Boxes b;
        b.answer(answer);
        clsBERECHNEN e(ctx);
        EXPECT_EQ(e.BERECHNUNG(), expected);
        EXPECT_EQ(b.records().size(), 1u);
        return b.records().empty() ? ui::BoxRecord{} : b.records()[0];
    }
    QString results() const
    {
        return rows(QStringLiteral("SELECT DEZ, round(NTZ,4), round(AUZ,4), round(PPZ,4), round(STZ,4), round(BRZ,4), PER FROM A2 WHERE ID=5 ORDER BY I2"));
    }
};

TEST_F(EvaluationThroughTables, HandComputedRecords)
{
    LocaleScope en(QLocale::English);
    const std::vector<EvalCase> cases = {
        {"all times given: totals unread, ancillary parts used as given",
         "NULL, NULL, NULL",
         {"3, 2, 0.5, 0.25, 0, NULL, 0, 0, 0", "4, 3, 0.5, 0, 1, NULL, 0, 0, 0", "9, 6, 1, 1, 2, NULL, 0, 0, 0"},
         "2;2;0.5;0.25;0;2.75;2|3;3;0.5;0;1;4.5;3|5;6;1;1;2;10;4",
         {0, 7, 20, 24, 27, 30, 35, 40}},
        {"gross time of section 1 missing: every section re-spread by length, parts split 1:1:2",
         "20, 15, NULL",
         {"3, 2, NULL, NULL, NULL, NULL, 1, 1, 2", "NULL, 3, NULL, NULL, NULL, NULL, 1, 1, 2", "9, 6, NULL, NULL, NULL, NULL, 1, 1, 2"},
         "2;3;0.25;0.25;0.5;4;2|3;4.5;0.375;0.375;0.75;6;3|5;7.5;0.625;0.625;1.25;10;4",
         {0, 7, 15, 20, 23, 27, 30, 35, 40}},
        {"net total from the ancillary ratio: FNE 0.25 of GBRZ 100 gives 75",
         "100, NULL, 0.25",
         {"NULL, NULL, NULL, NULL, NULL, NULL, 1, 0, 0", "NULL, NULL, NULL, NULL, NULL, NULL, 1, 0, 0",
          "NULL, NULL, NULL, NULL, NULL, NULL, 1, 0, 0"},
         "2;15;5;0;0;20;2|3;22.5;7.5;0;0;30;3|5;37.5;12.5;0;0;50;4",
         {0, 7, 15, 20, 23, 27, 30, 35, 40}},
        {"spread by factors FA 1, 1, 2 (S = 15), parts split in thirds",
         "20, 15, NULL",
         {"NULL, NULL, NULL, NULL, NULL, 1, 1, 1, 1", "NULL, NULL, NULL, NULL, NULL, 1, 1, 1, 1", "NULL, NULL, NULL, NULL, NULL, 2, 1, 1, 1"},
         "2;2;0.2222;0.2222;0.2222;2.6667;2|3;3;0.3333;0.3333;0.3333;4;3|5;10;1.1111;1.1111;1.1111;13.3333;4",
         {}},
        {"parts given for section 0 only: all sections split again by their factors",
         "NULL, NULL, NULL",
         {"3, 2, 0.9, 0.1, 0, NULL, 1, 1, 0", "4, 3, NULL, 0, 0, NULL, 1, 1, 0", "9, 6, 1, 1, 1, NULL, 1, 1, 0"},
         "2;2;0.5;0.5;0;3;2|3;3;0.5;0.5;0;4;3|5;6;1.5;1.5;0;9;4",
         {}},
        {"equal gross and net time with all factors 0: parts become 0 and the run goes on",
         "NULL, NULL, NULL",
         {"2, 2, NULL, NULL, NULL, NULL, 0, 0, 0", "3, 3, NULL, NULL, NULL, NULL, 0, 0, 0", "5, 5, NULL, NULL, NULL, NULL, 0, 0, 0"},
         "2;2;0;0;0;2;2|3;3;0;0;0;3;3|5;5;0;0;0;5;4",
         {}},
    };
    for (const EvalCase &c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM E1; DELETE FROM E2; DELETE FROM E3; DELETE FROM E5; DELETE FROM E6; DELETE FROM A2"));
        record(c.totals, c.e5);
        ctx.progressValues.clear();
        clsBERECHNEN b(ctx);
        ASSERT_TRUE(b.BERECHNUNG());
        EXPECT_EQ(results(), c.a2);
        // the rows of sections 3 and 4 from before are gone; another record's rows stay
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM A2 WHERE ID=5 AND I2>2")), "0");
        EXPECT_EQ(rows(QStringLiteral("SELECT I2 FROM A2 WHERE ID=9")), "7");
        if (!c.progress.isEmpty())
            EXPECT_EQ(withoutRepeats(ctx.progressValues), c.progress);
        EXPECT_EQ(ctx.progressValues.back(), 40);
    }
}

TEST_F(EvaluationThroughTables, NoticesStopTheRunAndLeaveA2Untouched)
{
    LocaleScope en(QLocale::English);
    struct Notice { const char *name; const char *totals; std::vector<const char *> e5; std::vector<float> z; const char *text; };
    const char *none = "NULL, NULL, NULL, NULL, NULL, NULL, 0, 0, 0";
    const std::vector<Notice> cases = {
        {"neither net total nor ratio: the ratio notice names the first section without times", "20, NULL, NULL",
         {"3, 2, 0, 0, 0, NULL, 0, 0, 0", none, none}, {2, 5, 10},
         "Bitte geben Sie ein Verhältnis für Bohrnebenzeit/Bruttobohrzeit\nfür den Abschnitt 1 ein, da sonst keine Auswertung erfolgen kann."},
        {"ancillary time to split but all factors of section 1 are 0", "NULL, NULL, NULL",
         {"3, 2, NULL, NULL, NULL, NULL, 1, 0, 0", "4, 3, NULL, NULL, NULL, NULL, 0, 0, 0", "9, 6, NULL, NULL, NULL, NULL, 1, 0, 0"},
         {2, 5, 10},
         "Bitte geben Sie Faktoren für die Aufteilung der Bohrnebenzeit\nfür den Abschnitt 1 ein, da sonst keine Auswertung erfolgen kann."},
        {"gross total missing where the times must be spread", "NULL, 15, NULL", {none, none, none}, {2, 5, 10},
         "Bitte geben Sie die Bruttobohrzeit der gesamten Bohrung ein,\nda für den Abschnitt 0 keine Zeiten erfasst sind und sonst keine Auswertung erfolgen kann."},
        {"spread by length of a bore that ends at depth 0", "20, 15, NULL", {none, none, none}, {0, 0, 0},
         "Die Tiefe des letzten Abschnitts ist 0 m: die Zeiten der Bohrung\nkönnen nicht nach Abschnittslängen aufgeteilt werden (Abschnitt 0)."},
        {"factors that sum to 0 with the lengths", "20, 15, NULL",
         {"NULL, NULL, NULL, NULL, NULL, 0, 0, 0, 0", "NULL, NULL, NULL, NULL, NULL, 0, 0, 0, 0", "NULL, NULL, NULL, NULL, NULL, 0, 0, 0, 0"},
         {2, 5, 10},
         "Die Faktoren der Bruttobohrzeit ergeben mit den Abschnittslängen die Summe 0:\ndie Zeiten können nicht aufgeteilt werden (Abschnitt 0)."},
        {"a section ending above the one before it, every time given", "NULL, NULL, NULL",
         {"3, 2, 0, 0, 1, NULL, 0, 0, 0", "4, 3, 0, 1, 0, NULL, 0, 0, 0", "9, 6, 1, 1, 1, NULL, 0, 0, 0"}, {2, 25, 2},
         "Der Abschnitt 2 endet höher als der Abschnitt davor (oder über GOK):\ndie Abschnittslänge wäre negativ, daher kann keine Auswertung erfolgen."},
    };
    for (const Notice &c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM E1; DELETE FROM E2; DELETE FROM E3; DELETE FROM E5; DELETE FROM E6; DELETE FROM A2"));
        record(c.totals, c.e5, c.z);
        const QString before = rows(QStringLiteral("SELECT * FROM A2 ORDER BY ID, I2"));
        {
            Boxes b;
            b.answer(ui::vbOK);
            clsBERECHNEN e(ctx);
            EXPECT_FALSE(e.BERECHNUNG());
            ASSERT_EQ(b.records().size(), 1u);
            EXPECT_EQ(b.records()[0].title, "HINWEIS!");
            EXPECT_EQ(b.records()[0].style, ui::vbOKOnly);
            EXPECT_EQ(b.records()[0].text, QString::fromUtf8(c.text));
        }
        EXPECT_EQ(rows(QStringLiteral("SELECT * FROM A2 ORDER BY ID, I2")), before);
        EXPECT_LT(ctx.progressValue, 40);
    }
}

TEST_F(EvaluationThroughTables, SingleSectionRunsTo40AndEmptyCellsAreNotZero)
{
    // A single section (N = 0): every stage ends at its end value without dividing by N.
    exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT, GBRZ, GNTZ) VALUES (5, 'B5', 1, 8, 6)"));
    exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (5, 0, 4)"));
    exec(QStringLiteral("INSERT INTO E6 (ID, KENK) VALUES (5, 'K2')"));
    // BRZ 0 is a given time (not a missing one), so the totals are not read.
    exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, NTZ, AUZ, PPZ, STZ) VALUES (5, 0, 0, 0, 0, 0, 0)"));
    clsBERECHNEN b(ctx);
    ASSERT_TRUE(b.BERECHNUNG());
    EXPECT_EQ(rows(QStringLiteral("SELECT I2, DEZ, NTZ, BRZ, PER FROM A2 WHERE ID=5")), "0;4;0;0;0");
    EXPECT_EQ(withoutRepeats(ctx.progressValues), (QList<int>{0, 7, 20, 27, 30, 40}));
}

TEST_F(EvaluationThroughTables, FailedResultWriteLeavesFormerResultsWhole)
{
    LocaleScope en(QLocale::English);
    givenRecord();
    // The third section's result row cannot be written: the database refuses it.
    exec(QStringLiteral("CREATE TRIGGER refuse BEFORE UPDATE ON A2 WHEN NEW.I2 = 2 AND NEW.ID = 5 "
                        "BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    const QString before = allResults();
    EXPECT_EQ(evaluateAnswering(ui::vbOK, false).title, "Datenfehler");   // the accessor's box
    EXPECT_EQ(allResults(), before);
}

// A value the evaluation cannot read raises its own error box: OK goes on with the next step,
// Cancel leaves without writing anything.
TEST_F(EvaluationThroughTables, OwnErrorBoxGoesOnWithOkAndLeavesWithCancel)
{
    LocaleScope en(QLocale::English);
    givenRecord();
    exec(QStringLiteral("UPDATE E3 SET PER = 'abc' WHERE ID = 5 AND I2 = 2"));
    const QString before = allResults();
    const ui::BoxRecord box = evaluateAnswering(ui::vbCancel, false);
    EXPECT_EQ(box.title, "Auswerten");
    EXPECT_EQ(box.text, "VB-Fehler:13\nType mismatch");
    EXPECT_EQ(box.style, ui::vbOKCancel | ui::vbExclamation);
    EXPECT_EQ(allResults(), before);

    EXPECT_EQ(evaluateAnswering(ui::vbOK, true).title, "Auswerten");
    // The crew size that could not be read counts as 0; the rest of the section is evaluated.
    EXPECT_EQ(results(), "2;1;0;0;0;1;2|3;1;0;0;0;1;3|5;1;0;0;0;1;0");
}

// Keys that name no preset, and a record without a cost set, evaluate with costs of 0 and empty
// descriptions: after the run one notice names the keys, each once, and says that costs
// without a cost set are 0. Keys are matched without regard to case, as the pages look them up.
TEST_F(EvaluationThroughTables, KeysWithoutPresetsAreNamedOnceAfterTheRun)
{
    struct Case {
        const char *name;
        std::vector<const char *> keys;   // per section: KENG, KENT, KENV, KENL, KENF
        const char *costSet;              // NULL: none chosen
        const char *notice;               // "": no notice
    };
    const Case cases[] = {
        {"every key and the cost set known, in any letter case", {"'KI', 'T1', 'v1', NULL, 'F0'", "'u', 't2', '', NULL, NULL"}, "'k1'", ""},
        {"unknown keys in several columns and sections, known ones not named",
         {"'KIU', 'T9', 'V1', 'L3', NULL", "'KIU', 'T9', 'V1', NULL, 'F0'", "'S', 'T1', 'X', NULL, NULL"}, "'K2'",
         "Die Auswertung ist erfolgt, doch fehlen Vorgabewerte:\n"
         "Kennzeichnungen ohne Vorgabe (ohne Beschreibung, Kosten 0):\n"
         "  Gestein (KENG): KIU\n  Trägergerät (KENT): T9\n  Verrohrung (KENV): X\n  Lösewerkzeug (KENL): L3"},
        {"no cost set chosen", {"'KI', 'T1', NULL, NULL, NULL"}, "NULL",
         "Die Auswertung ist erfolgt, doch fehlen Vorgabewerte:\n"
         "Es ist keine Einheitskostenvorgabe gewählt: alle Kosten sind 0."},
        {"a cost set that is not among the presets, and an unknown rock", {"'Q', NULL, NULL, NULL, NULL"}, "'K9'",
         "Die Auswertung ist erfolgt, doch fehlen Vorgabewerte:\n"
         "Kennzeichnungen ohne Vorgabe (ohne Beschreibung, Kosten 0):\n  Gestein (KENG): Q\n"
         "Die Einheitskostenvorgabe K9 ist nicht vorhanden: alle Kosten sind 0."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        exec(QStringLiteral("DELETE FROM E1; DELETE FROM E2; DELETE FROM E3; DELETE FROM E4; DELETE FROM E5; DELETE FROM E6; DELETE FROM A2"));
        exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (5, 'B5', 1)"));
        for (size_t i = 0; i < c.keys.size(); ++i) {
            const QStringList k = QString::fromUtf8(c.keys[i]).split(QStringLiteral(", "));
            exec(QStringLiteral("INSERT INTO E2 (ID, I2, Z) VALUES (5, %1, %2)").arg(i).arg(i + 1));
            exec(QStringLiteral("INSERT INTO E4 (ID, I2, KENG) VALUES (5, %1, %2)").arg(i).arg(k[0]));
            exec(QStringLiteral("INSERT INTO E3 (ID, I2, KENT, KENV, KENL, KENF, PER) VALUES (5, %1, %2, %3, %4, %5, 2)")
                     .arg(i).arg(k[1], k[2], k[3], k[4]));
            exec(QStringLiteral("INSERT INTO E5 (ID, I2, BRZ, NTZ, AUZ, PPZ, STZ) VALUES (5, %1, 2, 1, 1, 0, 0)").arg(i));
        }
        exec(QStringLiteral("INSERT INTO E6 (ID, KENK) VALUES (5, %1)").arg(QString::fromUtf8(c.costSet)));
        Boxes b;
        if (*c.notice)
            b.answer(ui::vbOK);
        clsBERECHNEN e(ctx);
        EXPECT_TRUE(e.BERECHNUNG());
        EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM A2 WHERE ID=5")), QString::number(c.keys.size()));
        if (!*c.notice)
            continue;
        ASSERT_EQ(b.records().size(), 1u);
        EXPECT_EQ(b.records()[0].title, "HINWEIS!");
        EXPECT_EQ(b.records()[0].style, ui::vbOKOnly | ui::vbInformation);
        EXPECT_EQ(b.records()[0].text, QString::fromUtf8(c.notice));
    }
}

// The evaluation is one commit; evaluating a record whose results are stored already writes
// nothing, so the disk is not synced at all.
TEST_F(EvaluationThroughTables, AnEvaluationCommitsOnceAndAnUnchangedOneNotAtAll)
{
    givenRecord();
    installSyncCounter();
    ctx.cnn = cnn = db::openDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
    {
        SyncMeter first;
        clsBERECHNEN e(ctx);
        ASSERT_TRUE(e.BERECHNUNG());
        EXPECT_EQ(first.counted().database, 1);
    }
    const QString before = allResults();
    SyncMeter second;
    clsBERECHNEN e(ctx);
    ASSERT_TRUE(e.BERECHNUNG());
    EXPECT_EQ(second.counted().all, 0);
    EXPECT_EQ(allResults(), before);
}

// Results written over what an earlier evaluation left, whatever it left: a section with two
// rows, one without its row, one with stale values. Each ends with one row holding what a
// clean evaluation writes.
TEST_F(EvaluationThroughTables, LeftoverRowsOfAnySortEndAsAFreshEvaluationWritesThem)
{
    givenRecord();
    Boxes none;
    {
        clsBERECHNEN e(ctx);
        ASSERT_TRUE(e.BERECHNUNG());
    }
    const QString fresh = results();
    exec(QStringLiteral("UPDATE A2 SET NTZ = 7, PER = 9 WHERE ID = 5 AND I2 = 0"));
    exec(QStringLiteral("INSERT INTO A2 (ID, I2, DEZ, NTZ) VALUES (5, 1, 98, 98)"));
    exec(QStringLiteral("DELETE FROM A2 WHERE ID = 5 AND I2 = 2"));
    clsBERECHNEN e(ctx);
    ASSERT_TRUE(e.BERECHNUNG());
    EXPECT_EQ(results(), fresh);
    EXPECT_EQ(rows(QStringLiteral("SELECT I2, COUNT(*) FROM A2 WHERE ID = 5 GROUP BY I2")),
              QStringLiteral("0;1|1;1|2;1"));
}
