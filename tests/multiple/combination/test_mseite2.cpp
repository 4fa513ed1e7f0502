// The figures of the ancillary-times page: their stacked bars from M3 on the recording
// surface, the depth axis they share with the first figure and its strip, the power-of-ten
// titles of the depth and cost axes, and combinations without length or drawing object.
#include "CombinationFixture.h"
#include "common/PageLook.h"

#include "common/LegendCheck.h"

#include "drawing/clsGRAFIK.h"
#include "pages/multiple/mdiMSEITE2.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>

using namespace vnt;
using namespace vnt::test;

namespace {

// Four combinations; 2 found no section (its sums are left over from elsewhere and must not
// count). Own lengths 20, 2, 0 and 20 m.
//                    hours AUZ PPZ STZ   costs              person-hours
//   combination 0:   4  2  1            400  200  100       8  4  2
//   combination 1:   10 0  0            50   0    0         20 0  0
//   combination 3:   1  3  6            100  300  600       2  6  12
const char *kTimes = R"(
INSERT INTO M2 (IDM, I1, KENG) VALUES (1, 0, 'S'), (1, 1, 'KI'), (1, 2, 'GR'), (1, 3, 'S');
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SAUZ, SPPZ, SSTZ, SAUK, SPPK, SSTK, SAUPH, SPPPH, SSTPH) VALUES
    (1, 0, 1, 20, 4, 2, 1, 400, 200, 100, 8, 4, 2),
    (1, 1, 1, 22, 10, 0, 0, 50, 0, 0, 20, 0, 0),
    (1, 2, 0, 22, 99, 99, 99, 99999, 99999, 99999, 99, 99, 99),
    (1, 3, 1, 42, 1, 3, 6, 100, 300, 600, 2, 6, 12);
)";

// Combinations 4 to 24 below those above, every fifth without a section, many short enough
// to push the strip's labels down past the end of the depth axis; costs above the scaling limit.
const char *kManyCombinations = R"(
UPDATE M3 SET SDEZ = SDEZ * 10, SSTK = SSTK * 100;
WITH RECURSIVE n(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM n WHERE i < 24)
INSERT INTO M2 (IDM, I1, KENG, KENT) SELECT 1, i, CASE i % 2 WHEN 0 THEN 'S' ELSE 'KI' END,
    CASE i % 3 WHEN 0 THEN 'T1' ELSE NULL END FROM n;
WITH RECURSIVE n(i, d) AS (SELECT 4, 460 UNION ALL
    SELECT i + 1, d + CASE WHEN (i + 1) % 5 <> 0 THEN 10 + (i + 1) * 37 % 120 ELSE 0 END FROM n WHERE i < 24)
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SAUZ, SPPZ, SSTZ, SAUK, SPPK, SSTK, SAUPH, SPPPH, SSTPH)
    SELECT 1, i, i % 5 <> 0, d, i % 4, 1, i % 3, 120 * i, 80, 50 * (i % 6), 2 * i, 3, i % 7 FROM n;
)";

using Draw = void (mdiMSEITE2::*)(int, float, float);

struct Bar {
    double x, top, bottom;
};

// The vertical strokes of one colour in the figure's values and depths: the bars of a stepped
// outline, top to bottom.
std::vector<Bar> barsOf(const RecordingSurface &s, const PlotArea &area, const QColor &colour)
{
    std::vector<Bar> out;
    const auto add = [&](QPointF a, QPointF b) {
        if (std::abs(a.x() - b.x()) > 1e-6 || std::abs(a.y() - b.y()) < 1e-6)
            return;
        const double y1 = area.depth(a.y()), y2 = area.depth(b.y());
        out.push_back({area.value(a.x()), std::min(y1, y2), std::max(y1, y2)});
    };
    for (const Stroke &k : s.strokes()) {
        if (k.color != colour || (k.kind != Primitive::Line && k.kind != Primitive::Polyline))
            continue;
        for (int i = 1; i < k.points.size(); ++i)
            add(k.points[i - 1], k.points[i]);
    }
    std::sort(out.begin(), out.end(), [](const Bar &a, const Bar &b) { return a.top < b.top; });
    return out;
}

// One expected value per combination that has a stretch of depth of its own.
void expectBars(const RecordingSurface &s, const PlotArea &area, int colour, const std::vector<double> &values,
                const std::vector<double> &bands)
{
    const std::vector<Bar> bars = barsOf(s, area, paletteColor(colour));
    ASSERT_EQ(bars.size(), values.size()) << "colour " << colour;
    for (size_t c = 0; c < values.size(); ++c) {
        const double tol = 1e-4 * std::max(1.0, std::abs(values[c]));
        EXPECT_NEAR(bars[c].x, values[c], tol) << "colour " << colour << ", bar " << c;
        EXPECT_NEAR(bars[c].top, bands[c], 1e-4) << "colour " << colour << ", bar " << c;
        EXPECT_NEAR(bars[c].bottom, bands[c + 1], 1e-4) << "colour " << colour << ", bar " << c;
    }
}

// A line stroke between the two points (either way round), within 0.01 mm.
bool hasLine(const RecordingSurface &s, QPointF a, QPointF b, const QColor *colour = nullptr)
{
    const auto near = [](QPointF p, QPointF q) { return QLineF(p, q).length() < 0.01; };
    return std::any_of(s.strokes().begin(), s.strokes().end(), [&](const Stroke &k) {
        return k.kind == Primitive::Line && (!colour || k.color == *colour) &&
               ((near(k.points[0], a) && near(k.points[1], b)) || (near(k.points[0], b) && near(k.points[1], a)));
    });
}

// The plot area of a figure of the page as it was drawn last; the first figure owns the depth axis.
PlotArea areaOf(mdiMSEITE2 &page, int number)
{
    const clsGRAFIK &g = *page.GRAFIK(number);
    return PlotArea(page, QStringLiteral("picBILD%1").arg(number), number == 210, g.XMAX(), g.YMAX());
}

class MSeite2Test : public CombinationPageTest {
protected:
    // The page loaded from the combinations of `rows` alone, printing onto the recording sheet.
    std::unique_ptr<mdiMSEITE2> loaded(const QString &rows = QString::fromLatin1(kTimes))
    {
        auto page = load<mdiMSEITE2>(QStringLiteral("DELETE FROM M2; DELETE FROM M3;") + rows);
        page->setPrintTarget(sheet);
        return page;
    }
    void drawAll(mdiMSEITE2 &page, int OBJ = 1)
    {
        for (Draw d : {&mdiMSEITE2::BILD210, &mdiMSEITE2::BILD220, &mdiMSEITE2::BILD230, &mdiMSEITE2::BILD240,
                       &mdiMSEITE2::BILD250})
            (page.*d)(OBJ, 0, 0);
    }
    std::shared_ptr<RecordingSurface> sheet = std::make_shared<RecordingSurface>();
};

} // namespace

TEST_F(MSeite2Test, EachFigureStacksInterruptionsBreaksAndStandstillPerCombination)
{
    struct Case {
        Draw draw;
        int number;
        const char *title, *xTitle;
        std::vector<double> AUZ, PPZ, STZ;   // the stacked sums of combinations 0, 1 and 3
        double XMAX;                         // the candidate range the largest total selects
        const char *tick;                    // a number of the value axis, in the C locale
    } cases[] = {
        {&mdiMSEITE2::BILD210, 210, "Zeiten", "t [h]", {4, 10, 1}, {6, 10, 4}, {7, 10, 10}, 10, "10"},
        {&mdiMSEITE2::BILD220, 220, "Bezogene Bohrnebenzeiten", "v [h/m]", {0.2, 5, 0.05}, {0.3, 5, 0.2},
         {0.35, 5, 0.5}, 5, "2.0"},
        {&mdiMSEITE2::BILD230, 230, "Personenstunden", "Personenstunden [P.h]", {8, 20, 2}, {12, 20, 8}, {14, 20, 20},
         20, "20"},
        {&mdiMSEITE2::BILD240, 240, "Kosten", "Kosten [E]", {400, 50, 100}, {600, 50, 400}, {700, 50, 1000}, 1000,
         "1,000"},
        {&mdiMSEITE2::BILD250, 250, "Bezogene Bohrnebenkosten", "Kosten [E/m]", {20, 25, 5}, {30, 25, 20},
         {35, 25, 50}, 50, "50"},
    };
    LocaleScope locale(QLocale::C);
    auto page = loaded();
    const std::vector<double> bands{0, 20, 22, 42};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        sheet->reset();
        (page.get()->*c.draw)(1, 0, 0);
        clsGRAFIK &g = *page->GRAFIK(c.number);
        const PlotArea area = areaOf(*page, c.number);
        expectBars(*sheet, area, 2, c.AUZ, bands);
        expectBars(*sheet, area, 1, c.PPZ, bands);
        expectBars(*sheet, area, 4, c.STZ, bands);
        EXPECT_EQ(g.ETEXTX(), c.xTitle);
        EXPECT_EQ(g.ETEXTY(), "z [m]");
        EXPECT_FLOAT_EQ(g.XMAX(), c.XMAX);
        const QStringList texts = sheet->texts();
        EXPECT_TRUE(texts.contains(c.title));
        EXPECT_TRUE(texts.contains(c.tick)) << texts.join('|').toStdString();
        EXPECT_EQ(texts.filter(QRegularExpression("^(AUZ|PPZ|STZ)$")), QStringList({"AUZ", "PPZ", "STZ"}));
        // The first legend row: its stroke 12 to 7 mm before the end of the value axis, 2 mm
        // below depth 0, in the colour of the interruptions.
        const QRectF plot = area.plot;
        EXPECT_TRUE(hasLine(*sheet, {plot.right() - 12, plot.top() + 2}, {plot.right() - 7, plot.top() + 2}));
        // The separator of combination 2 lies on that of combination 1.
        EXPECT_TRUE(hasLine(*sheet, area.at(0, 22), area.at(c.XMAX, 22)));
    }
}

// Combinations 1 m apart put a band line every few tenths of a millimetre through the legends.
TEST_F(MSeite2Test, TheLegendsReadOverTheBandLinesAndTheSeriesKeepTheirColours)
{
    auto page = loaded(R"(
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59)
INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, 'S' FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59)
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SAUZ, SPPZ, SSTZ, SAUK, SPPK, SSTK, SAUPH, SPPPH, SSTPH)
    SELECT 1, i, 1, i + 1, 1 + i % 4, 1, 1 + i % 3, 100 + 10 * i, 80, 50, 2, 3, 1 + i % 7 FROM n;
)");
    for (Draw d : {&mdiMSEITE2::BILD210, &mdiMSEITE2::BILD220, &mdiMSEITE2::BILD230, &mdiMSEITE2::BILD240,
                   &mdiMSEITE2::BILD250}) {
        sheet->reset();
        (page.get()->*d)(1, 0, 0);
        EXPECT_TRUE(legendReadsOverLines(*sheet, {"AUZ", "PPZ", "STZ"}));
        // Green, blue and red tell the three apart: every series solid, in its own colour.
        EXPECT_TRUE(seriesDrawnAs(*sheet, "AUZ", paletteColor(2), 0));
        EXPECT_TRUE(seriesDrawnAs(*sheet, "PPZ", paletteColor(1), 0));
        EXPECT_TRUE(seriesDrawnAs(*sheet, "STZ", paletteColor(4), 0));
    }
}

TEST_F(MSeite2Test, LaterFiguresAndTheStripStandOnTheFirstFiguresDepthAxis)
{
    auto page = loaded();
    drawAll(*page);
    clsGRAFIK &first = *page->GRAFIK(210);
    for (int f : {215, 220, 230, 240, 250}) {
        SCOPED_TRACE(f);
        EXPECT_FLOAT_EQ(page->GRAFIK(f)->MY(), first.MY());
        EXPECT_FLOAT_EQ(page->GRAFIK(f)->YMAX(), first.YMAX());
        EXPECT_EQ(page->GRAFIK(f)->ELYDIFF(), first.ELYDIFF());
    }
    // The strip labels the combinations with sections. Combination 1 ends 2 m below
    // combination 0, closer than its label needs: its label goes 3.5 mm below the one before,
    // and its leader slants back to its own depth.
    sheet->reset();
    page->BILD210(1, 0, 0);
    const QStringList texts = sheet->texts();
    EXPECT_EQ(texts.mid(texts.size() - 3), QStringList({"0", "1", "3"}));
    // The strip stands in the first figure's right margin of 11 mm, measured on the box on
    // screen, whose width is whole pixels; its leaders are 2 mm long, its ticks 3 mm more.
    const PlotArea area = areaOf(*page, 210);
    const double stripLeft = area.plot.left() - 10 + page->pictureBox("picBILD210")->sizeMm().width() - 11;
    EXPECT_NEAR(stripLeft, area.plot.right(), 0.15);
    const auto y = [&](double depth) { return area.at(0, depth).y(); };
    EXPECT_TRUE(hasLine(*sheet, {stripLeft, y(22)}, {stripLeft + 2, y(20) + 3.5}));
    EXPECT_TRUE(hasLine(*sheet, {stripLeft + 2, y(20) + 3.5}, {stripLeft + 5, y(20) + 3.5}));
    EXPECT_TRUE(hasLine(*sheet, {stripLeft, y(42)}, {stripLeft + 2, y(42)}));
}

// Labels pushed below the end of the depth axis keep their places; their leaders then run
// through the number at the end of the value axis, which is drawn again over them on a
// cleared ground.
TEST_F(MSeite2Test, TheValueAxisNumbersReadOverTheStripsLeaders)
{
    auto page = loaded(QString::fromLatin1(kTimes) + QString::fromLatin1(kManyCombinations));
    page->BILD210(1, 0, 0);
    const PlotArea area = areaOf(*page, 210);
    const QString last = QString::number(page->GRAFIK(210)->XMAX());
    EXPECT_TRUE(legendReadsOverLines(*sheet, {last}));
    // The lowest label's tick stays where the spacing puts it, below the end of the depth axis.
    double lowestTick = 0;
    for (const Stroke &k : sheet->strokes(Primitive::Line))
        if (k.points[0].x() > area.plot.right() && k.points[0].y() == k.points[1].y())
            lowestTick = std::max(lowestTick, k.points[0].y());
    EXPECT_GT(lowestTick, area.plot.bottom() + 3);
    const QStringList texts = sheet->texts();
    EXPECT_EQ(texts.mid(texts.lastIndexOf("16") - 1).join(' '), "14 16 17 18 " + last);
}

TEST_F(MSeite2Test, LongDepthsAreScaledOnceAndPerMetreStaysPerRealMetre)
{
    auto page = loaded(QString::fromLatin1(kTimes) + "UPDATE M3 SET SDEZ = SDEZ * 10;");   // 200 to 420 m
    drawAll(*page);
    drawAll(*page);
    EXPECT_EQ(page->depthAxis().EXP, 1);
    EXPECT_EQ(page->depthAxis().SDEZ, std::vector<double>({20, 22, 22, 42}));
    EXPECT_EQ(page->GRAFIK(210)->ETEXTY(), "z [10 m]");
    EXPECT_EQ(page->GRAFIK(250)->ETEXTY(), "z [10 m]");
    sheet->reset();
    page->BILD220(1, 0, 0);
    const std::vector<double> bands{0, 20, 22, 42};
    expectBars(*sheet, areaOf(*page, 220), 4, {0.035, 0.5, 0.05}, bands);
    sheet->reset();
    page->BILD250(1, 0, 0);
    expectBars(*sheet, areaOf(*page, 250), 4, {3.5, 2.5, 5}, bands);
}

TEST_F(MSeite2Test, CostsAboveNineThousandAreShownInPowersOfTen)
{
    // Combination 3 (20 m) carries the largest total: 400 euro plus its standstill costs.
    struct Case {
        const char *SSTK;
        const char *costs, *perMetre;
        double total, totalPerMetre, firstAUZ;   // its bars as drawn, and combination 0's AUZ
    } cases[] = {
        {"8600", "Kosten [E]", "Kosten [E/m]", 9000, 450, 400},
        {"8600.5", "Kosten [10 E]", "Kosten [E/m]", 900.05, 450.025, 40},
        {"949600", "Kosten [10{h,2}3 E]", "Kosten [10 E/m]", 950, 4750, 0.4},
        {"3999600", "Kosten [10{h,2}3 E]", "Kosten [10{h,2}2 E/m]", 4000, 2000, 0.4},
    };
    const std::vector<double> bands{0, 20, 22, 42};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.SSTK);
        auto page = loaded(QString::fromLatin1(kTimes) + QStringLiteral("UPDATE M3 SET SSTK = %1 WHERE I1 = 3;").arg(c.SSTK));
        drawAll(*page);
        EXPECT_EQ(page->GRAFIK(240)->ETEXTX(), c.costs);
        EXPECT_EQ(page->GRAFIK(250)->ETEXTX(), c.perMetre);
        sheet->reset();
        page->BILD240(1, 0, 0);
        const std::vector<Bar> totals = barsOf(*sheet, areaOf(*page, 240), paletteColor(4));
        ASSERT_EQ(totals.size(), 3u);
        EXPECT_NEAR(totals[2].x, c.total, 1e-3);
        EXPECT_NEAR(barsOf(*sheet, areaOf(*page, 240), paletteColor(2))[0].x, c.firstAUZ, 1e-4 * c.firstAUZ);
        sheet->reset();
        page->BILD250(1, 0, 0);
        const std::vector<Bar> perMetre = barsOf(*sheet, areaOf(*page, 250), paletteColor(4));
        ASSERT_EQ(perMetre.size(), 3u);
        EXPECT_NEAR(perMetre[2].x, c.totalPerMetre, 1e-3);
    }
}

TEST_F(MSeite2Test, ACombinationWithoutLengthHasNoBarAndNoBox)
{
    // Combinations 0 and 2 have sections and times but no metres of their own.
    const char *rows = R"(
INSERT INTO M2 (IDM, I1) VALUES (1, 0), (1, 1), (1, 2);
INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SAUZ, SPPZ, SSTZ, SAUK, SPPK, SSTK) VALUES
    (1, 0, 1, 0, 5, 5, 5, 90000, 0, 0),
    (1, 1, 1, 10, 1, 1, 1, 20, 20, 20),
    (1, 2, 1, 10, 7, 0, 0, 90000, 0, 0);
)";
    auto page = loaded(QString::fromLatin1(rows));   // an unexpected box fails the test
    drawAll(*page);
    // Only combination 1 counts: 0.3 h/m selects the range 0.5, 6 euro per metre the range 10.
    EXPECT_FLOAT_EQ(page->GRAFIK(220)->XMAX(), 0.5);
    EXPECT_FLOAT_EQ(page->GRAFIK(250)->XMAX(), 10);
    EXPECT_EQ(page->GRAFIK(250)->ETEXTX(), "Kosten [E/m]");
    const struct {
        Draw draw;
        int number;
        double total;
    } figures[] = {{&mdiMSEITE2::BILD220, 220, 0.3}, {&mdiMSEITE2::BILD250, 250, 6}};
    const QColor red = paletteColor(4);
    for (const auto &f : figures) {
        SCOPED_TRACE(f.number);
        sheet->reset();
        (page.get()->*f.draw)(1, 0, 0);
        const PlotArea area = areaOf(*page, f.number);
        expectBars(*sheet, area, 4, {f.total}, {0, 10});
        // The outline runs out from the axis at depth 0 and back to it at depth 10: the
        // combinations without length stand on the axis rather than nowhere.
        EXPECT_TRUE(hasLine(*sheet, area.at(0, 0), area.at(f.total, 0), &red));
        EXPECT_TRUE(hasLine(*sheet, area.at(f.total, 10), area.at(0, 10), &red));
    }
}

TEST_F(MSeite2Test, AnyOtherTargetDrawsAgainThroughThePreviousObject)
{
    auto page = loaded();
    drawAll(*page);
    clsGRAFIK *before = page->GRAFIK(220);
    sheet->reset();
    drawAll(*page, 2);
    EXPECT_EQ(page->GRAFIK(220), before);
    EXPECT_EQ(sheet->texts().filter("Bezogene Bohrnebenzeiten").size(), 1) << "drawn again on the sheet";

    // Without a previous drawing (nothing was drawn at the load), the first call makes its
    // object and draws into its box: no error box for a missing target.
    auto empty = loaded("INSERT INTO M2 (IDM, I1) VALUES (1, 0);"
                        "INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ) VALUES (1, 0, 1, 10);");
    ASSERT_FALSE(empty->BODATEN());
    ASSERT_EQ(empty->GRAFIK(210), nullptr);
    drawAll(*empty, 2);
    for (int f : {210, 215, 220, 230, 240, 250}) {
        ASSERT_NE(empty->GRAFIK(f), nullptr) << f;
        const QString box = QStringLiteral("picBILD%1").arg(f == 215 ? 210 : f);
        EXPECT_EQ(empty->GRAFIK(f)->EOBJEKT(), &empty->pictureBox(box)->surface()) << f;
    }
}

// The page as the user sees it: every figure inside its box on screen and paper.
TEST_F(MSeite2Test, Look)
{
    ScreenLogs screen;
    // More combinations than the table shows, some short enough to push the strip's labels,
    // some without sections, and costs above the scaling limit.
    auto page = loaded(QString::fromLatin1(kTimes) + QString::fromLatin1(kManyCombinations));
    page->setPrintTarget(nullptr);
    lookAtPage(*page, screen, "mseite2");
}
