// The drawing object: binding, settings, transforms, the clipped segment and the axis math.
#include "test_grafik_support.h"
#include "TestSupport.h"

#include "drawing/GrafikMath.h"
#include "platform/errors.h"

#include <QRandomGenerator>

using namespace vnt;
using namespace vnt::grafik;

namespace {

struct Grafik : ::testing::Test {
    SimpleRunContext ctx;
    RecordingSurface surface{QSizeF(170, 100)};
    clsGRAFIK g{ctx};
    void SetUp() override { g.setEOBJEKT(&surface); }
};

} // namespace

TEST_F(Grafik, BindingResetsSizeListsAndFont) {
    EXPECT_EQ(g.EID(), 0);
    EXPECT_EQ(g.EIDOBJEKT(), 11);
    EXPECT_DOUBLE_EQ(g.ELX(), 170);
    EXPECT_DOUBLE_EQ(g.ELY(), 100);
    EXPECT_EQ(g.ELXMIN(), Liste({0, 170}));
    EXPECT_EQ(g.ELYDIFF(), Liste({100}));
    EXPECT_EQ(g.ELXIT(), Liste({1}));
    EXPECT_EQ(g.ELYGIT(), Liste({0}));
    EXPECT_EQ(g.ELYZL(), Liste({0}));
    EXPECT_EQ(surface.font().name, QStringLiteral("Arial"));
    EXPECT_EQ(surface.font().size, 8);
    EXPECT_EQ(surface.foreColor(), QColor(Qt::black));

    g.setELX(50);
    g.setELXGIT({5, 10});
    g.SCHRIFTEINSTELLUNGEN(QStringLiteral("Times New Roman"), 12, -1, 0, 0, 255);
    g.setEOBJEKT(&surface);
    EXPECT_DOUBLE_EQ(g.ELX(), 170);
    EXPECT_EQ(g.ELXGIT(), Liste({0}));
    EXPECT_EQ(surface.font().name, QStringLiteral("Arial"));
}

TEST_F(Grafik, GridListAlsoSetsNumberingList) {
    g.setELXGIT({5, 10});
    g.setELXZL({1, 2});
    EXPECT_EQ(g.ELXGIT(), Liste({5, 10}));
    EXPECT_EQ(g.ELXZL(), Liste({1, 2}));
    g.setELYZL({1, 2});
    g.setELYGIT({5, 10});
    EXPECT_EQ(g.ELYZL(), Liste({5, 10}));
}

TEST_F(Grafik, RecordIdsAbove32767AreOrdinary) {
    g.setEID(40000);
    EXPECT_EQ(g.EID(), 40000);

    test::FigurDb db;
    db.exec(QStringLiteral("INSERT INTO E1 (ID, KEN, AKT) VALUES (3, 'a', 0), (40001, 'b', 1)"));
    clsGRAFIK fromDb(db.ctx);
    EXPECT_EQ(fromDb.EID(), 40001);
}

TEST_F(Grafik, BindingNoTargetOrEmptyTargetFailsAndKeepsTheOld) {
    RecordingSurface empty(QSizeF(0, 10));
    EXPECT_THROW(g.setEOBJEKT(&empty), VbError);
    EXPECT_THROW(g.setEOBJEKT(nullptr), VbError);
    EXPECT_EQ(g.EOBJEKT(), &surface);
    EXPECT_DOUBLE_EQ(g.ELX(), 170);
}

TEST_F(Grafik, LineSettingsConvertMillimetresToPixels) {
    RecordingSurface s(QSizeF(100, 100), 3.78);
    g.setEOBJEKT(&s);
    EXPECT_DOUBLE_EQ(g.LINIENEINSTELLUNGEN(0, 0, 0), 1);
    EXPECT_EQ(s.drawWidth(), 1);
    EXPECT_EQ(s.drawStyle(), 0);
    EXPECT_EQ(s.drawMode(), 13);
    EXPECT_EQ(s.foreColor(), QColor(Qt::black));
    EXPECT_NEAR(g.LINIENEINSTELLUNGEN(2, 0.3, paletteRgb(12)), 1.134, 1e-9);
    EXPECT_NEAR(s.drawWidth(), 1.134, 1e-9);
    EXPECT_EQ(s.drawStyle(), 2);
    EXPECT_EQ(s.foreColor(), QColor(255, 0, 0));
}

TEST_F(Grafik, FontSettingsBuildTheDerivedFonts) {
    g.SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
    EXPECT_EQ(g.SCHRIFTSATZ(4).size, 7);
    EXPECT_EQ(g.SCHRIFTSATZ(5).name, QStringLiteral("Symbol"));

    g.SCHRIFTEINSTELLUNGEN(QStringLiteral("Times New Roman"), 12, -1, 0, -1, 255);
    const FontSpec &t = surface.font();
    EXPECT_EQ(t.name, QStringLiteral("Times New Roman"));
    EXPECT_TRUE(t.bold && t.italic && !t.underline);
    EXPECT_EQ(surface.foreColor(), QColor(255, 0, 0));
    EXPECT_EQ(g.SCHRIFTSATZ(1), t);
    EXPECT_EQ(g.SCHRIFTSATZ(2), t);
    EXPECT_EQ(g.SCHRIFTSATZ(3).name, QStringLiteral("Symbol"));
    EXPECT_TRUE(g.SCHRIFTSATZ(3).bold && g.SCHRIFTSATZ(3).italic);
    EXPECT_EQ(g.SCHRIFTSATZ(4).size, 10);
    EXPECT_EQ(g.SCHRIFTSATZ(5).size, 10);

    const std::pair<int, int> small[] = {{7, 6}, {8, 7}, {9, 8}, {10, 9}, {12, 10}, {16, 14}};
    for (auto [size, expected] : small) {
        g.SCHRIFTEINSTELLUNGEN(QString(), int16_t(size), 0, 0, 0, -5);
        EXPECT_EQ(g.SCHRIFTSATZ(4).size, expected) << size;
        EXPECT_EQ(surface.foreColor(), QColor(Qt::black));
    }
}

TEST_F(Grafik, SettingsWithoutTargetShowOneBoxPerStep) {
    clsGRAFIK loose(ctx);
    test::Boxes boxes;
    for (int i = 0; i < 4; ++i) boxes.answer(ui::vbOK);
    loose.LINIENEINSTELLUNGEN(0, 0, 0);
    ASSERT_EQ(boxes.records().size(), 4u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Linieneinstellungen"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler: 91\n")));
    boxes.answer(ui::vbCancel);
    loose.SCHRIFTEINSTELLUNGEN(QString(), 0, 0, 0, 0, 0);
    EXPECT_EQ(boxes.records().back().title, QStringLiteral("Schrifteinstellungen"));
    EXPECT_TRUE(boxes.records().back().text.startsWith(QStringLiteral("VB-Fehler:91\n")));
}

TEST_F(Grafik, TransformsAndTheirInverse) {
    struct Case {
        int ox, oy;
        double X, Y, XP, YP;
    };
    // EXDL 10, EYDO 5, RL 15, RO 4, XMIN 0, XMAX 100, YMIN -20, YMAX 30, MX 2, MY 0.5
    const Case cases[] = {
        {1, 1, 40, 30, 45, 9},      // x to the right, y upwards
        {0, 1, 40, -20, 55, 109},   // x mirrored
        {1, 0, 0, -20, 25, 9},      // depth axis: y downwards
        {-1, -1, 100, 10, 25, 69},
    };
    g.setEXDL(10);
    g.setEYDO(5);
    for (const Case &c : cases) {
        g.setFrame(int16_t(c.ox), int16_t(c.oy), 15, 5, 4, 6, 0, 100, -20, 30, 2, 0.5);
        double xp = 0, yp = 0;
        g.KOORDTRANS(c.X, c.Y, xp, yp);
        EXPECT_DOUBLE_EQ(xp, c.XP) << c.ox << c.oy;
        EXPECT_DOUBLE_EQ(yp, c.YP) << c.ox << c.oy;
        double x = 0, y = 0;
        g.KOORDTRANSINV(xp, yp, x, y, 0, 0);
        EXPECT_NEAR(x, c.X, 1e-9);
        EXPECT_NEAR(y, c.Y, 1e-9);
    }
    g.setVerschiebung(-7, -20);
    g.setFrame(1, 1, 15, 5, 4, 6, 0, 100, -20, 30, 2, 0.5);
    double xp = 0, yp = 0, x = 0, y = 0;
    g.KOORDTRANS(40, 30, xp, yp);
    EXPECT_DOUBLE_EQ(xp, 38);
    EXPECT_DOUBLE_EQ(yp, -11);
    g.KOORDTRANSINV(xp, yp, x, y, 0, 0);
    EXPECT_NEAR(x, 40, 1e-9);
    // A log axis from 10^0: the left plot edge is 1.
    g.setVerschiebung(0, 0);
    g.setFrame(1, 1, 15, 5, 4, 6, 0, 3, 0, 2, 0.1, 0.1);
    g.KOORDTRANSINV(25, 9, x, y, 1, 1);
    EXPECT_NEAR(x, 1, 1e-9);
    EXPECT_NEAR(y, 100, 1e-9);
}

TEST_F(Grafik, TransformWithZeroScaleShowsItsBox) {
    g.setFrame(1, 1, 0, 0, 0, 0, 0, 10, 0, 10, 0, 1);
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    double xp = -1, yp = -1;
    g.KOORDTRANS(5, 5, xp, yp);
    EXPECT_EQ(xp, -1);       // not computed: keeps its value
    EXPECT_DOUBLE_EQ(yp, 5); // the other coordinate still is
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Koordinatentransformation"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler: 11\n")));
}

TEST_F(Grafik, LinieClipsToTheFigureRectangle) {
    g.setEXDL(10);
    g.setEYDO(20);
    g.setELX(100);
    g.setELY(50);   // left 10, right 110, upper 20, lower 70
    struct Case {
        QPointF a, b;
        const char *drawn;   // "" = nothing
    };
    const Case cases[] = {
        {{20, 30}, {50, 60}, "(20.000,30.000)-(50.000,60.000)"},
        {{10, 20}, {110, 70}, "(10.000,20.000)-(110.000,70.000)"},   // corners count as inside
        {{5, 30}, {15, 30}, "(10.000,30.000)-(15.000,30.000)"},
        {{5, 30}, {5, 60}, ""},
        {{0, 30}, {20, 50}, "(10.000,40.000)-(20.000,50.000)"},
        {{20, 75}, {60, 90}, ""},
        {{50, 0}, {50, 100}, "(50.000,20.000)-(50.000,70.000)"},
        {{120, 60}, {100, 80}, "(110.000,70.000)-(110.000,70.000)"},
        {{0, 0}, {200, 200}, "(20.000,20.000)-(70.000,70.000)"},
        {{qQNaN(), 30}, {50, 30}, ""},
        {{20, 30}, {qInf(), 30}, ""},
    };
    for (const Case &c : cases) {
        surface.reset();
        g.LINIE(c.a.x(), c.a.y(), c.b.x(), c.b.y());
        EXPECT_EQ(test::segments(surface).join(' '), QString::fromLatin1(c.drawn)) << c.a.x() << "," << c.a.y();
    }
    surface.setForeColor(Qt::green);
    surface.reset();
    g.LINIE(20, 30, 40, 30, paletteRgb(12));
    EXPECT_EQ(surface.strokes()[0].color, QColor(255, 0, 0));
    EXPECT_EQ(surface.foreColor(), QColor(Qt::green));
}

TEST_F(Grafik, LinieBoxHasItsOwnWording) {
    clsGRAFIK loose(ctx);
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    loose.LINIE(0, 0, 1, 1);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Liniengrenzen"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler: \nFehlerNr. 91\n")));
}

TEST_F(Grafik, NoClippedStrokeLeavesTheRectangleAndNothingVisibleIsLost) {
    g.setEXDL(10);
    g.setEYDO(20);
    g.setELX(100);
    g.setELY(50);
    const QRectF r(10, 20, 100, 50);
    QRandomGenerator rng(7);
    for (int i = 0; i < 2000; ++i) {
        const QPointF a(rng.bounded(200.0) - 40, rng.bounded(120.0) - 10), b(rng.bounded(200.0) - 40, rng.bounded(120.0) - 10);
        surface.reset();
        g.LINIE(a.x(), a.y(), b.x(), b.y());
        // Sample the original segment: points inside must lie on the drawn part.
        bool anyInside = false;
        for (int k = 0; k <= 50; ++k) {
            const QPointF p = a + (b - a) * (k / 50.0);
            if (r.adjusted(1e-3, 1e-3, -1e-3, -1e-3).contains(p)) anyInside = true;
        }
        const auto drawn = surface.strokes(Primitive::Line);
        if (anyInside) ASSERT_EQ(drawn.size(), 1u);
        for (const Stroke &s : drawn) {
            ASSERT_TRUE(test::inside(s.points[0], r)) << i;
            ASSERT_TRUE(test::inside(s.points[1], r)) << i;
            // The drawn part lies on the original segment.
            const QPointF d = b - a;
            for (const QPointF &p : s.points) {
                const double cross = d.x() * (p.y() - a.y()) - d.y() * (p.x() - a.x());
                ASSERT_NEAR(cross / std::hypot(d.x(), d.y()), 0, 1e-4);
            }
        }
    }
}

TEST(GrafikMath, AutomaticLinearAxis) {
    const Liste LMIN{0, 10, 20, 30, 40, 50}, LDIFF{10, 20, 50, 100}, LIT{2, 4, 5, 10}, LGIT{2, 4, 5, 10}, LZL{1, 2, 5, 5};
    struct Case {
        int nr, bomin, bomax;
        std::vector<double> data;
        double min0, max0;
        double min, max;
        int it;
    };
    const double nan = qQNaN(), inf = qInf();
    const Case cases[] = {
        {-1, -1, -1, {12, 37, 20}, 0, 0, 10, 60, 5},
        {1, -1, -1, {12, 37}, 0, 0, 10, 40, 5},            // NR 1 keeps the snapped maximum
        {-1, -1, -1, {-5, 8}, 0, 0, 0, 10, 2},
        {-1, 0, 0, {1}, 0, 500, 0, 100, 10},               // range above the largest: the largest
        {-1, 0, 0, {500}, 3, 7, 3, 13, 2},                 // stored limits: not snapped, MAX = MIN + D
        {-2, -1, -1, {12, 37}, 5, 45, 0, 50, 5},           // other NR: stored limits take part
        {-1, -1, -1, {nan, 12, inf, 37, -inf}, 0, 0, 10, 60, 5},   // non-finite data is left out
        {-1, -1, -1, {nan}, 0, 0, 0, 10, 2},
    };
    for (const Case &c : cases) {
        Achse a;
        a.MIN = c.min0;
        a.MAX = c.max0;
        SKALENAUTOMATIK(c.nr, c.bomin, c.bomax, 0, c.data, a, LMIN, LDIFF, LIT, LGIT, LZL);
        EXPECT_DOUBLE_EQ(a.MIN, c.min) << c.nr << " " << c.data.size();
        EXPECT_DOUBLE_EQ(a.MAX, c.max) << c.nr << " " << c.data.size();
        EXPECT_EQ(a.IT, c.it);
        ASSERT_EQ(a.TICKS.size(), size_t(c.it) + 1);
        EXPECT_DOUBLE_EQ(a.TICKS.front(), c.min);
    }
    Achse a;
    SKALENAUTOMATIK(-1, -1, -1, 0, {12, 37}, a, LMIN, LDIFF, LIT, LGIT, LZL);
    EXPECT_EQ(a.TICKS, std::vector<double>({10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(a.GIT, 5);
    EXPECT_EQ(a.ZL, 5);

    // The defaults of a fresh object: one interval over the figure, no grid, no numbers.
    Achse d;
    d.MIN = 5;
    SKALENAUTOMATIK(-1, 0, 0, 0, {0}, d, {0, 170}, {170}, {1}, {0}, {0});
    EXPECT_DOUBLE_EQ(d.MAX, 175);
    EXPECT_EQ(d.IT, 1);
    EXPECT_EQ(d.GIT, 0);

    Achse z;
    try {
        SKALENAUTOMATIK(-1, -1, -1, 0, {1}, z, {0, 10}, {10}, {0}, {0}, {0});
        ADD_FAILURE() << "no error for an interval count of 0";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, 11);
    }
}

TEST(GrafikMath, AutomaticLogarithmicAxis) {
    const Liste L{1, 10, 100, 1000};
    Achse a;
    SKALENAUTOMATIK(-1, -1, -1, 1, {1, 100}, a, L, {1}, {1}, {1}, {1});
    EXPECT_EQ(a.IT, 3);
    EXPECT_EQ(a.TICKS, std::vector<double>({0, 1, 2, 2}));
    EXPECT_EQ(a.GITTER, a.TICKS);

    Achse b;
    SKALENAUTOMATIK(-1, -1, -1, 1, {1, 100}, b, L, {1}, {10}, {1}, {1});
    EXPECT_EQ(b.IT, 19);
    ASSERT_GE(b.TICKS.size(), 20u);
    EXPECT_NEAR(b.TICKS[1], std::log10(2), 1e-9);
    EXPECT_NEAR(b.TICKS[8], std::log10(9), 1e-9);
    EXPECT_DOUBLE_EQ(b.TICKS[9], 1);
    EXPECT_DOUBLE_EQ(b.TICKS[10], 1);
    EXPECT_NEAR(b.TICKS[11], 1 + std::log10(2), 1e-9);
    EXPECT_DOUBLE_EQ(b.TICKS[19], 2);
    EXPECT_EQ(b.GITTER, std::vector<double>({0, 1, 2, 2}));
    EXPECT_EQ(b.GITTERANZAHL, 3);

    // Both limits in one decade: only the multiples between them.
    Achse c;
    c.MIN = 2, c.MAX = 5;
    SKALENAUTOMATIK(-1, 0, 0, 1, {0}, c, {1, 2, 5, 1000}, {1}, {10}, {10}, {10});
    ASSERT_EQ(c.TICKS.size(), 4u);
    EXPECT_NEAR(c.TICKS[1], std::log10(3), 1e-9);
    EXPECT_NEAR(c.TICKS[3], std::log10(5), 1e-9);

    // An automatic maximum beyond the list is clamped; a stored minimum outside stays.
    Achse d;
    d.MIN = 0.5;
    SKALENAUTOMATIK(-1, 0, -1, 1, {5000}, d, L, {1}, {1}, {1}, {1});
    EXPECT_DOUBLE_EQ(d.MAX, 1000);
    EXPECT_DOUBLE_EQ(d.MIN, 0.5);

    // Non-finite data never reaches the decade search.
    Achse e;
    SKALENAUTOMATIK(-1, -1, -1, 1, {qInf(), 3, qQNaN(), 50}, e, L, {1}, {1}, {1}, {1});
    EXPECT_DOUBLE_EQ(e.MIN, 1);
    EXPECT_DOUBLE_EQ(e.MAX, 100);

    // Stored limits that are not numbers start from the list instead of searching forever.
    Achse f;
    f.MIN = qQNaN();
    f.MAX = qInf();
    SKALENAUTOMATIK(-1, 0, 0, 1, {0}, f, L, {1}, {10}, {10}, {10});
    EXPECT_DOUBLE_EQ(f.MIN, 1);
    EXPECT_DOUBLE_EQ(f.MAX, 1000);
    EXPECT_EQ(f.IT, int(f.TICKS.size()) - 1);

    EXPECT_DOUBLE_EQ(LOG10(1000), 3);
    EXPECT_EQ(LOG10(0), 0);
    EXPECT_EQ(LOG10(-5), 0);
    EXPECT_EQ(LOG10(qInf()), 0);
}

// A decade tick for every power of ten above the minimum up to the maximum, however many
// decades the axis spans, within the exponents -10 to 10 the search covers.
TEST(GrafikMath, LogarithmicAxisTicksEveryDecadeInRange) {
    const auto range = [](int from, int to) {
        std::vector<double> v;
        for (int e = from; e <= to; ++e) v.push_back(e);
        return v;
    };
    struct Case {
        double min, max;
        std::vector<double> decades;
    };
    const Case cases[] = {
        {1e-4, 1e8, range(-3, 8)},
        {1, 1e10, range(1, 10)},
        {1e-12, 1e12, range(-10, 10)},
        {0.5, 2e9, range(0, 9)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << " to " << c.max);
        std::vector<double> want{std::log10(c.min)};
        want.insert(want.end(), c.decades.begin(), c.decades.end());
        want.push_back(std::log10(c.max));
        Achse a;
        a.MIN = c.min, a.MAX = c.max;
        SKALENAUTOMATIK(-1, 0, 0, 1, {0}, a, {c.min, c.max}, {1}, {1}, {1}, {1});
        ASSERT_EQ(a.TICKS.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(a.TICKS[i], want[i], 1e-9) << i;
        EXPECT_EQ(a.IT, int(want.size()) - 1);

        // Ticks at the multiples and a grid at the decades.
        Achse b;
        b.MIN = c.min, b.MAX = c.max;
        SKALENAUTOMATIK(-1, 0, 0, 1, {0}, b, {c.min, c.max}, {1}, {10}, {1}, {1});
        ASSERT_EQ(b.GITTER.size(), want.size());
        for (size_t i = 0; i < want.size(); ++i) EXPECT_NEAR(b.GITTER[i], want[i], 1e-9) << i;
    }
}

TEST(GrafikMath, ScaleFactors) {
    double mx = 0, my = 0.5;
    MASSSTAB(0, 100, 0, 10, 150, 100, 15, 10, 0, 0, 0, mx, my);
    EXPECT_DOUBLE_EQ(mx, 0.8);
    EXPECT_DOUBLE_EQ(my, 0.5);
    mx = 0, my = 0.5;
    MASSSTAB(0, 100, 0, 10, 150, 100, 15, 10, 0, 0, 1, mx, my);
    EXPECT_DOUBLE_EQ(my, 0.8);
    mx = 0.2, my = 0.5;
    MASSSTAB(0, 100, 0, 10, 150, 100, 15, 10, 0, 0, 2, mx, my);
    EXPECT_DOUBLE_EQ(mx, 0.25);
    mx = 0, my = 0;
    EXPECT_THROW(MASSSTAB(0, 100, 0, 10, 25, 100, 15, 10, 0, 0, 0, mx, my), VbError);
}

TEST(GrafikMath, DirectionAngles) {
    const std::tuple<double, double, double> cases[] = {
        {1, 1, 45}, {-1, 1, 135}, {-1, -1, 225}, {1, -1, 315}, {0, -2, 270}, {-3, 0, 180}, {0, 0, 0}, {0, 5, 90}, {4, 0, 0}};
    for (auto [dx, dy, w] : cases) EXPECT_NEAR(RICHTUNGSWINKEL(0, 0, dx, dy), w, 1e-4) << dx << "," << dy;
}

TEST(GrafikMath, PointSelections) {
    const std::tuple<int, int, std::vector<int>> cases[] = {
        {0, 5, {}},           {-1, 5, {0}},         {1, 5, {4}},          {2, 5, {0, 4}},
        {2, 1, {0}},          {-2, 3, {0, 1, 2}},   {3, 10, {0, 4, 8}},   {3, 11, {0, 5, 10}},
        {20, 3, {0, 1, 2}},   {-7, 2, {0, 1}},
    };
    for (const auto &[code, n, want] : cases) EXPECT_EQ(auswahl(code, n), want) << code << " " << n;
}
