// Marked-up text of the drawing object and the rotated text it uses.
#include "test_grafik_support.h"
#include "TestSupport.h"

#include "drawing/clsROTATOR.h"
#include "platform/errors.h"

using namespace vnt;

namespace {

struct Text : ::testing::Test {
    SimpleRunContext ctx;
    RecordingSurface surface{QSizeF(200, 150)};
    clsGRAFIK g{ctx};
    FontSpec normal, small, symbol;
    void SetUp() override {
        g.setEOBJEKT(&surface);
        g.setEXDL(10);
        g.setEYDO(10);
        g.setELX(100);
        g.setELY(80);   // figure 10..110 x 10..90
        g.setFrame(1, 1, 20, 10, 10, 10, 0, 70, 0, 60, 1, 1);
        normal = surface.font();
        small = normal;
        small.size = 7;
        symbol = normal;
        symbol.name = QStringLiteral("Symbol");
    }
    double w(const FontSpec &f, const char *s) { return measureTextMm(f, QString::fromUtf8(s)).width(); }
    double h(const FontSpec &f, const char *s) { return measureTextMm(f, QString::fromUtf8(s)).height(); }
    std::vector<Stroke> texts() { return surface.strokes(Primitive::Text); }
};

} // namespace

TEST_F(Text, RunsSwitchFontsAndShift) {
    g.TEXT(50, 50, QStringLiteral("10{h,2}3 m"), 0, 0, 0, 0);
    const auto t = texts();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].text, QStringLiteral("10"));
    EXPECT_EQ(t[0].font, normal);
    EXPECT_EQ(t[0].points[0], QPointF(50, 50));
    EXPECT_EQ(t[1].text, QStringLiteral("3 "));
    EXPECT_EQ(t[1].font.size, 7);
    EXPECT_NEAR(t[1].points[0].x(), 50 + w(normal, "10"), 1e-9);
    EXPECT_NEAR(t[1].points[0].y(), 50 - 0.25 * h(small, "3 "), 1e-9);
    EXPECT_EQ(t[2].text, QStringLiteral("m"));
    EXPECT_NEAR(t[2].points[0].x(), 50 + w(normal, "10") + w(small, "3 "), 1e-9);
    EXPECT_DOUBLE_EQ(t[2].points[0].y(), 50);
    EXPECT_EQ(surface.font(), normal);   // the font is the caller's again

    surface.reset();
    g.TEXT(50, 50, QStringLiteral("{g,1}a{t,1}x"), 0, 0, 0, 0);
    ASSERT_EQ(texts().size(), 2u);
    EXPECT_EQ(texts()[0].font.name, QStringLiteral("Symbol"));
    EXPECT_NEAR(texts()[0].points[0].y(), 50 - 0.1 * h(symbol, "g"), 1e-9);
    EXPECT_NEAR(texts()[1].points[0].y(), 50 + 0.35 * h(small, "x"), 1e-9);
}

TEST_F(Text, CharacterCodesExponentsAndPlainBraces) {
    test::Boxes boxes;   // none of these shows a box
    const std::pair<const char *, QStringList> cases[] = {
        {"{c,65}BC", {"A", "BC"}},
        {"2.5E-03", {"2.5*10", "-03"}},
        {"ab{h2}c", {"ab{h2}c"}},
        {"Name {Teil", {"Name {Teil"}},
        {"{h,0}x", {"", "x"}},
        {"", {}},
    };
    for (const auto &[in, want] : cases) {
        surface.reset();
        g.TEXT(50, 50, QString::fromUtf8(in), 0, 0, 0, 0);
        EXPECT_EQ(surface.texts(), want) << in;
    }
    EXPECT_EQ(surface.font(), normal);
}

TEST_F(Text, VisibilityAtTheFigureEdges) {
    struct Case {
        double x, y;
        int arx, ary;
        bool drawn;
    };
    const double wAbc = w(normal, "Abc");
    const Case cases[] = {
        {9.5, 50, 0, 0, true},              // 0.5 mm left of the figure
        {8.5, 50, 0, 0, false},             // 1.5 mm left
        {110 - wAbc + 0.9, 50, 0, 0, true},
        {110 - wAbc + 1.1, 50, 0, 0, false},
        {30 + wAbc - 0.5, 50, 2, 0, true},  // right-aligned: the plot area's left edge (30) counts
        {30 + wAbc - 1.5, 50, 2, 0, false},
        {110 - wAbc / 2 + 1.5, 50, 1, 0, false},
        {110 - wAbc / 2 + 0.5, 50, 1, 0, true},
        {50, 9.2, 0, 0, true},
        {50, 8.8, 0, 0, false},
        {50, 91, 0, 2, true},
        {50, 91.2, 0, 2, false},
        {-500, -500, 5, 7, true},           // codes nobody passes: no test
    };
    for (const Case &c : cases) {
        surface.reset();
        g.TEXT(c.x, c.y, QStringLiteral("Abc"), 0, 0, int16_t(c.arx), int16_t(c.ary));
        EXPECT_EQ(!surface.texts().isEmpty(), c.drawn) << c.x << "," << c.y << " " << c.arx << c.ary;
    }
}

TEST_F(Text, AlignmentPlacesTheBox) {
    const double W = w(normal, "Abc"), H = h(normal, "Abc");
    const std::tuple<int, int, QPointF> cases[] = {
        {0, 0, {50, 50}}, {1, 0, {50 - W / 2, 50}}, {2, 0, {50 - W, 50}},
        {0, 1, {50, 50 - H / 2}}, {2, 2, {50 - W, 50 - H}},
    };
    for (const auto &[arx, ary, p] : cases) {
        surface.reset();
        g.TEXT(50, 50, QStringLiteral("Abc"), 0, 0, int16_t(arx), int16_t(ary));
        ASSERT_EQ(texts().size(), 1u);
        EXPECT_TRUE(test::nearPoint(texts()[0].points[0], p, 1e-9)) << arx << ary;
    }
}

TEST_F(Text, CoordinateKinds) {
    g.setVerschiebung(0, -20);
    g.TEXT(5, 40, QStringLiteral("a"), 2, 0, 0, 0);      // mm from the figure corner, with the shift
    EXPECT_EQ(texts().back().points[0], QPointF(15, 30));
    g.TEXT(10, 20, QStringLiteral("b"), 1, 0, 0, 0);     // world, moved with the figure
    EXPECT_EQ(texts().back().points[0], QPointF(40, 40));
    g.setESKTX(1);
    g.TEXT(-3, 20, QStringLiteral("c"), 1, 0, 0, 0);     // log axis: a value <= 0 sits at 0
    EXPECT_EQ(texts().back().points[0], QPointF(30, 40));
    const size_t before = texts().size();
    g.TEXT(qQNaN(), 20, QStringLiteral("d"), 0, 0, 0, 0);   // never drawn
    g.setESKTX(0);
    g.setFrame(1, 1, 20, 10, 10, 10, 0, 70, 0, 60, 1, 1);
    g.TEXT(qInf(), 20, QStringLiteral("e"), 1, 0, 0, 0);
    EXPECT_EQ(texts().size(), before);
}

TEST_F(Text, AngledTextGoesThroughTheRotator) {
    g.TEXT(50, 60, QStringLiteral("hoch{h,1}2"), 0, 90, 0, 0);
    const auto t = texts();
    ASSERT_EQ(t.size(), 2u);
    EXPECT_EQ(t[0].angle, 90);
    EXPECT_EQ(t[0].points[0], QPointF(50, 60));
    // The run after it continues upwards along the text direction, where the turned run ends:
    // the turned font is taller than the upright one but keeps its advance, so runs never overlap.
    EXPECT_NEAR(t[1].points[0].y(), 60 - w(normal, "hoch"), 1e-6);
    EXPECT_NEAR(w(t[0].font, "hoch"), w(normal, "hoch"), 0.01);
    EXPECT_GT(h(t[0].font, "hoch"), h(normal, "hoch"));
    // Raised across an upward text means towards the left.
    EXPECT_NEAR(t[1].points[0].x(), 50 - 0.25 * h(small, "2"), 1e-6);
    EXPECT_TRUE(surface.fontTransparent());
    // The rotated font keeps the cell of the point size times 1.175.
    const double dpi = surface.dpiY();
    EXPECT_NEAR(measureTextMm(t[0].font, QStringLiteral("x")).height() * dpi / 25.4,
                clsROTATOR::cellHeight(dpi, 8), 0.5);
}

TEST_F(Text, PointSymbolInsideText) {
    g.TEXT(50, 50, QStringLiteral("{s,1}4 A"), 0, 0, 0, 0);
    const auto circles = surface.strokes(Primitive::Ellipse);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_DOUBLE_EQ(circles[0].rx, 0.7);
    EXPECT_TRUE(test::nearPoint(circles[0].points[0], QPointF(50.5, 50 + 0.5 * h(normal, "s")), 1e-9));
    ASSERT_EQ(surface.texts(), QStringList({" A"}));
    EXPECT_NEAR(texts()[0].points[0].x(), 50 + w(normal, "4"), 1e-9);
    surface.reset();
    g.TEXT(50, 50, QStringLiteral("{s,1}9"), 0, 0, 0, 0);   // no such symbol: nothing
    EXPECT_TRUE(surface.strokes().empty());
}

TEST_F(Text, WithoutTargetOneBox) {
    clsGRAFIK loose(ctx);
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    loose.TEXT(1, 1, QStringLiteral("x"), 0, 0, 0, 0);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Text"));
}

TEST(Rotator, CellHeightRule) {
    EXPECT_EQ(clsROTATOR::cellHeight(96, 8), 12);
    EXPECT_EQ(clsROTATOR::cellHeight(600, 8), 78);
}

TEST(Rotator, LabelsAtTheCurrentPosition) {
    RecordingSurface s(QSizeF(100, 100));
    clsROTATOR r;
    EXPECT_THROW(r.Label(QStringLiteral("x")), VbError);
    r.setDevice(&s);
    r.setAngle(-90);
    EXPECT_EQ(r.Angle(), -90);
    FontSpec f;
    f.setBold(true);
    f.underline = true;
    s.setFont(f);
    s.setCurrent(30, 40);
    r.Label(QStringLiteral("ab"));
    ASSERT_EQ(s.strokes().size(), 1u);
    EXPECT_EQ(s.strokes()[0].angle, -90);
    EXPECT_EQ(s.strokes()[0].points[0], QPointF(30, 40));
    EXPECT_TRUE(s.strokes()[0].font.bold && s.strokes()[0].font.underline);
    EXPECT_DOUBLE_EQ(s.currentX(), 30);   // the position does not move
    f.name = QString(32, QLatin1Char('x'));
    s.setFont(f);
    try {
        r.Label(QStringLiteral("ab"));
        ADD_FAILURE();
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, 9);
    }
    EXPECT_EQ(s.strokes().size(), 1u);
}
