// The ancillary-times and additional-costs pages as pages: what their load reads from M2 and M3,
// the progress of the chain they belong to, their header, the table of the combinations, what
// they draw when nothing was found, and how a failed read ends the data step.
#include "multiple/MultipleFixture.h"
#include "common/CellText.h"

#include "drawing/Surface.h"
#include "drawing/clsGRAFIK.h"
#include "drawing/clsKOPFFUSS.h"
#include "pages/multiple/mdiMSEITE2.h"
#include "pages/multiple/mdiMSEITE3.h"
#include "pages/multiple/AggregationDataStep.h"
#include "pages/multiple/mdiMSEITE4.h"
#include "platform/printer.h"

using namespace vnt;
using namespace vnt::test;

namespace {

// Three combinations; 2 found no section. Combination 0 has ancillary times and additional
// costs (more measures of the cutting tool than 16 bits hold), combination 1 only standstill
// and no additional costs.
const char *kSums = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'B', 1), (2, 'A', 1), (3, 'C', 0);
INSERT INTO A1 (ID, BONEU) VALUES (0, 1);
INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 3');
INSERT INTO M2 (IDM, I1, KENG, KENT, KENV, KENL, KENF) VALUES (1, 0, 'S', 'T1', NULL, 'L1', 'F1'),
    (1, 1, 'KI', NULL, NULL, NULL, NULL), (1, 2, 'GR', NULL, NULL, NULL, NULL);
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SAUZ, SAUK, SAUPH, SPPZ, SPPK, SPPPH, SSTZ, SSTK, SSTPH,
                SZKT, ANZKT, SZKV, ANZKV, SZKL, ANZKL, SZKF, ANZKF)
VALUES (1, 0, 1, 40, 2, 100, 4, 1, 50, 2, 0.5, 25, 1, 100, 2, 0, 0, 40000, 40000, 0.01, 1),
       (1, 1, 1, 60, 0, 0, 0, 0, 0, 0, 3, 150, 6, 0, 0, 0, 0, 0, 0, 0, 0),
       (1, 2, 0, 60, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
)";

class CombinationPagesTest : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        openProject(kSums);
        Printer::instance().setPdfFile(dir.filePath(QStringLiteral("druck.pdf")));
    }
    void TearDown() override { Printer::instance().setPdfFile(QString()); }

    // Page 2 with the rest of the chain it loads.
    std::unique_ptr<mdiMSEITE2> load() { return std::make_unique<mdiMSEITE2>(ctx, run, nullptr); }
    static mdiMSEITE3 *page3(const mdiMSEITE2 &p2) { return qobject_cast<mdiMSEITE3 *>(p2.followingPage()); }

    // What a print of the page puts on the sheet besides its header.
    static QStringList printedFigures(CombinationPage &page)
    {
        auto sheet = std::make_shared<RecordingSurface>();
        page.setPrintTarget(sheet);
        page.DRUCKEN();
        page.setPrintTarget(nullptr);
        return sheet->texts();
    }

    std::shared_ptr<MultipleRun> run = std::make_shared<MultipleRun>();
};

} // namespace

TEST_F(CombinationPagesTest, TheChainReadsItsSumsAndRunsTheProgressOfItsPages)
{
    auto p2 = load();
    mdiMSEITE3 *p3 = page3(*p2);
    ASSERT_TRUE(p3);
    ASSERT_TRUE(qobject_cast<mdiMSEITE4 *>(p3->followingPage()));
    EXPECT_EQ(run->pages().size(), 3);

    // Page 2 from 70 to 85, page 3 from 85 to 99 (97 unused), and page 4 back to 85 and on to 94.
    EXPECT_EQ(ctx.progressValues, QList<int>({70, 71, 71, 75, 79, 79, 80, 81, 82, 83, 84, 85,   //
                                      85, 86, 86, 90, 94, 94, 95, 96, 98, 99,           //
                                      85, 86, 86, 90, 94, 94}));

    for (CombinationPage *p : {static_cast<CombinationPage *>(p2.get()), static_cast<CombinationPage *>(p3)}) {
        SCOPED_TRACE(p->objectName().toStdString());
        EXPECT_EQ(p->KOMBMAX(), 2);
        EXPECT_EQ(p->BOKOMB(), std::vector<bool>({true, true, false}));
        EXPECT_TRUE(p->BODATEN());
        EXPECT_FALSE(p->BONEU) << "cleared as the load's last step";
        EXPECT_EQ(p->KENLISTE(), QStringList({"A", "B"}));
        EXPECT_EQ(row(p->TABKOPF(), 0), QStringList({"Nr.", "KENG", "KENT", "KENV", "KENL", "KENF", "<empty>"}));
        EXPECT_EQ(row(p->TABDATEN(), 0), QStringList({"0", "S", "T1", "<empty>", "L1", "F1", "<empty>"}));
        EXPECT_EQ(row(p->TABDATEN(), 2), QStringList({"2", "GR", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"}));
        ASSERT_TRUE(p->KOPFFUSSOBJEKT());
        EXPECT_EQ(p->KOPFFUSSOBJEKT()->SEITE(), p == p3 ? 3 : 2);
        EXPECT_EQ(p->depthAxis().SDEZ.size(), 3u);
    }
    EXPECT_EQ(p2->KOPFFUSSOBJEKT()->KOMMENTAR(),
              "Bohrnebenzeiten und Bohrnebenkosten" + QString(20, ' ') + "Los 3");
    EXPECT_EQ(p3->KOPFFUSSOBJEKT()->KOMMENTAR(), "Zusatzkosten" + QString(29, ' ') + "Los 3");

    EXPECT_EQ(p2->SDEZ(), std::vector<float>({40, 60, 60}));
    EXPECT_EQ(p2->daten().SSTZ, std::vector<float>({0.5f, 3, 0}));
    EXPECT_EQ(p2->daten().SPPPH, std::vector<float>({2, 0, 0}));
    EXPECT_EQ(p3->daten().ANZKL, std::vector<int32_t>({40000, 0, 0})) << "counts beyond 16 bits";
    EXPECT_EQ(p3->daten().SZKF, std::vector<float>({0.01f, 0, 0}));

    // Both drew every figure at load, and print all of them.
    for (int f : {210, 220, 230, 240, 250, 215})
        EXPECT_TRUE(p2->GRAFIK(f)) << f;
    EXPECT_TRUE(p2->TABELLE(260));
    for (int f : {310, 320, 340, 350, 315})
        EXPECT_TRUE(p3->GRAFIK(f)) << f;
    EXPECT_TRUE(p3->TABELLE(360));
    EXPECT_TRUE(printedFigures(*p2).contains("Kombinationen"));
    EXPECT_TRUE(printedFigures(*p3).contains("Kombinationen"));
}

TEST_F(CombinationPagesTest, TheTableMarksCombinationsWithoutSection)
{
    auto p2 = load();
    auto sheet = std::make_shared<RecordingSurface>();
    p2->setPrintTarget(sheet);
    p2->BILD260(1, 19, 11.5);
    const QStringList texts = sheet->texts();
    EXPECT_TRUE(texts.contains("Kombinationen"));
    EXPECT_TRUE(texts.contains("*"));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("* Für diese Kombination kein Abschnitt vorhanden")));
    EXPECT_TRUE(texts.contains("GR"));

    // A target code other than 0 or 1 draws through the object of the previous call.
    sheet->reset();
    clsTABELLE *before = p2->TABELLE(260);
    p2->BILD260(2, 0, 0);
    EXPECT_EQ(p2->TABELLE(260), before);
    EXPECT_TRUE(sheet->texts().contains("Kombinationen"));
}

// A page whose load found nothing to show draws no figure at load, on paper or when it is
// restyled (the ancillary-times page used to draw them on print and restyle all the same);
// its sheet still carries the header that says why.
TEST_F(CombinationPagesTest, APageWithoutDataDrawsOnlyItsHeader)
{
    // Counts of measures alone are no additional costs.
    cnn->Execute("UPDATE M3 SET SAUZ=0, SPPZ=0, SSTZ=0, SZKT=0, SZKV=0, SZKL=0, SZKF=0, ANZKT=5");
    auto p2 = load();
    mdiMSEITE3 *p3 = page3(*p2);
    ASSERT_TRUE(p3);
    struct Case {
        CombinationPage *page;
        QString comment;
        int first, table;
    };
    const Case cases[] = {{p2.get(), "Es wurden keine Bohrnebenzeiten gefunden.", 210, 260},
                          {p3, "Es wurden keine Zusatzkosten gefunden.", 310, 360}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        EXPECT_FALSE(c.page->BODATEN());
        EXPECT_EQ(c.page->KOPFFUSSOBJEKT()->KOMMENTAR(), c.comment);
        EXPECT_FALSE(c.page->GRAFIK(c.first));
        EXPECT_FALSE(c.page->TABELLE(c.table));
        EXPECT_TRUE(printedFigures(*c.page).isEmpty());
        c.page->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);
        EXPECT_FALSE(c.page->GRAFIK(c.first));
        EXPECT_FALSE(c.page->TABELLE(c.table));
    }
    // A first table drawing with another target code has no previous place: it draws into its
    // box (an error box per step before).
    p2->BILD260(2, 0, 0);
    EXPECT_TRUE(p2->TABELLE(260));
    // The header sheet of page 3 went to the printer.
    EXPECT_TRUE(QFile::exists(dir.filePath("druck.pdf")));
}

TEST_F(CombinationPagesTest, WithoutCombinationsThePagesShowWhatTheAggregationStoredForAll)
{
    // An empty M2 makes combination 0 match every section; the aggregation stored its sums.
    cnn->Execute("DELETE FROM M2; DELETE FROM M3 WHERE I1 > 0");
    auto p2 = load();
    EXPECT_EQ(p2->KOMBMAX(), 0);
    EXPECT_EQ(p2->BOKOMB(), std::vector<bool>({true}));
    EXPECT_EQ(row(p2->TABDATEN(), 0), QStringList({"0", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>",
                                                   "<empty>"}));
    EXPECT_TRUE(p2->BODATEN());
    EXPECT_EQ(ctx.progressValues.mid(0, 6), QList<int>({70, 71, 79, 79, 80, 81}));
}

TEST_F(CombinationPagesTest, NoSectionIsToldOnceForTheWholeChain)
{
    cnn->Execute("UPDATE M3 SET BOKOMB=0");
    boxes.answer(ui::vbOK);
    auto p2 = load();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].text,
              QString::fromUtf8("Achtung! Es wurde für keine der angegebenen\nKombinationen ein Abschnitt gefunden!\n"
                                "Die Auswertung wird daher abgebrochen."));
    EXPECT_TRUE(p2->BODATEN()) << "the load goes on with the values read";
}

// A read that fails ends the data step at once: the accessor has said why, the combinations
// from there on keep their fresh contents, and the no-section note is not given.
TEST_F(CombinationPagesTest, AFailedReadEndsTheDataStepSilently)
{
    cnn->Execute("ALTER TABLE M3 DROP COLUMN SSTPH");
    boxes.answer(ui::vbOK);   // page 2's data error; the pages after it do not read SSTPH
    auto p2 = load();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Datenfehler");
    EXPECT_EQ(p2->daten().SSTK, std::vector<float>({25, 0, 0})) << "read before the failure";
    EXPECT_EQ(p2->SDEZ(), std::vector<float>({40, 0, 0}));
    EXPECT_EQ(cell(p2->TABDATEN(), 0, 1), "<empty>");
    EXPECT_FALSE(p2->BODATEN()) << "a combination counts once all its reads succeeded";
}

// A stored value that cannot be converted is a run-time error in the data step: its box names
// the step and the page; OK goes on with the next read.
TEST_F(CombinationPagesTest, AnUnreadableValueShowsTheDataStepsErrorBox)
{
    cnn->Execute("UPDATE M3 SET SAUK='abc' WHERE I1=1; UPDATE M3 SET SZKV='abc' WHERE I1=1");
    boxes.answer(ui::vbOK);
    boxes.answer(ui::vbOK);
    auto p2 = load();
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(boxes.records()[0].title, "Dateneingabe;  Seite 2");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Fehler: 13"));
    EXPECT_EQ(boxes.records()[1].title, "Dateneingabe;  Seite 3");
    EXPECT_EQ(p2->daten().SAUPH, std::vector<float>({4, 0, 0}));
    EXPECT_EQ(p2->daten().SSTZ, std::vector<float>({0.5f, 3, 0})) << "the reads after the failed one go on";
}

// Page 1 could not store this run's sums (and said so): the tables hold an earlier run's rows,
// so the pages after it show what the run kept, or nothing, and ask the tables no more.
TEST_F(CombinationPagesTest, AfterAnUnstoredRunThePagesShowWhatTheRunKept)
{
    multiple::PageSums computed;
    computed.sums.resize(2);
    computed.sums[0].BOKOMB = true;
    computed.sums[0].SDEZ = 12;
    computed.sums[0].SSTZ = 4;
    computed.sums[0].SZK[3] = 7;
    computed.sums[0].ANZK[3] = 70000;
    computed.sums[1].SDEZ = 12;
    computed.stats.resize(2);
    computed.stats[0].XQBRV = 2.5f;
    computed.stats[0].SXBRV = 0.5f;
    computed.KOMBTAB = CellArray(7, 2);
    computed.KOMBTAB.set(0, 0, Variant(int16_t(0)));
    computed.KOMBTAB.set(1, 0, Variant(QStringLiteral("NEU")));
    computed.KOMBTAB.set(0, 1, Variant(int16_t(1)));
    struct Case {
        const char *name;
        multiple::PageSums kept;
        std::vector<bool> found;
        bool data;
    } cases[] = {{"computed", computed, {true, false}, true}, {"none", {}, {}, false}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        run = std::make_shared<MultipleRun>();
        run->keepUnstoredSums(c.kept);
        cnn->Execute("ALTER TABLE M2 RENAME TO M2X");   // any read of the combinations would fail
        auto p2 = load();                                // and show a box
        cnn->Execute("ALTER TABLE M2X RENAME TO M2");
        mdiMSEITE3 *p3 = page3(*p2);
        ASSERT_TRUE(p3);
        auto *p4 = qobject_cast<mdiMSEITE4 *>(p3->followingPage());
        ASSERT_TRUE(p4);
        for (CombinationPage *p : {static_cast<CombinationPage *>(p2.get()), static_cast<CombinationPage *>(p3)}) {
            EXPECT_EQ(p->BOKOMB(), c.found);
            EXPECT_EQ(p->BODATEN(), c.data);
            EXPECT_EQ(p->TABDATEN().rows(), int(c.found.size()));
        }
        EXPECT_EQ(p4->BOKOMB(), c.found) << "the statistics the run kept";
        if (c.data) {
            EXPECT_EQ(p2->SDEZ(), std::vector<float>({12, 12}));
            EXPECT_EQ(p2->daten().SSTZ, std::vector<float>({4, 0}));
            EXPECT_EQ(p3->daten().ANZKF, std::vector<int32_t>({70000, 0}));
            EXPECT_EQ(row(p2->TABDATEN(), 0), QStringList({"0", "NEU", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>"}));
            EXPECT_TRUE(printedFigures(*p3).contains("NEU"));
            EXPECT_FLOAT_EQ(p4->STATTAB().at(1, 0).toSingle(), 2.5f);
            EXPECT_FLOAT_EQ(p4->STATTAB().at(2, 0).toSingle(), 0.5f);
        }
    }
}

TEST_F(CombinationPagesTest, PageKeysWalkTheChain)
{
    auto p2 = load();
    mdiMSEITE3 *p3 = page3(*p2);
    ASSERT_TRUE(p3);
    auto *p4 = p3->followingPage();
    p2->show();
    p2->Form_KeyDown(33, 2);   // Ctrl+PageUp acts as PageUp
    EXPECT_TRUE(p2->isHidden());
    EXPECT_TRUE(p3->isVisible());
    p3->Form_KeyDown(33, 0);
    EXPECT_TRUE(p4->isVisible());
    p4->Form_KeyDown(34, 0);
    EXPECT_TRUE(p3->isVisible());
    p3->Form_KeyDown(34, 1);
    EXPECT_TRUE(p2->isVisible());
    EXPECT_TRUE(p3->isHidden());
}
