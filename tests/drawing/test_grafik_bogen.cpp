// Circular arcs cut to the figure rectangle, their end marks, the quadrant bookkeeping, and
// the engineering symbols.
#include "test_grafik_support.h"
#include "TestSupport.h"

#include "drawing/GrafikMath.h"

#include <QRandomGenerator>

using namespace vnt;
using namespace vnt::grafik;

namespace {

// Figure 10..110 x 10..90 mm; world (x, y) lands at (10 + x, 90 - y).
struct Bogen : ::testing::Test {
    test::Boxes boxes;   // an error box fails the test instead of waiting for a click
    SimpleRunContext ctx;
    RecordingSurface surface{QSizeF(200, 150)};
    clsGRAFIK g{ctx};
    const QRectF rect{10, 10, 100, 80};
    void SetUp() override {
        g.setEOBJEKT(&surface);
        g.setEXDL(10);
        g.setEYDO(10);
        g.setELX(100);
        g.setELY(80);
        g.setFrame(1, 1, 0, 0, 0, 0, 0, 100, 0, 80, 1, 1);
    }
    std::vector<std::pair<double, double>> arcs() {
        std::vector<std::pair<double, double>> out;
        for (const Stroke &s : surface.strokes(Primitive::Arc)) out.push_back({s.startRad, s.endRad});
        return out;
    }
    double sweep() {
        double sum = 0;
        for (auto [a, e] : arcs()) sum += e - a;
        return sum;
    }
};

} // namespace

TEST_F(Bogen, QuarterArcsByAxisDirection) {
    struct Case {
        int ox, oy;
        double wi, a, e;
    };
    const Case cases[] = {
        {1, 1, 90, 0, M_PI / 2},
        {1, -1, 90, 3 * M_PI / 2, 2 * M_PI},    // one axis reversed
        {1, 1, -90, 3 * M_PI / 2, 2 * M_PI},
    };
    for (const Case &c : cases) {
        surface.reset();
        g.setFrame(int16_t(c.ox), int16_t(c.oy), 0, 0, 0, 0, 0, 100, 0, 80, 1, 1);
        g.KREISBOGEN(50, 40, c.wi, 60, 40, 0);
        ASSERT_EQ(arcs().size(), 1u) << c.oy << " " << c.wi;
        EXPECT_NEAR(arcs()[0].first, c.a, 1e-3);
        EXPECT_NEAR(arcs()[0].second, c.e, 1e-3);
        EXPECT_DOUBLE_EQ(surface.strokes(Primitive::Arc)[0].rx, 10);
    }
}

TEST_F(Bogen, FullCirclesAndPieces) {
    surface.setFillStyle(4);
    g.KREISBOGEN(50, 40, 0, 60, 40, 3);   // a sweep of 0 is the full circle, without marks
    EXPECT_NEAR(sweep(), 2 * M_PI, 1e-3);
    EXPECT_TRUE(surface.strokes(Primitive::Line).empty());
    EXPECT_EQ(surface.fillStyle(), 4);

    surface.reset();
    g.KREISBOGEN(50, 40, 360, 57.071, 47.071, 3);   // starts at 45 degrees: two pieces
    EXPECT_NEAR(sweep(), 2 * M_PI, 1e-3);
    EXPECT_EQ(surface.strokes(Primitive::Line).size(), 6u);   // two heads
    for (const Stroke &s : surface.strokes(Primitive::Line))
        if (s.points[0] != s.points[1]) continue;
    EXPECT_EQ(surface.fillStyle(), 1);
    EXPECT_EQ(surface.fillColor(), QColor(Qt::white));

    surface.reset();
    const double a = 350 * M_PI / 180;
    g.KREISBOGEN(50, 40, 20, 50 + 10 * std::cos(a), 40 + 10 * std::sin(a), 0);
    ASSERT_EQ(arcs().size(), 2u);
    EXPECT_NEAR(arcs()[0].first, a, 1e-3);
    EXPECT_NEAR(arcs()[0].second, 2 * M_PI, 1e-3);
    EXPECT_NEAR(arcs()[1].first, 0, 1e-3);
    EXPECT_NEAR(arcs()[1].second, 10 * M_PI / 180, 1e-3);

    // A start a hair below the rightmost point rounds to the full turn: still one whole circle,
    // and a short arc from there is not lost either.
    for (double wi : {0.0, 20.0}) {
        surface.reset();
        g.KREISBOGEN(50, 40, wi, 60, 40 - 2e-4, 0);
        EXPECT_NEAR(sweep(), wi == 0 ? 2 * M_PI : 20 * M_PI / 180, 1e-3) << wi;
    }

    surface.reset();
    g.KREISBOGEN(50, 40, 90, 50, 40, 1);   // radius 0: nothing, no box
    EXPECT_TRUE(surface.strokes().empty());
}

TEST_F(Bogen, ClippedAtEachEdgeAndNothingVisibleLost) {
    // Centres inside, on and outside every edge and corner; radii that cross, touch and
    // enclose; sweeps of every size.
    QRandomGenerator rng(11);
    std::vector<std::tuple<double, double, double, double, double>> cases = {
        {0, 40, 20, 0, 360},    {100, 40, 20, 0, 360},  {50, 0, 30, 0, 360},   {50, 80, 30, 0, 360},
        {0, 0, 30, 0, 360},     {100, 80, 30, 45, 300}, {50, 40, 40, 0, 360},  {50, 40, 50, 10, 350},
        {50, 40, 200, 0, 360},  {-20, 40, 25, 0, 360},  {50, 40, 10, 200, -270}, {120, 100, 40, 0, 360},
        {0, 40, 50, 90, 90},    {50, -10, 10, 0, 360},
    };
    for (int i = 0; i < 300; ++i)
        cases.emplace_back(rng.bounded(160.0) - 30, rng.bounded(140.0) - 30, rng.bounded(80.0) + 1,
                           rng.bounded(360.0), rng.bounded(720.0) - 360);
    for (const auto &[mx, my, r, start, wi] : cases) {
        surface.reset();
        const double s = start * M_PI / 180;
        g.KREISBOGEN(mx, my, wi, mx + r * std::cos(s), my + r * std::sin(s), 0);
        const QPointF c(10 + mx, 90 - my);
        const auto drawn = arcs();
        // Every drawn point is inside the figure.
        for (auto [a, e] : drawn)
            for (int k = 0; k <= 40; ++k) {
                const double t = a + (e - a) * k / 40;
                ASSERT_TRUE(test::inside(c + QPointF(r * std::cos(t), -r * std::sin(t)), rect, 1e-4))
                    << mx << "," << my << " r" << r << " from " << start << " by " << wi;
            }
        // Every point of the arc inside the figure is drawn.
        for (int k = 0; k <= 720; ++k) {
            const double t = s + wi * M_PI / 180 * k / 720;
            const QPointF p = c + QPointF(r * std::cos(t), -r * std::sin(t));
            if (!rect.adjusted(1e-3, 1e-3, -1e-3, -1e-3).contains(p)) continue;
            double tt = std::fmod(t, 2 * M_PI);
            if (tt < 0) tt += 2 * M_PI;
            bool covered = false;
            for (auto [a, e] : drawn)
                if ((tt >= a - 1e-3 && tt <= e + 1e-3) || (tt + 2 * M_PI >= a - 1e-3 && tt + 2 * M_PI <= e + 1e-3) ||
                    (tt - 2 * M_PI >= a - 1e-3 && tt - 2 * M_PI <= e + 1e-3))
                    covered = true;
            ASSERT_TRUE(covered) << mx << "," << my << " r" << r << " from " << start << " by " << wi << " at " << tt;
        }
    }
}

TEST_F(Bogen, EnclosingCircleAndOutsideArcDrawOnlyTheirMarks) {
    g.KREISBOGEN(50, 40, 360, 250, 40, 0);
    EXPECT_TRUE(arcs().empty());
    surface.reset();
    g.KREISBOGEN(150, 40, 90, 160, 40, 3);   // wholly right of the figure
    EXPECT_TRUE(arcs().empty());
    EXPECT_EQ(surface.strokes(Primitive::Line).size(), 6u);   // the marks are not clipped
}

TEST_F(Bogen, EndMarks) {
    // A 90 degree arc of radius 10: length 15.7 mm, heads 2.5 mm long.
    g.KREISBOGEN(50, 40, 90, 60, 40, 4);
    const auto dots = surface.strokes(Primitive::Ellipse);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_TRUE(test::nearPoint(dots[0].points[0], QPointF(70, 50)));   // at the start point
    EXPECT_DOUBLE_EQ(dots[0].rx, 0.5);
    EXPECT_TRUE(dots[0].filled);
    const auto lines = surface.strokes(Primitive::Line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(test::nearPoint(lines[0].points[0], QPointF(60, 40)));  // tip at the far end (top)
    // Its corners sit on the radius 2.5 mm of arc before the tip.
    const double phi = M_PI / 2 - 0.25;
    const QPointF base(60 + 10 * std::cos(phi), 50 - 10 * std::sin(phi));
    const QPointF off = 2.5 * std::tan(15 * M_PI / 180) * QPointF(std::cos(phi), -std::sin(phi));
    EXPECT_TRUE(test::nearPoint(lines[0].points[1], base + off));
    EXPECT_TRUE(test::nearPoint(lines[1].points[1], base - off));

    // A short arc: heads half as long as the arc.
    surface.reset();
    const double a = 2.0 / 10;   // 2 mm of arc
    g.KREISBOGEN(50, 40, a * 180 / M_PI, 60, 40, 1);
    const auto head = surface.strokes(Primitive::Line);
    ASSERT_EQ(head.size(), 3u);
    EXPECT_NEAR(std::hypot(head[1].points[0].x() - head[1].points[1].x(), head[1].points[0].y() - head[1].points[1].y()),
                2 * 1.0 * std::tan(15 * M_PI / 180), 0.01);
}

TEST(BogenMath, QuadrantsAndEdgeRules) {
    Quadranten q;
    BOGENQUADRANTEN(2, 4, true, q);
    EXPECT_FALSE(q.aktiv[1]);
    EXPECT_TRUE(q.aktiv[2] && q.aktiv[3] && q.aktiv[4]);
    EXPECT_NEAR(q.anfang[1][3], M_PI, 1e-6);
    EXPECT_NEAR(q.ende[1][4], 2 * M_PI, 1e-6);
    BOGENQUADRANTEN(1, 4, false, q);
    for (int k = 1; k <= 4; ++k) EXPECT_FALSE(q.aktiv[size_t(k)] || q.teil[1][size_t(k)]);

    struct Case {
        std::array<QString, 2> names;
        double mpx, mpy;   // right edge 100, upper edge 0
        bool kept;
        double a, e;
    };
    const Case cases[] = {
        {{"XMAX", ""}, 95, 50, true, M_PI / 3, M_PI / 2},
        {{"YMIN", ""}, 50, 5, true, 0, M_PI / 6},
        {{"XMAX", "YMIN"}, 95, 5, false, 0, 0},
        {{"foo", ""}, 95, 5, true, 0, M_PI / 2},
    };
    for (const Case &c : cases) {
        Quadranten k;
        BOGENQUADRANTEN(1, 1, true, k);
        BOGENGRENZEN(1, k, c.mpx, c.mpy, 10, c.names, 0, 100, 0, 200);
        EXPECT_EQ(k.teil[1][1], c.kept) << c.names[0].toStdString() << c.names[1].toStdString();
        EXPECT_NEAR(k.anfang[1][1], c.a, 1e-6);
        EXPECT_NEAR(k.ende[1][1], c.e, 1e-6);
    }
    Quadranten off;
    BOGENGRENZEN(1, off, 95, 5, 10, {"XMAX", "YMIN"}, 0, 100, 0, 200);
    EXPECT_FALSE(off.teil[1][1]);
    // Touching the left edge at the leftmost point keeps quadrants 2 and 3 whole.
    Quadranten t;
    BOGENQUADRANTEN(2, 3, true, t);
    BOGENGRENZEN(2, t, 10, 50, 10, {"XMIN", ""}, 0, 100, 0, 200);
    BOGENGRENZEN(3, t, 10, 50, 10, {"XMIN", ""}, 0, 100, 0, 200);
    EXPECT_NEAR(t.ende[1][2], M_PI, 1e-6);
    EXPECT_NEAR(t.anfang[1][3], M_PI, 1e-6);
}

TEST_F(Bogen, LevelMarkTriangle) {
    g.setFrame(1, 1, 0, 0, 0, 0, 0, 100, 0, 40, 1, 0.5);   // world (x, y) at (10 + x, 90 - 2y)
    g.KOTENDREIECK(50, 20, 1.5 * 0.5, 0, 0, 0);
    EXPECT_EQ(test::segments(surface),
              QStringList({"(60.000,50.000)-(61.500,50.000)", "(60.000,50.000)-(58.500,50.000)",
                           "(60.000,50.000)-(58.500,48.500)", "(58.500,48.500)-(61.500,48.500)",
                           "(61.500,48.500)-(60.000,50.000)"}));
    surface.reset();
    g.KOTENDREIECK(50, 20, 0.75, 0, 1, 3);
    const QStringList s = test::segments(surface);
    ASSERT_EQ(s.size(), 5 + 4 + 68);
    EXPECT_EQ(s[5], QStringLiteral("(60.000,50.375)-(58.875,50.375)"));
    EXPECT_EQ(s[6], QStringLiteral("(60.000,50.375)-(61.125,50.375)"));
    EXPECT_EQ(s[7], QStringLiteral("(60.000,50.750)-(59.625,50.750)"));
    surface.reset();
    g.KOTENDREIECK(50, 20, 0.75, 0, 0, 1);
    EXPECT_EQ(test::segments(surface).size(), 5 + 34);
}

TEST_F(Bogen, HatchingAndSectionForce) {
    g.GELAENDESCHRAFFUR(10, 40, 3, 2, 0);
    EXPECT_EQ(surface.strokes(Primitive::Line).size(), 15u);
    surface.reset();
    g.SCHNITTKRAFT(10, 40, 50, 40, 1, 1, 0);
    EXPECT_EQ(test::segments(surface), QStringList({"(20.000,50.000)-(60.000,50.000)"}));
    surface.reset();
    g.SCHNITTKRAFT(10, 40, 50, 40, 1, 1, 1);
    const QStringList s = test::segments(surface);
    ASSERT_EQ(s.size(), 1 + 1 + 6);
    EXPECT_EQ(s[1], QStringLiteral("(40.000,45.000)-(40.000,55.000)"));   // 10 mm across the middle
    surface.reset();
    g.SCHNITTKRAFT(10, 40, 50, 40, 1, 2, 1);
    EXPECT_EQ(test::segments(surface)[1], QStringLiteral("(35.000,48.750)-(45.000,48.750)"));
}

TEST(Lastflaechen, ScaleComputedAndStored) {
    test::FigurDb db;
    db.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'a', 1)"));
    db.frame(1, 11, 1, 1, 0, 0, 0, 0, 0, 100, 0, 80, 1, 1);
    RecordingSurface surface(QSizeF(200, 150));
    clsGRAFIK g(db.ctx);
    g.setEOBJEKT(&surface);
    g.setFrame(1, 1, 0, 0, 0, 0, 0, 100, 0, 80, 1, 1);
    g.LASTFLAECHEN({20, 60}, {20, 20}, {{{10, 10}, {0, 0}, {0, 0}, {0, 0}}}, 2);
    EXPECT_NEAR(db.g0(QStringLiteral("MSP")), 10.0 / 15, 1e-6);
    // The first load line lies MSP x 10 mm above the member (y 60 on the page).
    const QStringList s = test::segments(surface);
    EXPECT_TRUE(s.contains(QStringLiteral("(20.000,53.333)-(60.000,53.333)"))) << s.join(' ').toStdString();
}

// With one axis reversed a turn runs the other way on the page: the far end and the heads'
// bases follow, and every head still points along the arc towards its end.
TEST_F(Bogen, EndMarksWithAReversedAxis) {
    g.setFrame(1, -1, 0, 0, 0, 0, 0, 100, 0, 80, 1, 1);
    struct Case {
        double wi;
        int16_t mode;
        QPointF tip;   // the head's tip: the far end (mode 1) or the start point (mode 2)
        double phi;    // the angle of the head's base on the circle
    };
    const Case cases[] = {
        {90, 1, {60, 60}, -M_PI / 2 + 0.25},   // clockwise on the page, down to the lowest point
        {90, 2, {70, 50}, -0.25},
        {-90, 1, {60, 40}, M_PI / 2 - 0.25},   // counter-clockwise, up to the highest point
        {-90, 2, {70, 50}, 0.25},
    };
    for (const Case &c : cases) {
        surface.reset();
        g.KREISBOGEN(50, 40, c.wi, 60, 40, c.mode);
        const auto lines = surface.strokes(Primitive::Line);
        ASSERT_EQ(lines.size(), 3u) << c.wi << " " << c.mode;
        EXPECT_TRUE(test::nearPoint(lines[0].points[0], c.tip)) << c.wi << " " << c.mode;
        const QPointF base(60 + 10 * std::cos(c.phi), 50 - 10 * std::sin(c.phi));
        const double p = c.wi > 0 ? 2.5 : -2.5;   // the head's length takes the sign of the arc's
        const QPointF off = p * std::tan(15 * M_PI / 180) * QPointF(std::cos(c.phi), -std::sin(c.phi));
        EXPECT_TRUE(test::nearPoint(lines[0].points[1], base + off)) << c.wi << " " << c.mode;
        EXPECT_TRUE(test::nearPoint(lines[1].points[1], base - off)) << c.wi << " " << c.mode;
    }
    // The dot stays at the start point.
    surface.reset();
    g.KREISBOGEN(50, 40, 90, 60, 40, 4);
    ASSERT_EQ(surface.strokes(Primitive::Ellipse).size(), 1u);
    EXPECT_TRUE(test::nearPoint(surface.strokes(Primitive::Ellipse)[0].points[0], QPointF(70, 50)));
}
