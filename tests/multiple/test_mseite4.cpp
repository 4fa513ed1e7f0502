// The statistics page: its table built from M1 to M4, the table on the recording surface, the
// chain's notes and the progress of its load.
#include "MSeite1Fixture.h"
#include "common/PageLook.h"
#include "common/CellText.h"

#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "pages/multiple/mdiMSEITE4.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QScrollBar>

using namespace vnt;
using namespace vnt::test;

namespace {

// Three combinations; 2 found no section. Combination 0 (VZ 0 / VZ 1 for groups 0 and 1):
//   advance rate 2 +- 0.5 / 4 +- 1, drilling cost 50 +- 5 / 25 +- 10, ancillary time 0 +- 0,
//   ancillary cost 10 with an undefined deviation, cost per measure 200 undefined, 4 +- 1 per metre.
// Combination 1: only its gross advance rate and cost per measure are of interest.
const char *kStatistics = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'B', 1), (2, 'A', 1), (3, 'C', 0);
INSERT INTO M1 (IDM, KOM, VZ) VALUES (1, 'Los 3', 0);
INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (1, 2, 'GR');
INSERT INTO M3 (IDM, I1, BOKOMB) VALUES (1, 0, 1), (1, 1, 1), (1, 2, 0);
INSERT INTO M4 (IDM, I1, XQBRV, SXBRV, XQNTV, SXNTV, XQBRK, SXBRK, XQNTK, SXNTK, XQNEZ, SXNEZ, XQNEK, SXNEK,
                XQZK, SXZK, XQZKM, SXZKM)
VALUES (1, 0, 2, 0.5, 4, 1, 50, 5, 25, 10, 0, 0, 10, 1000000000, 200, 1000000000, 4, 1),
       (1, 1, 8, 2, 5, 5, 1, 1, 1, 1, 1, 1, 1, 1, 1600, 400, 1, 1),
       (1, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
)";

class MSeite4Test : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        openProject(kStatistics);
    }
    std::unique_ptr<mdiMSEITE4> load() { return std::make_unique<mdiMSEITE4>(ctx, run, nullptr); }
    QStringList printed(mdiMSEITE4 &page)
    {
        auto sheet = std::make_shared<RecordingSurface>();
        page.setPrintTarget(sheet);
        page.BILD410(1, -1, 1);
        return sheet->texts();
    }

    std::shared_ptr<MultipleRun> run = std::make_shared<MultipleRun>();
};

} // namespace

TEST_F(MSeite4Test, EachCombinationShowsMeanDeviationAndVariationOfTheChosenValues)
{
    // Groups 2 to 5 whatever VZ says: a mean of 0 and an undefined deviation show "-".
    const QStringList rest0 = {"0", "-", "-", "10", "-", "-", "200", "-", "-", "4", "1", "0.25"};
    const QStringList rest1 = {"1", "1", "1", "1", "1", "1", "1600", "400", "0.25", "1", "1", "1"};
    struct Case {
        int16_t VZ;
        QStringList row0, row1;
    };
    const Case cases[] = {
        {0, QStringList{"0", "2", "0.5", "0.25", "50", "5", "0.1"} + rest0,
         QStringList{"1", "8", "2", "0.25", "1", "1", "1"} + rest1},
        {1, QStringList{"0", "4", "1", "0.25", "25", "10", "0.4"} + rest0,
         QStringList{"1", "5", "5", "1", "1", "1", "1"} + rest1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.VZ);
        cnn->Execute(QStringLiteral("UPDATE M1 SET VZ=%1").arg(c.VZ));
        auto page = load();
        EXPECT_EQ(page->VZ(), c.VZ);
        ASSERT_EQ(page->NKOMB(), 2);
        EXPECT_EQ(page->BOKOMB(), std::vector<bool>({true, true, false}));
        EXPECT_EQ(row(page->STATTAB(), 0), c.row0);
        EXPECT_EQ(row(page->STATTAB(), 1), c.row1);
        EXPECT_EQ(row(page->STATTAB(), 2), QStringList({"2"}) + QStringList(18, "-"));
        EXPECT_EQ(page->DSKEN(), QStringList({"A", "B"}));
    }
    // The marker of an undefined deviation stays what the aggregation stored.
    EXPECT_EQ(rows("SELECT SXNEK, SXZK FROM M4 WHERE I1=0"), "1E+09;1E+09");
}

TEST_F(MSeite4Test, TheTableShowsHeadRowsFormatsAndTheGrossOrNetNote)
{
    LocaleScope german(QLocale::German);
    auto page = load();
    const CellArray &head = page->STATKOPF();
    ASSERT_EQ(head.columns(), 19);
    ASSERT_EQ(head.rows(), 3);
    EXPECT_EQ(row(head, 0), QStringList({"<empty>", "Vortriebsgeschwindigkeit", "<empty>", "<empty>", "Bohrkosten",
                                         "<empty>", "<empty>", "bez. Bohrnebenzeiten", "<empty>", "<empty>",
                                         "bez. Bohrnebenkosten", "<empty>", "<empty>",
                                         QString::fromUtf8("Kosten pro Zusatzmaßnahme"), "<empty>", "<empty>",
                                         "Zusatzkosten pro Meter", "<empty>", "<empty>"}));
    EXPECT_EQ(row(head, 1).mid(0, 4), QStringList({"Komb.", "XQ", "SX", "VX"}));
    EXPECT_EQ(row(head, 2).mid(0, 4), QStringList({"Nr.", "[m/h]", "[m/h]", "[m/h]"}));
    EXPECT_EQ(row(head, 2).mid(13, 3), QStringList({"[E/n]", "[E/n]", "[E/n]"}));

    const QStringList texts = printed(*page);
    EXPECT_TRUE(texts.contains("Mittelwerte, Standardabweichung und Variationskoeffizient"));
    EXPECT_TRUE(texts.contains("Zeiten und Kosten sind Bruttowerte"));
    EXPECT_TRUE(texts.contains("0,50"));
    EXPECT_TRUE(texts.contains("200,00"));
    EXPECT_TRUE(texts.contains("4,0E+2")) << "the spread per measure in scientific notation";
    EXPECT_TRUE(texts.contains("-"));
    for (const QString &t : texts)
        EXPECT_FALSE(t.startsWith("1000000000") || t.startsWith("1,0E+9") || t.startsWith("100000000,00")) << t.toStdString();
}

TEST_F(MSeite4Test, WithoutCombinationsThePageShowsWhatTheAggregationStoredForAll)
{
    // An empty M2 makes combination 0 match every section, and the aggregation stored it.
    cnn->Execute(QStringLiteral("DELETE FROM M2"));
    auto page = load();
    ASSERT_EQ(page->NKOMB(), 0);
    EXPECT_EQ(page->BOKOMB(), std::vector<bool>({true}));
    EXPECT_EQ(row(page->STATTAB(), 0).mid(0, 7), QStringList({"0", "2", "0.5", "0.25", "50", "5", "0.1"}));
}

TEST_F(MSeite4Test, NoSectionIsToldOncePerRunNotAtEveryRestyle)
{
    cnn->Execute(QStringLiteral("UPDATE M3 SET BOKOMB=0"));
    boxes.answer(ui::vbOK);
    auto page = load();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records().back().text,
              QString::fromUtf8("Achtung! Es wurde für keine der angegebenen\nKombinationen ein Abschnitt gefunden!\n"
                                "Die Auswertung wird daher abgebrochen."));
    for (int r = 0; r <= 2; ++r)
        EXPECT_EQ(row(page->STATTAB(), r), QStringList({QString::number(r)}) + QStringList(18, "-"));

    page->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);   // an unexpected box fails the test
    EXPECT_EQ(boxes.records().size(), 1u);
    // A page of a run that told it already says nothing at its load either.
    auto second = load();
    EXPECT_EQ(boxes.records().size(), 1u);
}

TEST_F(MSeite4Test, RestylingRebuildsTheTableFromTheTables)
{
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    cnn->Execute(QStringLiteral("UPDATE M1 SET VZ=1; UPDATE M4 SET XQNTV=3 WHERE I1=0"));
    page->BILD410(1, 0, 0);
    EXPECT_TRUE(sheet->texts().contains("Zeiten und Kosten sind Bruttowerte")) << "a plain redraw reads nothing";

    page->KONTEXT(false, false, 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(page->VZ(), 1);
    EXPECT_EQ(cell(page->STATTAB(), 1, 0), "3");
    sheet->reset();
    page->BILD410(1, 0, 0);
    EXPECT_TRUE(sheet->texts().contains("Zeiten und Kosten sind Nettowerte"));

    // A gross/net choice on the first page reaches this page at once.
    cnn->Execute(QStringLiteral("UPDATE M1 SET VZ=0"));
    page->grossNetChanged(0);
    EXPECT_EQ(page->VZ(), 0);
    EXPECT_EQ(cell(page->STATTAB(), 1, 0), "2");
}

TEST_F(MSeite4Test, ProgressRunsFrom85Through86To94)
{
    struct Case {
        int N;
        QList<int> values;
    };
    const Case cases[] = {
        {2, {85, 86, 86, 90, 94, 94}},   // 86 + round(8c/N) after each combination
        {0, {85, 86, 94, 94}},
        // 8c/16 = c/2: halves round to the even neighbour (c 1 gives 86, c 3 gives 88)
        {16, {85, 86, 86, 86, 87, 88, 88, 88, 89, 90, 90, 90, 91, 92, 92, 92, 93, 94, 94, 94}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.N);
        cnn->Execute(QStringLiteral("DELETE FROM M2; WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                    "WHERE i < %1) INSERT INTO M2 (IDM, I1) SELECT 1, i FROM n;")
                         .arg(c.N));
        QuitContext progress;
        progress.cnn = cnn;
        progress.cnnV = cnnV;
        mdiMSEITE4 page(progress, run, nullptr);
        EXPECT_EQ(progress.progressValues, c.values);
        EXPECT_EQ(page.STATTAB().rows(), c.N + 1);
    }
}

// Page 4 after page 1 in one run, on the sums page 1 aggregated (see MSeite1Fixture.h):
// combination 0 has two sections, combination 1 only one.
class MSeite4ChainTest : public MSeite1Test {
protected:
    void SetUp() override
    {
        MSeite1Test::SetUp();
        previous = mdiMSEITE1::setFollowingPages(
            [this](RunContext &c, std::shared_ptr<MultipleRun> r, QWidget *parent) -> MultiplePage * {
                return made = new mdiMSEITE4(c, std::move(r), parent);
            });
    }
    void TearDown() override { mdiMSEITE1::setFollowingPages(previous); }
    int noSectionNotes() const
    {
        int n = 0;
        for (const auto &r : boxes.records())
            n += r.text.startsWith(QStringLiteral("Achtung!"));
        return n;
    }
    mdiMSEITE1::FollowingPages previous;
    QPointer<MultiplePage> made;
};

TEST_F(MSeite4ChainTest, AdvanceRatesOfTheAggregationAndTheUndefinedDeviationOfOneSection)
{
    auto page1 = load();
    auto *page4 = qobject_cast<mdiMSEITE4 *>(made.data());
    ASSERT_TRUE(page4);
    EXPECT_EQ(page4->run().pages().size(), 2);
    EXPECT_EQ(page4->KOPFFUSSOBJEKT() != nullptr, true);
    // Combination 0: 40 m in 15 h; rates 2 and 3 m/h: D = 13 - 2 x (8/3)^2 = -11/9, SX = sqrt(11/9).
    const CellArray &t = page4->STATTAB();
    EXPECT_NEAR(t.at(1, 0).toDouble(), 40.0 / 15, 1e-5);
    EXPECT_NEAR(t.at(2, 0).toDouble(), std::sqrt(11.0 / 9), 1e-5);
    EXPECT_NEAR(t.at(3, 0).toDouble(), std::sqrt(11.0 / 9) / (40.0 / 15), 1e-5);
    // Combination 1: one section, 20 m in 20 h; its deviation is not defined.
    EXPECT_NEAR(t.at(1, 1).toDouble(), 1.0, 1e-6);
    EXPECT_EQ(cell(t, 2, 1), "-");
    EXPECT_EQ(cell(t, 3, 1), "-");
    EXPECT_EQ(rows("SELECT SXBRV FROM M4 WHERE I1=1"), "1E+09");
    EXPECT_EQ(row(t, 2), QStringList({"2"}) + QStringList(18, "-"));
}

TEST_F(MSeite4ChainTest, NoSectionIsToldByTheFirstPageOnly)
{
    cnn->Execute(QStringLiteral("UPDATE M2 SET KENG='XX'"));
    auto page1 = load([&] { boxes.answer(ui::vbOK); });
    auto *page4 = qobject_cast<mdiMSEITE4 *>(made.data());
    ASSERT_TRUE(page4);
    EXPECT_EQ(noSectionNotes(), 1);
    page4->KONTEXT(true, true, 0xFFFFFF, 0xFFFFFF);
    EXPECT_EQ(noSectionNotes(), 1);
    EXPECT_EQ(row(page4->STATTAB(), 0), QStringList({"0"}) + QStringList(18, "-"));
}

TEST_F(MSeite4Test, MoreCombinationsThanTheBoxHoldsScrollAndPrintAsShown)
{
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 40)"
                 " INSERT INTO M2 (IDM, I1) SELECT 1, i FROM n;");
    auto page = load();
    page->resize(1400, 990);
    page->show();
    QCoreApplication::processEvents();
    QScrollBar *bar = page->scrollBar("vscBILD410");
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->isHidden());
    EXPECT_TRUE(printed(*page).contains("0"));
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    const QStringList after = printed(*page);
    EXPECT_TRUE(after.contains("40"));
    EXPECT_TRUE(after.contains("Komb."));
}

// The page as the user sees it, with more combinations than its box shows: the table inside
// its box on screen and paper.
TEST_F(MSeite4Test, Look)
{
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 34)"
                 " INSERT INTO M2 (IDM, I1) SELECT 1, i FROM n;"
                 " INSERT INTO M3 (IDM, I1, BOKOMB) SELECT 1, I1, 1 FROM M2 WHERE I1 > 2 AND I1 % 2 = 0;"
                 " INSERT INTO M4 (IDM, I1, XQBRV, SXBRV, XQBRK, SXBRK, XQNEZ, SXNEZ, XQNEK, SXNEK, XQZK, SXZK,"
                 " XQZKM, SXZKM) SELECT 1, I1, 1.5 + I1 / 10.0, 0.4, 120 + I1, 30, 0.35, 0.1, 45.5, 12, 2500 + I1,"
                 " 1234, 12.5, 3.25 FROM M2 WHERE I1 > 2 AND I1 % 2 = 0;");
    ScreenLogs screen;
    auto page = load();
    lookAtPage(*page, screen, "mseite4");
}

TEST_F(MSeite4Test, PrintingPlacesTheTableAtTheBoxMovedByThePageOffsets)
{
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    Printer::instance().setPdfFile(dir.filePath("seite4.pdf"));
    page->DRUCKEN();
    double left = 1e9, top = 1e9;
    for (Primitive kind : {Primitive::Line, Primitive::Rectangle})
        for (const Stroke &s : sheet->strokes(kind))
            for (const QPointF &p : s.points) {
                left = std::min(left, p.x());
                top = std::min(top, p.y());
            }
    // The box at 15 mm, 35 mm; printed 1 mm left and 1 mm down; the table 0.5 mm in, 7 mm down,
    // and the outer line of its double frame 0.5 mm outside that.
    EXPECT_NEAR(left, 15 - 1 + 0.5 - 0.5, 0.01);
    EXPECT_NEAR(top, 35 + 1 + 7 - 0.5, 0.01);
    EXPECT_TRUE(sheet->texts().contains("Zeiten und Kosten sind Bruttowerte"));

    // The header: page 4 of 4, the comment behind 29 blanks; without page numbers on request.
    const clsKOPFFUSS *k = page->KOPFFUSSOBJEKT();
    ASSERT_TRUE(k);
    EXPECT_EQ(k->KOMMENTAR(), QString(29, ' ') + "Los 3");
    EXPECT_EQ(k->SEITE(), 4);
    EXPECT_EQ(k->SEITENANZAHL(), 4);
    page->KONTEXT(true, false, 0xFFFFFF, 0xFFFFFF);
    EXPECT_FALSE(page->KOPFFUSSOBJEKT()->EBOKFS().toBool());
}

TEST_F(MSeite4Test, AFailedReadEndsTheDataStepAndThePageIsStillDrawn)
{
    cnn->Execute(QStringLiteral("DROP TABLE M4"));
    boxes.answer(ui::vbOK);   // the accessor's own message, and no note about sections
    auto page = load();
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_FALSE(boxes.records().back().text.startsWith("Achtung!"));
    EXPECT_EQ(row(page->STATTAB(), 0), QStringList({"0"}) + QStringList(18, "<empty>"));
    EXPECT_EQ(row(page->STATTAB(), 2), QStringList(19, "<empty>"));
    EXPECT_TRUE(page->TABELLE(410));
}
