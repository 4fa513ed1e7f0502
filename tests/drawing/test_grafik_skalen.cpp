// SKALEN: the frame row, automatic limits written back, axes with ticks, grid and numbers,
// scroll shifts, and the fixed content of the figure tables.
#include "test_grafik_support.h"
#include "TestSupport.h"
#include "common/SyncCounter.h"

#include <QScrollBar>

using namespace vnt;

namespace {

struct Skalen : ::testing::Test {
    test::FigurDb db;
    RecordingSurface surface{QSizeF(170, 100)};
    std::unique_ptr<clsGRAFIK> g;

    void SetUp() override {
        g = std::make_unique<clsGRAFIK>(db.ctx);
        g->setEID(1);
        g->setEIDOBJEKT(11);
        g->setEOBJEKT(&surface);
    }
    // A 120 x 120 figure with 10 mm margins: x 0..100 and y 0..100 on 1 world unit per mm.
    void einfach(int eaxex = 1, int eaxey = 0) {
        surface = RecordingSurface(QSizeF(120, 120));
        g->setEOBJEKT(&surface);
        db.frame(1, 11, 1, 1, 10, 10, 10, 10, 0, 100, 0, 100);
        g->setELXMIN({0, 100});
        g->setELXDIFF({100});
        g->setELYMIN({0, 100});
        g->setELYDIFF({100});
        g->setEAXEX(int16_t(eaxex));
        g->setEAXEY(int16_t(eaxey));
    }
    QStringList xNumbers() {
        QStringList out;
        for (const Stroke &s : surface.strokes(Primitive::Text))
            if (s.angle == 0) out << s.text;
        return out;
    }
    // Vertical lines spanning the whole plot height: the x grid.
    std::vector<double> xGrid(double y0, double y1) {
        std::vector<double> xs;
        for (const Stroke &s : surface.strokes(Primitive::Line))
            if (s.points[0].x() == s.points[1].x() && std::fabs(std::fabs(s.points[0].y() - s.points[1].y()) - std::fabs(y1 - y0)) < 1e-6)
                xs.push_back(s.points[0].x());
        return xs;
    }
};

} // namespace

TEST_F(Skalen, SeriesNumbersWriteTheLimitsBack) {
    db.frame(1, 11, 1, 1, 10, 5, 5, 10, 0, 0, 0, 0);
    g->setEBOXMIN(-1);
    g->setEBOXMAX(-1);
    g->setELXMIN({0, 10, 20, 30, 40, 50});
    g->setELXDIFF({10, 20, 50, 100});
    g->setELXIT({2, 4, 5, 10});
    g->setELXGIT({2, 4, 5, 10});
    g->setELXZL({1, 2, 5, 5});

    const std::vector<double> first{12, 37}, more{45}, fresh{22, 28};
    g->SKALEN(1, &first);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMIN")), 10);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMAX")), 40);
    EXPECT_TRUE(surface.strokes().empty());

    g->SKALEN(2, &more);   // widens what is stored
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMIN")), 10);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMAX")), 50);
    EXPECT_TRUE(surface.strokes().empty());

    g->SKALEN(-1, &fresh);  // starts afresh from the data and draws
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMIN")), 20);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("XMAX")), 30);
    EXPECT_NEAR(db.g0(QStringLiteral("MX")), 10.0 / 155, 1e-6);
    EXPECT_NEAR(db.g0(QStringLiteral("MY")), 100.0 / 85, 1e-6);
    EXPECT_FALSE(surface.strokes().empty());
    // Stored limits of y are left alone.
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("YMIN")), 0);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("YMAX")), 0);
    // The pen and the font are the defaults afterwards.
    EXPECT_EQ(surface.drawWidth(), 1);
    EXPECT_EQ(surface.font().size, 8);
}

TEST_F(Skalen, GivenScalesIgnoreTheRatio) {
    db.frame(1, 11, 1, 1, 0, 0, 0, 0, 0, 100, 0, 50, 2, 3, 1);
    g->SKALEN(-1);
    EXPECT_DOUBLE_EQ(g->MX(), 2);
    EXPECT_DOUBLE_EQ(g->MY(), 3);
    EXPECT_DOUBLE_EQ(db.g0(QStringLiteral("MX")), 2);
}

TEST_F(Skalen, MissingFrameRowReadsAsZeros) {
    // No row: OX, OY 0, margins 0, limits from the default lists.
    g->SKALEN(-1);
    EXPECT_EQ(g->OX(), 0);
    EXPECT_DOUBLE_EQ(g->XMAX(), 170);
    EXPECT_DOUBLE_EQ(g->MX(), 1);
}

TEST_F(Skalen, GridAndNumbersEveryNthTick) {
    struct Case {
        int git, zl;
        std::vector<double> grid;
        QStringList numbers;
    };
    const Case cases[] = {
        {4, 5, {10, 30, 50, 70, 90, 110}, {"0", "20", "40", "60", "80", "100"}},
        {0, 10, {}, {"0", "10", "20", "30", "40", "50", "60", "70", "80", "90", "100"}},
        {10, 0, {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110}, {}},
    };
    for (const Case &c : cases) {
        SetUp();
        db.exec(QStringLiteral("DELETE FROM G0"));
        einfach();
        g->setELXMIN({0, 100});
        g->setELXDIFF({100});
        g->setELXIT({10});
        g->setELXGIT({double(c.git)});
        g->setELXZL({double(c.zl)});
        g->SKALEN(-1);
        EXPECT_EQ(xGrid(10, 110), c.grid) << c.git;
        QStringList numbers = xNumbers();
        numbers.removeAll(QString());
        EXPECT_EQ(numbers, c.numbers) << c.zl;
    }
}

TEST_F(Skalen, NoAxisNoGrid) {
    einfach(0, 0);
    g->setELXMIN({0, 100});
    g->setELXDIFF({100});
    g->setELXIT({10});
    g->setELXGIT({10});
    g->SKALEN(-1);
    EXPECT_TRUE(surface.strokes(Primitive::Line).empty());
    EXPECT_TRUE(surface.strokes(Primitive::Text).empty());
}

TEST_F(Skalen, AxisOffsetsAndSides) {
    // x axis 8 mm below the plot area; its base value is YMIN - 8 * MY.
    surface = RecordingSurface(QSizeF(100, 100));
    g->setEOBJEKT(&surface);
    db.frame(1, 11, 1, 1, 10, 10, 10, 20, 0, 70, 0, 35, 1, 0.5);
    g->setEAXEX(8);
    g->setEAXEY(-5);
    g->setELXMIN({0, 70});
    g->setELXDIFF({70});
    g->setELXIT({7});
    g->setELYMIN({0, 35});
    g->setELYDIFF({35});
    g->setELYIT({5});
    g->setETEXTX(QStringLiteral("x"));
    g->SKALEN(-1);
    double xp = 0, yp = 0;
    g->KOORDTRANS(0, -4, xp, yp);
    EXPECT_DOUBLE_EQ(yp, 80 + 8);
    bool axisLine = false, tickDown = false, tickRight = false;
    for (const Stroke &s : surface.strokes(Primitive::Line)) {
        if (s.points[0].y() == 88 && s.points[1].y() == 88 && s.points[0].x() == 10 && s.points[1].x() == 80) axisLine = true;
        if (s.points[0].y() == 88 && s.points[1].y() == 89.5) tickDown = true;
        if (s.points[0].x() == 85 && s.points[1].x() == 86.5) tickRight = true;   // right edge 80, 5 mm right
    }
    EXPECT_TRUE(axisLine);
    EXPECT_TRUE(tickDown);
    EXPECT_TRUE(tickRight);
    // The x title hangs 6 mm below the axis line, centred.
    for (const Stroke &s : surface.strokes(Primitive::Text))
        if (s.text == QLatin1String("x")) EXPECT_NEAR(s.points[0].y(), 94, 1e-9);
}

TEST_F(Skalen, VerticalScrollBarAndShift) {
    surface = RecordingSurface(QSizeF(100, 150));
    g->setEOBJEKT(&surface);
    db.frame(1, 11, 1, 0, 0, 0, 10, 20, 0, 100, 0, 250, 1, 1);
    QWidget page;
    QScrollBar bar(Qt::Vertical, &page);
    g->setELYMIN({});   // y keeps its stored limits
    g->setEYBALKEN(&bar);
    g->SKALEN(-1);
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(bar.maximum(), 10000);
    EXPECT_EQ(bar.pageStep(), 2000);
    EXPECT_EQ(bar.singleStep(), 300);
    EXPECT_EQ(bar.x(), int(std::lround(95 * surface.pixelsPerMm())));
    EXPECT_DOUBLE_EQ(g->YVERSCHIEBUNG(), 0);

    bar.setValue(5000);
    clsGRAFIK again(db.ctx);
    again.setEID(1);
    again.setEOBJEKT(&surface);
    again.setELYMIN({});
    again.setEYBALKEN(&bar);
    again.SKALEN(-1);
    EXPECT_DOUBLE_EQ(again.YVERSCHIEBUNG(), 0.5 * (150 - 250 - 10 - 20));
    // A figure that fits hides its bar.
    db.exec(QStringLiteral("UPDATE G0 SET YMAX=100"));
    bar.setValue(0);
    bar.show();
    clsGRAFIK fits(db.ctx);
    fits.setEID(1);
    fits.setEOBJEKT(&surface);
    fits.setELYMIN({});
    fits.setEYBALKEN(&bar);
    fits.SKALEN(-1);
    EXPECT_TRUE(bar.isHidden());
}

// A bar that another drawing of the box moved (a table under the figure) moves nothing of a
// figure that fits its box, on screen or on paper.
TEST_F(Skalen, AFigureThatFitsStaysPutWhereverItsBarStands) {
    db.frame(1, 11, 1, 0, 0, 0, 10, 20, 0, 100, 0, 100, 1, 1);
    QWidget page;
    QScrollBar bar(Qt::Vertical, &page);
    bar.setRange(0, 10000);
    bar.setValue(10000);
    for (bool printer : {false, true}) {
        SCOPED_TRACE(printer);
        RecordingSurface target(QSizeF(100, 150));
        target.setPrinter(printer);
        clsGRAFIK fits(db.ctx);
        fits.setEID(1);
        fits.setEOBJEKT(&target);
        fits.setELY(150);
        fits.setELYMIN({});
        fits.setEYBALKEN(&bar);
        fits.SKALEN(-1);
        EXPECT_DOUBLE_EQ(fits.YVERSCHIEBUNG(), 0);
    }
}

TEST_F(Skalen, LogarithmicAxisNumbersDropTheTrailingDecimalSign) {
    einfach();
    db.exec(QStringLiteral("UPDATE G0 SET XMIN=1, XMAX=100"));
    g->setESKTX(1);
    g->setELXMIN({1, 10, 100});
    g->setELXDIFF({1});
    g->setELXIT({1});
    g->setELXGIT({1});
    g->setESKZX(QStringLiteral("#."));
    g->SKALEN(-1);
    EXPECT_DOUBLE_EQ(g->XMIN(), 0);
    EXPECT_DOUBLE_EQ(g->XMAX(), 2);
    QStringList numbers = xNumbers();
    numbers.removeAll(QString());
    EXPECT_EQ(numbers, QStringList({"1", "10", "100", "100"}));
}

TEST_F(Skalen, FixedContentOfTheRecordsFigureOnly) {
    einfach(0, 0);
    const QString g1 = QStringLiteral(
        "INSERT INTO G1 (ID,IDOBJEKT,KEN,LFDNR,SA,SG,SF,SU,SK,FB,XP,YP,TXT,WI,ARX,ARY) VALUES "
        "(%1,%2,%3,%4,'',9,1,0,0,12,20,80,'%5',0,0,0)");
    db.exec(g1.arg(1).arg(11).arg(0).arg(1).arg(QStringLiteral("eins")));
    db.exec(g1.arg(1).arg(11).arg(0).arg(2).arg(QStringLiteral("zwei")));
    db.exec(g1.arg(1).arg(11).arg(0).arg(4).arg(QStringLiteral("vier")));     // never read: 3 is missing
    db.exec(g1.arg(1).arg(11).arg(1).arg(3).arg(QStringLiteral("kenn1")));    // other row kind
    db.exec(g1.arg(2).arg(11).arg(0).arg(1).arg(QStringLiteral("fremd")));    // another record
    db.exec(QStringLiteral("INSERT INTO G2_1 (ID,IDOBJEKT,KEN,LFDNR,TXT,LA,FB,LB,PSTYP,PSIT,PNR,LAGETEXT,LAGEPFEIL) VALUES "
                           "(1,11,0,1,'Linie',0,9,0.5,1,-2,0,3,1), (1,11,0,2,'leer',0,0,0,0,0,0,0,0)"));
    db.exec(QStringLiteral("INSERT INTO G2_2 (ID,IDOBJEKT,KEN,LFDNR,PKTNR,PX,PY) VALUES "
                           "(1,11,'W',1,0,10,10), (1,11,'W',1,1,50,50), (1,11,'W',1,2,90,10), (1,11,'X',1,3,0,0)"));
    db.exec(QStringLiteral("INSERT INTO G3 (ID,IDOBJEKT,KEN,LFDNR,LA,FB,LB,MPX,MPY,PX1,PY1,WI) VALUES "
                           "(1,11,0,1,0,2,0,50,50,70,50,90)"));
    g->SKALEN(-1);

    const QStringList texts = surface.texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("eins")));
    EXPECT_TRUE(texts.contains(QStringLiteral("zwei")));
    EXPECT_FALSE(texts.contains(QStringLiteral("vier")));
    EXPECT_FALSE(texts.contains(QStringLiteral("kenn1")));
    EXPECT_FALSE(texts.contains(QStringLiteral("fremd")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Linie")));
    for (const Stroke &s : surface.strokes(Primitive::Text))
        if (s.text == QLatin1String("eins")) {
            EXPECT_TRUE(s.font.bold);
            EXPECT_EQ(s.font.size, 9);
            EXPECT_EQ(s.color, QColor(255, 0, 0));
            EXPECT_EQ(s.points[0], QPointF(30, 30));
        }
    // The polyline: two segments in light blue, 0.5 mm wide, symbols on every point; the
    // point of another row kind is not part of it.
    int blue = 0;
    for (const Stroke &s : surface.strokes(Primitive::Line))
        if (s.color == QColor(0, 0, 255) && s.width > 1) ++blue;
    EXPECT_GE(blue, 2);
    EXPECT_EQ(surface.strokes(Primitive::Rectangle).size(), 3u);
    // The arc: a quarter in green.
    const auto arcs = surface.strokes(Primitive::Arc);
    ASSERT_EQ(arcs.size(), 1u);
    EXPECT_EQ(arcs[0].color, QColor(0, 128, 0));
    EXPECT_NEAR(arcs[0].endRad - arcs[0].startRad, M_PI / 2, 1e-3);
    EXPECT_EQ(surface.foreColor(), QColor(Qt::black));
    EXPECT_EQ(surface.font().size, 8);
}

TEST_F(Skalen, PaletteNumberOutOfRangeIsReported) {
    einfach(0, 0);
    db.exec(QStringLiteral("INSERT INTO G1 (ID,IDOBJEKT,KEN,LFDNR,SA,SG,FB,XP,YP,TXT,WI,ARX,ARY) VALUES "
                           "(1,11,0,1,'',8,16,20,80,'t',0,0,0), (1,11,0,2,'',8,1,20,70,'u',0,0,0)"));
    db.exec(QStringLiteral("INSERT INTO G3 (ID,IDOBJEKT,KEN,LFDNR,LA,FB,LB,MPX,MPY,PX1,PY1,WI) VALUES "
                           "(1,11,0,1,0,-1,0,50,50,70,50,90)"));
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    boxes.answer(ui::vbOK);
    g->SKALEN(-1);
    ASSERT_EQ(boxes.records().size(), 2u);
    EXPECT_EQ(surface.strokes(Primitive::Arc).size(), 1u);   // the arc in the pen before it
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Skalen"));
    EXPECT_TRUE(boxes.records()[0].text.startsWith(QStringLiteral("VB-Fehler:5\n")));
    EXPECT_TRUE(surface.texts().contains(QStringLiteral("u")));   // OK goes on with the next text
    EXPECT_TRUE(surface.texts().contains(QStringLiteral("t")));   // and shows this one in the font before
}

TEST_F(Skalen, UnreadableFrameRowEndsWithoutDrawing) {
    db.exec(QStringLiteral("DROP TABLE G0"));
    test::Boxes boxes;
    boxes.answer(ui::vbOK);
    g->SKALEN(-1);
    ASSERT_GE(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, QStringLiteral("Datenfehler"));
    EXPECT_TRUE(surface.strokes().empty());
}

// A figure's frame-row writes are one commit, whether or not a drawing pass holds a unit of
// its own; drawing it again with nothing changed writes and syncs nothing.
TEST_F(Skalen, OneFigureCommitsItsFrameOnceAndAnUnchangedFrameNotAtAll) {
    test::Boxes boxes;   // none expected
    db.frame(1, 11, 1, 1, 10, 5, 5, 10, 0, 0, 0, 0);
    test::installSyncCounter();
    db.ctx.cnn = db::openDatabase(db.dir.filePath(QStringLiteral("VANT.mdb")));
    g->setEBOXMIN(-1);
    g->setEBOXMAX(-1);
    g->setELXMIN({0, 10, 20, 30, 40, 50});
    g->setELXDIFF({10, 20, 50, 100});
    g->setELXIT({2, 4, 5, 10});
    g->setELXGIT({2, 4, 5, 10});
    g->setELXZL({1, 2, 5, 5});
    db.exec(QStringLiteral("UPDATE G0 SET YMAX=100"));
    const std::vector<double> xs{12, 37};
    {
        test::SyncMeter first;
        g->SKALEN(-1, &xs);
        EXPECT_EQ(first.counted().database, 1);
    }
    EXPECT_GE(db.g0(QStringLiteral("XMAX")), 37);   // worked out and written back
    EXPECT_GT(db.g0(QStringLiteral("MX")), 0);
    test::SyncMeter again;
    g->SKALEN(-1, &xs);
    EXPECT_EQ(again.counted().all, 0);
    EXPECT_FALSE(surface.strokes().empty());
}
