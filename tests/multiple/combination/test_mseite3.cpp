// The figures of the additional-costs page: the stacked series of each figure from the page's
// sums, the stacked outlines on paper over the depth axis of the first figure with its strip,
// the cost exponents, and combinations that would divide by zero or count past 16 bits.
#include "CombinationFixture.h"

#include "common/LegendCheck.h"
#include "common/PageLook.h"
#include "common/Shots.h"
#include "drawing/clsGRAFIK.h"
#include "pages/multiple/mdiMSEITE3.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace vnt;
using namespace vnt::test;

namespace {

// Four combinations. 0: 40 m; costs T 1000 (2 measures), V 2000 (4), L 500 (no measure counted),
//   F 500 (1). 1: 20 m; L 600 (3). 2: no section, its sums are stale and must not show.
// 3: a section but no length (SDEZ stays 60); T 300 (1).
const char *kSeite3 = R"(
INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'A', 1);
INSERT INTO A1 (ID, BONEU) VALUES (0, 1);
INSERT INTO M1 (IDM, KOM) VALUES (1, 'Los 7');
INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (1, 2, 'GR'), (1, 3, 'S');
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SZKT, ANZKT, SZKV, ANZKV, SZKL, ANZKL, SZKF, ANZKF) VALUES
  (1, 0, 1, 40, 1000, 2, 2000, 4, 500, 0, 500, 1),
  (1, 1, 1, 60, 0, 0, 0, 0, 600, 3, 0, 0),
  (1, 2, 0, 60, 999, 9, 0, 0, 0, 0, 0, 0),
  (1, 3, 1, 60, 300, 1, 0, 0, 0, 0, 0, 0);
)";

using Stacks = std::vector<std::vector<double>>;   // T, V, L, F; one value per combination

// The page with its figure descriptions in reach.
class Seite3 : public mdiMSEITE3 {
public:
    using mdiMSEITE3::figure;
    using mdiMSEITE3::mdiMSEITE3;
    Stacks stacks(int number)
    {
        Stacks out;
        for (const CurveSeries &s : figure(number).series(depthAxis()))
            out.push_back(s.values);
        return out;
    }
};

class MSeite3Test : public MultipleTest {
protected:
    void SetUp() override
    {
        MultipleTest::SetUp();
        cnn->Execute(QString::fromLatin1(kSeite3));
    }
    std::unique_ptr<Seite3> load() { return std::make_unique<Seite3>(ctx, std::make_shared<MultipleRun>()); }
    // Draws the page's curve figures in the order every caller keeps, onto a recording sheet.
    std::shared_ptr<RecordingSurface> print(Seite3 &page)
    {
        auto sheet = std::make_shared<RecordingSurface>();
        page.setPrintTarget(sheet);
        page.BILD310(1, 0, 0);
        page.BILD320(1, 0, 0);
        page.BILD340(1, 0, 0);
        page.BILD350(1, 0, 0);
        return sheet;
    }
};

// The plot area of a figure of the page as it was drawn last; figure 310 owns the depth axis.
PlotArea areaOf(Seite3 &page, int number)
{
    const clsGRAFIK &g = *page.GRAFIK(number);
    return PlotArea(page, QStringLiteral("picBILD%1").arg(number), number == 310, g.XMAX(), g.YMAX());
}

// The value at which the outline in `colour` stands over each combination's stretch of depth:
// the x of its vertical stroke from the previous end depth to its own, in the figure's units.
// NaN where no such stroke is drawn (and for combinations without a stretch of their own).
std::vector<double> outline(const RecordingSurface &s, const PlotArea &area, const QColor &colour,
                            const std::vector<double> &depths)
{
    std::vector<double> out(depths.size(), std::nan(""));
    double top = 0;
    for (size_t c = 0; c < depths.size(); ++c) {
        const double y1 = area.at(0, top).y(), y2 = area.at(0, depths[c]).y();
        for (const Stroke &k : s.strokes(Primitive::Line)) {
            const QPointF a = k.points[0], b = k.points[1];
            // Strokes of the same colour in the other figures of the sheet are not this one's.
            if (k.color != colour || std::abs(a.x() - b.x()) > 1e-6 || y2 - y1 < 1e-6 || a.x() < area.plot.left() - 0.01 ||
                a.x() > area.plot.right() + 0.01)
                continue;
            if (std::abs(std::min(a.y(), b.y()) - y1) < 0.01 && std::abs(std::max(a.y(), b.y()) - y2) < 0.01)
                out[c] = area.value(a.x());
        }
        top = depths[c];
    }
    return out;
}

void expectValues(const std::vector<double> &got, const std::vector<double> &want, const char *what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (size_t c = 0; c < want.size(); ++c)
        if (!std::isnan(want[c]))
            EXPECT_NEAR(got[c], want[c], 1e-3 * std::max(1.0, std::abs(want[c]))) << what << ", combination " << c;
}

const double kNone = std::nan("");   // no stretch of depth: nothing to see

} // namespace

TEST_F(MSeite3Test, EachFigureStacksTheDeviceTypesOfEveryCombination)
{
    auto page = load();
    ASSERT_TRUE(page->BODATEN());
    ASSERT_EQ(page->KOMBMAX(), 3);
    struct Case {
        int figure;
        Stacks want;
    } cases[] = {
        // The stale sums of combination 2 stay out; combination 3 has its costs and counts.
        {310, {{1000, 0, 0, 300}, {3000, 0, 0, 300}, {3500, 600, 0, 300}, {4000, 600, 0, 300}}},
        {320, {{2, 0, 0, 1}, {6, 0, 0, 1}, {6, 3, 0, 1}, {7, 3, 0, 1}}},
        // Per measure of each type; combination 0's cutting-tool costs were counted in no measure.
        {340, {{500, 0, 0, 300}, {1000, 0, 0, 300}, {1000, 200, 0, 300}, {1500, 200, 0, 300}}},
        // Per metre of the combination's own length; combination 3 has none and shows nothing.
        {350, {{25, 0, 0, 0}, {75, 0, 0, 0}, {87.5, 30, 0, 0}, {100, 30, 0, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.figure);
        const Stacks got = page->stacks(c.figure);
        ASSERT_EQ(got.size(), 4u);
        for (size_t k = 0; k < 4; ++k)
            expectValues(got[k], c.want[k], "series");

        const std::vector<CurveSeries> series = page->figure(c.figure).series(page->depthAxis());
        QStringList labels;
        QList<int> colours;
        for (const CurveSeries &s : series) {
            labels << s.label;
            colours << s.colour;
        }
        EXPECT_EQ(labels, QStringList({"T", "V", "L", "F"}));
        EXPECT_EQ(colours, QList<int>({10, 2, 1, 4}));
    }
}

TEST_F(MSeite3Test, OutlinesStandOnTheFirstFiguresDepthAxisWithItsStrip)
{
    auto page = load();   // any box would fail the test: no divisor of 0 may reach one
    auto sheet = print(*page);
    clsGRAFIK &g310 = *page->GRAFIK(310);
    const std::vector<double> depths = page->depthAxis().SDEZ;
    ASSERT_EQ(depths, std::vector<double>({40, 60, 60, 60}));

    // Every stacked sum of figure 310 in its own colour; the totals of the others.
    const std::vector<double> want310[4] = {{1000, 0, kNone, kNone}, {3000, 0, kNone, kNone},
                                            {3500, 600, kNone, kNone}, {4000, 600, kNone, kNone}};
    const int colours[4] = {10, 2, 1, 4};
    for (size_t k = 0; k < 4; ++k)
        expectValues(outline(*sheet, areaOf(*page, 310), paletteColor(colours[k]), depths), want310[k], "figure 310");
    const struct {
        int figure;
        std::vector<double> total;
    } totals[] = {{320, {7, 3, kNone, kNone}}, {340, {1500, 200, kNone, kNone}}, {350, {100, 30, kNone, kNone}}};
    for (const auto &t : totals) {
        clsGRAFIK &g = *page->GRAFIK(t.figure);
        expectValues(outline(*sheet, areaOf(*page, t.figure), paletteColor(4), depths), t.total, "total");
        EXPECT_FLOAT_EQ(g.MY(), g310.MY()) << t.figure;
        EXPECT_FLOAT_EQ(g.YMAX(), g310.YMAX()) << t.figure;
        EXPECT_EQ(g.ETEXTY(), "z [m]") << t.figure;
        EXPECT_EQ(g.ELYDIFF(), g310.ELYDIFF()) << t.figure;
    }

    EXPECT_EQ(g310.ETEXTX(), "Kosten [E]");
    EXPECT_EQ(page->GRAFIK(320)->ETEXTX(), "Anzahl [n]");
    EXPECT_EQ(page->GRAFIK(340)->ETEXTX(), "Kosten [E/n]");
    EXPECT_EQ(page->GRAFIK(350)->ETEXTX(), "Kosten [E/m]");
    EXPECT_DOUBLE_EQ(g310.XMAX(), 4000);
    EXPECT_DOUBLE_EQ(page->GRAFIK(350)->XMAX(), 100);

    // The legend's first row: a stroke 12 mm to 7 mm before the end of the value axis, 2 mm
    // below the top, and the four labels in stacking order in every figure.
    const QRectF plot = areaOf(*page, 310).plot;
    const QPointF from(plot.right() - 12, plot.top() + 2), to(plot.right() - 7, plot.top() + 2);
    const auto lines = sheet->strokes(Primitive::Line);
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const Stroke &k) {
        return k.color == paletteColor(10) && (k.points[0] - from).manhattanLength() < 0.01 &&
               (k.points[1] - to).manhattanLength() < 0.01;
    }));
    QStringList texts = sheet->texts();
    for (const char *t : {"Zusatzkosten", "Anzahl der Zusatzmaßnahmen", "Kosten pro Zusatzmaßnahme",
                          "Zussatzkosten pro Meter"})
        EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
    EXPECT_EQ(texts.filter(QRegularExpression("^[TVLF]$")).join(""), "TVLFTVLFTVLFTVLF");

    // The strip names the combinations with a section, the one without length below the one before.
    sheet->reset();
    page->BILD310(1, 0, 0);   // a new drawing object for figure 310
    clsGRAFIK &first = *page->GRAFIK(310);
    texts = sheet->texts();
    const QStringList strip = texts.mid(texts.indexOf("F") + 1, 3);
    EXPECT_EQ(strip, QStringList({"0", "1", "3"}));
    // The leader of combination 3, whose label went below the end of the depth axis, crosses
    // the number at the end of the value axis: that number is drawn once more, over it.
    const QStringList after = texts.mid(texts.indexOf("F") + 4);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(texts.count(after[0]), 2) << after[0].toStdString();
    EXPECT_FLOAT_EQ(page->GRAFIK(315)->MY(), first.MY());
    std::vector<double> labelDepths;
    for (const Stroke &k : sheet->strokes(Primitive::Text))
        if (strip.contains(k.text) && k.points[0].x() > areaOf(*page, 310).plot.right())
            labelDepths.push_back(k.points[0].y());
    ASSERT_EQ(labelDepths.size(), 3u);
    // That label would stand 3.5 mm below the one before, beside the number at the end of the
    // value axis, whose cleared ground would take its digit: it goes below that number instead.
    EXPECT_GT(labelDepths[2] - labelDepths[1], 3.5);
    double numberBottom = 0;
    for (const Stroke &k : sheet->strokes(Primitive::Text))
        if (k.text == after[0])
            numberBottom = std::max(numberBottom, strokeBounds(k).bottom());
    EXPECT_GE(labelDepths[2], numberBottom);
}

// Sixty more combinations, 1 m each, put their band lines through the legends.
TEST_F(MSeite3Test, TheLegendsReadOverTheBandLines)
{
    cnn->Execute(R"(
WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 63)
INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, 'S' FROM n;
WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 63)
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SZKT, ANZKT, SZKV, ANZKV, SZKL, ANZKL, SZKF, ANZKF)
    SELECT 1, i, 1, 57 + i, 100 * (i % 5), 1, 200, 2, 50 * (i % 3), 1, 300, 1 FROM n;
)");
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    using Draw = void (mdiMSEITE3::*)(int, float, float);
    for (Draw d : {&mdiMSEITE3::BILD310, &mdiMSEITE3::BILD320, &mdiMSEITE3::BILD340, &mdiMSEITE3::BILD350}) {
        sheet->reset();
        (page.get()->*d)(1, 0, 0);
        EXPECT_TRUE(legendReadsOverLines(*sheet, {"T", "V", "L", "F"}));
    }
}

// Carrier rig and casing are light green and green: the carrier rig's lighter shade is dashed.
TEST_F(MSeite3Test, DeviceSeriesInShadesOfOneColourAreToldApartByTheirLine)
{
    const struct {
        const char *label;
        int colour, style;
    } rows[] = {{"T", 10, 1}, {"V", 2, 0}, {"L", 1, 0}, {"F", 4, 0}};
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    using Draw = void (mdiMSEITE3::*)(int, float, float);
    for (Draw d : {&mdiMSEITE3::BILD310, &mdiMSEITE3::BILD320, &mdiMSEITE3::BILD340, &mdiMSEITE3::BILD350}) {
        sheet->reset();
        (page.get()->*d)(1, 0, 0);
        for (const auto &r : rows)
            EXPECT_TRUE(seriesDrawnAs(*sheet, r.label, paletteColor(r.colour), r.style)) << r.label;
    }
}

TEST_F(MSeite3Test, EachCostFigureScalesItsOwnTotalsByAPowerOfTen)
{
    // Combination 0's conveying-tool costs decide every total.
    struct Case {
        double SZKF;
        int power;   // of figure 310
        const char *title310, *title340, *title350;
    } cases[] = {
        {5500, 0, "Kosten [E]", "Kosten [E/n]", "Kosten [E/m]"},                                   // 9000 in all
        {8500, 1, "Kosten [10 E]", "Kosten [10 E/n]", "Kosten [E/m]"},                             // 12000
        {196500, 2, "Kosten [10{h,2}2 E]", "Kosten [10{h,2}2 E/n]", "Kosten [E/m]"},               // 200000
        {996500, 3, "Kosten [10{h,2}3 E]", "Kosten [10{h,2}3 E/n]", "Kosten [10 E/m]"},            // 1000000
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.SZKF);
        cnn->Execute(QStringLiteral("UPDATE M3 SET SZKF=%1 WHERE I1=0").arg(c.SZKF));
        auto page = load();
        auto sheet = print(*page);
        EXPECT_EQ(page->GRAFIK(310)->ETEXTX(), c.title310);
        EXPECT_EQ(page->GRAFIK(340)->ETEXTX(), c.title340);
        EXPECT_EQ(page->GRAFIK(350)->ETEXTX(), c.title350);
        // Every series follows the total's power, also where its own values would need none.
        const double scale = std::pow(10.0, c.power);
        expectValues(outline(*sheet, areaOf(*page, 310), paletteColor(10), page->depthAxis().SDEZ),
                     {1000 / scale, 0, kNone, kNone}, "T");
        expectValues(outline(*sheet, areaOf(*page, 310), paletteColor(4), page->depthAxis().SDEZ),
                     {(3500 + c.SZKF) / scale, 600 / scale, kNone, kNone}, "F");
    }
}

TEST_F(MSeite3Test, CountsPastSixteenBitsAddUpWithoutABox)
{
    cnn->Execute(QStringLiteral("UPDATE M3 SET ANZKT=30000, ANZKV=30000, ANZKF=40000 WHERE I1=0"));
    auto page = load();
    const Stacks got = page->stacks(320);
    EXPECT_EQ(got[3], std::vector<double>({100000, 3, 0, 1}));
    EXPECT_EQ(got[1][0], 60000);
    print(*page);   // no box
    EXPECT_DOUBLE_EQ(page->GRAFIK(320)->XMAX(), 10000) << "the count axis ends at its largest range";
}

TEST_F(MSeite3Test, LongDepthsAreScaledOnceAndCostsStayPerRealMetre)
{
    cnn->Execute(QStringLiteral("UPDATE M3 SET SDEZ = SDEZ * 10"));   // 400 m and 600 m
    auto page = load();
    print(*page);   // a second drawing after the load's
    EXPECT_EQ(page->depthAxis().EXP, 1);
    EXPECT_EQ(page->depthAxis().SDEZ, std::vector<double>({40, 60, 60, 60}));
    EXPECT_EQ(page->GRAFIK(340)->ETEXTY(), "z [10 m]");
    expectValues(page->stacks(350)[3], {10, 3, 0, 0}, "per metre");
}

TEST_F(MSeite3Test, AnotherTargetDrawsAgainThroughThePreviousObjectOrMakesOne)
{
    auto page = load();
    clsGRAFIK *screen = page->GRAFIK(340);
    ASSERT_NE(screen, nullptr);
    page->BILD340(2, 0, 0);
    EXPECT_EQ(page->GRAFIK(340), screen);
    EXPECT_EQ(screen->ETEXTX(), "Kosten [E/n]");

    // A page whose load drew nothing has no object yet: the first such call makes one.
    cnn->Execute(QStringLiteral("UPDATE M3 SET SZKT=0, SZKV=0, SZKL=0, SZKF=0"));
    auto empty = load();
    ASSERT_FALSE(empty->BODATEN());
    ASSERT_EQ(empty->GRAFIK(320), nullptr);
    empty->BILD310(0, 0, 0);
    empty->BILD320(7, 0, 0);   // any box would fail the test
    ASSERT_NE(empty->GRAFIK(320), nullptr);
    EXPECT_EQ(empty->GRAFIK(320)->EOBJEKT(), &empty->pictureBox("picBILD320")->surface()) << "drawn into its box";
    EXPECT_EQ(empty->GRAFIK(320)->ETEXTX(), "Anzahl [n]");
}

// The page as the user sees it: every figure inside its box on screen and paper.
TEST_F(MSeite3Test, Look)
{
    // More combinations, some close together so that the strip pushes its labels.
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 14)"
                 " INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, 'S' FROM n;"
                 "WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 14)"
                 " INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SZKT, ANZKT, SZKV, ANZKV, SZKL, ANZKL, SZKF, ANZKF)"
                 " SELECT 1, i, i % 5 <> 0, 60 + i * i * 3, 800 * i, i, 300 * (i % 3), i % 4, 1500, 2, 200 * i, 1"
                 " FROM n;");
    ScreenLogs screen;
    auto page = load();
    lookAtPage(*page, screen, "mseite3");
}
