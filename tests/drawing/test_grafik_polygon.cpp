// POLYGON: the drawing modes with their stroke lists, symbols, numbers, labels and arrows;
// PFEIL: the arrow head.
#include "test_grafik_support.h"
#include "TestSupport.h"

using namespace vnt;

namespace {

// World (x, y) lands at (10 + x, 50 - y) mm; the corner B = (XMIN, YMIN) at (10, 50).
struct Polygon : ::testing::Test {
    SimpleRunContext ctx;
    RecordingSurface surface{QSizeF(200, 150)};
    clsGRAFIK g{ctx};
    void SetUp() override {
        g.setEOBJEKT(&surface);
        g.setEXDL(10);
        g.setEYDO(0);
        g.setELX(100);
        g.setELY(100);
        g.setFrame(1, 1, 0, 0, 0, 0, 0, 100, 0, 50, 1, 1);
    }
    void draw(int mode, std::vector<double> x, std::vector<double> y, const std::vector<bool> *bol = nullptr) {
        g.setEPTYP(int16_t(mode));
        g.POLYGON(x, y, 0, 0, 0, QString(), -1, 0, 0, bol);
    }
};

} // namespace

TEST_F(Polygon, ModesAndTheirStrokes) {
    struct Case {
        int mode;
        std::vector<double> x, y;
        const char *strokes;
    };
    const Case cases[] = {
        {5, {10, 20}, {10, 20},
         "(10.000,50.000)-(20.000,50.000) (20.000,50.000)-(20.000,40.000) (20.000,40.000)-(30.000,40.000) "
         "(30.000,40.000)-(30.000,30.000) (30.000,30.000)-(10.000,30.000)"},
        {4, {10, 20}, {10, 20},
         "(10.000,50.000)-(10.000,40.000) (10.000,40.000)-(20.000,40.000) (20.000,40.000)-(20.000,30.000) "
         "(20.000,30.000)-(30.000,30.000) (30.000,30.000)-(30.000,50.000)"},
        {1, {10, 20, 30}, {10, 20, 15},
         "(15.000,50.000)-(15.000,40.000) (15.000,40.000)-(25.000,40.000) (30.000,30.000)-(25.000,30.000) "
         "(30.000,30.000)-(35.000,30.000) (25.000,40.000)-(25.000,30.000) (35.000,30.000)-(35.000,35.000) "
         "(35.000,35.000)-(45.000,35.000) (45.000,35.000)-(45.000,50.000)"},
        {2, {10, 20, 15}, {10, 20, 30},
         "(10.000,45.000)-(20.000,45.000) (20.000,45.000)-(20.000,35.000) (30.000,30.000)-(30.000,35.000) "
         "(30.000,30.000)-(30.000,25.000) (20.000,35.000)-(30.000,35.000) (30.000,25.000)-(25.000,25.000) "
         "(25.000,25.000)-(25.000,15.000) (25.000,15.000)-(10.000,15.000)"},
        {0, {0, 10, 20}, {0, 10, 0}, "(10.000,50.000)-(20.000,40.000) (20.000,40.000)-(30.000,50.000)"},
        {0, {10}, {10}, ""},
        {6, {0, 10}, {0, 10}, ""},
        {-1, {0, 10}, {0, 10}, ""},
        // A point that is not a number is never drawn, nor are the strokes that reach it.
        {0, {0, qQNaN(), 20, 30}, {0, 5, 20, 30}, "(30.000,30.000)-(40.000,20.000)"},
        {0, {0, 10, 20}, {0, qInf(), 0}, ""},
    };
    for (const Case &c : cases) {
        surface.reset();
        draw(c.mode, c.x, c.y);
        EXPECT_EQ(test::segments(surface).join(' '), QString::fromLatin1(c.strokes)) << "mode " << c.mode;
    }
}

TEST_F(Polygon, SegmentSwitches) {
    const std::vector<bool> bol{true, false};
    draw(0, {0, 10, 20}, {0, 10, 0}, &bol);
    EXPECT_EQ(test::segments(surface), QStringList({"(10.000,50.000)-(20.000,40.000)"}));
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    const std::vector<bool> shortBol{true};
    surface.reset();
    draw(0, {0, 10, 20}, {0, 10, 0}, &shortBol);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Polygon"));
}

TEST_F(Polygon, StepsNeedTwoPoints) {
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    draw(1, {10}, {10});
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Polygon"));
    EXPECT_TRUE(surface.strokes(Primitive::Line).empty());
}

TEST_F(Polygon, ShortYIsReportedAndOnlyTheCompletePointsDrawn) {
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    g.setEPTYP(0);
    g.POLYGON({0, 10, 20, 30}, {0, 10}, -2, 1, 0, QString(), -1, 4, 0);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Polygon"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler: 9\n")));
    // The segment and symbols of the two complete points only; the head at the second point.
    EXPECT_EQ(test::segments(surface).first(), QStringLiteral("(10.000,50.000)-(20.000,40.000)"));
    EXPECT_EQ(surface.strokes(Primitive::Rectangle).size(), 2u);
    for (const Stroke &s : surface.strokes(Primitive::Line))
        for (QPointF p : s.points) EXPECT_LE(p.x(), 20.001);
}

TEST_F(Polygon, DotsOnlyStrictlyInsideThePlotArea) {
    g.setFrame(1, 1, 5, 5, 5, 5, 0, 100, 0, 50, 1, 1);   // plot area 15..105 x 5..95
    draw(3, {0, 20, 50, 89}, {20, 20, 50, 20});
    // x = 0 lies on the left border (15 mm), y = 50 on the upper border (5 mm).
    const auto dots = surface.strokes(Primitive::Point);
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_EQ(dots[0].points[0], QPointF(35, 35));
    EXPECT_EQ(dots[1].points[0], QPointF(104, 35));
}

TEST_F(Polygon, SymbolsNumbersAndSeriesColour) {
    surface.setForeColor(Qt::darkGreen);
    g.setEPTYP(0);
    g.POLYGON({0, 10, 20, 30, 40}, {10, 10, 10, 10, 10}, -2, 2, 2, QString(), -1, 0, 0);
    EXPECT_EQ(surface.strokes(Primitive::Rectangle).size(), 5u);
    const auto t = surface.strokes(Primitive::Text);
    ASSERT_EQ(surface.texts(), QStringList({"0", "4"}));
    EXPECT_EQ(t[0].points[0], QPointF(11, 39));
    EXPECT_EQ(t[1].points[0], QPointF(51, 39));

    surface.reset();
    g.POLYGON({0, 10}, {0, 10}, 1, 3, 0, QString(), -1, 0, -1);
    for (const Stroke &s : surface.strokes()) EXPECT_EQ(s.color, QColor(255, 0, 0));
    EXPECT_EQ(surface.strokes(Primitive::Ellipse).size(), 1u);   // the disc, on the last point only
    EXPECT_EQ(surface.foreColor(), QColor(Qt::darkGreen));

    surface.reset();
    g.POLYGON({0, 10}, {0, 10}, -2, 9, 0, QString(), -1, 0, -1);
    EXPECT_EQ(surface.strokes(Primitive::Line).size(), 1u);
    EXPECT_EQ(surface.strokes()[0].color, QColor(Qt::darkGreen));
}

TEST_F(Polygon, SymbolShapes) {
    const std::pair<int, std::vector<Primitive>> cases[] = {
        {0, std::vector<Primitive>(4, Primitive::Line)},
        {1, {Primitive::Rectangle}},
        {2, {Primitive::Rectangle}},
        {3, {Primitive::Ellipse}},
        {4, {Primitive::Ellipse}},
        {5, std::vector<Primitive>(3, Primitive::Line)},
        {6, std::vector<Primitive>(6, Primitive::Line)},
        {7, {}},
    };
    for (const auto &[n, kinds] : cases) {
        surface.reset();
        g.pointSymbol(n, 50, 50);
        std::vector<Primitive> got;
        for (const Stroke &s : surface.strokes()) got.push_back(s.kind);
        EXPECT_EQ(got, kinds) << n;
        if (n == 1) EXPECT_TRUE(surface.strokes()[0].filled);
        if (n == 2) EXPECT_FALSE(surface.strokes()[0].filled);
        if (n == 3) {
            EXPECT_TRUE(surface.strokes()[0].filled);
            EXPECT_EQ(surface.fillStyle(), 1);
            EXPECT_EQ(surface.fillColor(), QColor(Qt::white));
        }
    }
}

TEST_F(Polygon, LabelsByPosition) {
    struct Case {
        int lage;
        std::vector<double> x, y;
        double angle;
    };
    const Case cases[] = {
        {0, {0, 20, 20}, {0, 0, 20}, 90},     // vertical last segment
        {0, {0, 20}, {20, 10}, -27},          // falling segment
        {5, {0, 20, 40}, {0, 20, 0}, 45},
        {10, {0, 20, 40, 60}, {0, 0, 20, 20}, 45},
        {3, {0, 20}, {0, 10}, 0},
        {0, {10}, {10}, -999},                // one point: no segment label
        {15, {0, 10}, {0, 10}, -999},
    };
    for (const Case &c : cases) {
        surface.reset();
        g.POLYGON(c.x, c.y, 0, 0, 0, QStringLiteral("L"), int16_t(c.lage), 0, 0);
        const auto t = surface.strokes(Primitive::Text);
        if (c.angle == -999) {
            EXPECT_TRUE(t.empty()) << c.lage;
            continue;
        }
        ASSERT_EQ(t.size(), 1u) << c.lage;
        EXPECT_NEAR(t[0].angle, c.angle, 1e-9) << c.lage;
    }
}

TEST_F(Polygon, ArrowHeads) {
    const std::pair<int, size_t> cases[] = {{1, 3}, {2, 3}, {3, 6}, {4, 6}, {5, 6}, {6, 12}, {0, 0}, {7, 0}};
    for (auto [code, heads] : cases) {
        surface.reset();
        g.POLYGON({0, 20, 40}, {10, 10, 10}, 0, 0, 0, QString(), -1, int16_t(code), 0);
        EXPECT_EQ(surface.strokes(Primitive::Line).size(), 2 + heads) << code;
    }
    surface.reset();
    g.POLYGON({0}, {10}, 1, 0, 0, QString(), 0, 3, 0);   // one point: a symbol, no arrows
    EXPECT_EQ(surface.strokes(Primitive::Line).size(), 4u);
}

TEST_F(Polygon, LogarithmicAxisTakesLogarithms) {
    g.setESKTX(1);
    g.setFrame(1, 1, 0, 0, 0, 0, 0, 2, 0, 50, 0.02, 1);
    draw(0, {0, 10, 100}, {0, 0, 0});
    EXPECT_EQ(test::segments(surface).join(' '),
              QStringLiteral("(10.000,50.000)-(60.000,50.000) (60.000,50.000)-(110.000,50.000)"));
}

TEST_F(Polygon, ArrowHeadGeometry) {
    g.PFEIL(10, 10, 20, 10);
    EXPECT_EQ(test::segments(surface),
              QStringList({"(20.000,10.000)-(17.585,9.353)", "(20.000,10.000)-(17.585,10.647)",
                           "(17.585,9.353)-(17.585,10.647)"}));
    surface.reset();
    g.PFEIL(10, 10, 13, 10);
    const auto s = surface.strokes(Primitive::Line);
    ASSERT_EQ(s.size(), 3u);
    EXPECT_NEAR(std::hypot(s[0].points[1].x() - 13, s[0].points[1].y() - 10), 1.5, 1e-5);
    surface.reset();
    g.PFEIL(50, 50, 50, 50);
    ASSERT_EQ(surface.strokes(Primitive::Line).size(), 3u);
    for (const Stroke &st : surface.strokes()) EXPECT_EQ(st.points[0], st.points[1]);
    // Clipped like every stroke: a head outside the figure draws nothing.
    surface.reset();
    g.PFEIL(150, 10, 160, 10);
    EXPECT_TRUE(surface.strokes().empty());
}
