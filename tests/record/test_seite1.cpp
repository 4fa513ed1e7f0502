// Result page 1: the page data of a small record, the series of the figures, and each figure
// drawn on the recording surface with its main geometry.
#include "common/SchemaDb.h"
#include "common/TestSupport.h"
#include "LookSupport.h"
#include "common/PageLook.h"
#include "drawing/clsGRAFIK.h"
#include "pages/record/mdiSEITE1.h"
#include "pages/common/PrintJob.h"
#include "pages/record/mdiSEITE2.h"
#include "platform/NumberFormat.h"
#include "platform/printer.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cmath>
#include <map>

using namespace vnt;

namespace {

class Context : public SimpleRunContext {
public:
    QList<int> progressSteps;
    void setProgress(int v) override
    {
        SimpleRunContext::setProgress(v);
        progressSteps.append(v);
    }
};

// Record 7, active, with presets for one set of devices (150 per hour before factors) and two
// unit-cost sets: K1 with staff apart and factors 1.5 / 2 / 1.1, K2 with staff inside.
struct Fixture {
    QTemporaryDir dir;
    Context ctx;

    explicit Fixture(const QString &kenk = QStringLiteral("K1"), int K = 0, int ZAUF = 0, bool boneu = true)
    {
        ctx.cnn = test::makeProjectDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
        ctx.cnnV = test::makePresetDatabase(dir.filePath(QStringLiteral("VORGABE.mdb")));
        ctx.projekt = QStringLiteral("P1");
        ctx.bearbeiter = QStringLiteral("Meier");
        auto &v = *ctx.cnnV;
        v.Execute(QStringLiteral("INSERT INTO VANT_V11 VALUES (1, 'T1', 'Bohrgerät', 100)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V12 VALUES (1, 'V1', 'Rohr', 20)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V13 VALUES (1, 'L1', 'Meißel', 5)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V14 VALUES (1, 'F1', 'Schnecke', 25)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V2 (IDG, KENG, KOMG) VALUES (1, 'GR', 'Granit')"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (1, 'K1', 'eins', 30, 0, 1.5, 2, 1.1)"));
        v.Execute(QStringLiteral("INSERT INTO VANT_V3 VALUES (2, 'K2', 'pauschal', 30, 1, 1, 1, 1)"));
        auto &c = *ctx.cnn;
        c.Execute(QStringLiteral("INSERT INTO E1 (ID, KEN, KOM, AKT, NN, ZGW) VALUES (7, 'B-1', 'Test', 1, 100, 98)"));
        c.Execute(QStringLiteral("INSERT INTO E6 VALUES (7, '%1', %2, %3)").arg(kenk).arg(K).arg(ZAUF));
        c.Execute(QStringLiteral("INSERT INTO A1 VALUES (7, %1)").arg(boneu ? 1 : 0));
    }

    // One section with its devices, rock, times (gross = their sum), crew and additional cost.
    void section(int i, double z, double ntz, double auz = 0, double ppz = 0, double stz = 0, int per = 2,
                 double zkt = 0, double dez = 0)
    {
        auto &c = *ctx.cnn;
        c.Execute(QStringLiteral("INSERT INTO E2 VALUES (7, %1, %2)").arg(i).arg(z));
        c.Execute(QStringLiteral("INSERT INTO E3 VALUES (7, %1, 0.6, 'T1', 'V1', 'L1', 'F1', %2, 0, 0, 0, %3)")
                      .arg(i).arg(zkt).arg(per));
        c.Execute(QStringLiteral("INSERT INTO E4 VALUES (7, %1, 'GR')").arg(i));
        c.Execute(QStringLiteral("INSERT INTO A2 VALUES (7, %1, %2, %3, %4, %5, %6, %7, %8)")
                      .arg(i).arg(dez).arg(ntz).arg(auz).arg(ppz).arg(stz).arg(ntz + auz + ppz + stz).arg(per));
    }

    int count(const QString &sql)
    {
        db::Recordset rs;
        rs.Open(sql, ctx.cnn);
        return int(rs.Fields(0).toDouble());
    }
};

std::vector<Stroke> coloured(const RecordingSurface &s, const QColor &c)
{
    std::vector<Stroke> out;
    for (const Stroke &k : s.strokes())
        if (k.kind == Primitive::Line && k.color == c)
            out.push_back(k);
    return out;
}

// The texts among `wanted` in the order they were drawn.
QStringList drawn(const RecordingSurface &s, const QStringList &wanted)
{
    QStringList out;
    for (const QString &t : s.texts())
        if (wanted.contains(t))
            out << t;
    return out;
}

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page[^s]"));
    return int(QString::fromLatin1(f.readAll()).count(pageObject));
}

const Stroke *textStroke(const RecordingSurface &s, const QString &text)
{
    for (const Stroke &k : s.strokes())
        if (k.kind == Primitive::Text && k.text == text)
            return &k;
    return nullptr;
}

} // namespace

TEST(Page1Data, ReadsRecordAppliesFactorsAndLeavesGapsEmpty)
{
    test::Boxes boxes;
    Fixture f;
    // Sections 0, 1 and 3: section 2 has no rows at all.
    f.section(0, 10, 5, 1, 0, 0, 2, 100, 10);
    f.section(1, 20, 4, 0, 0, 0, 3, 200, 10);
    f.section(3, 30, 2, 0, 0, 0, 1, 0, 10);
    mdiSEITE1 page(f.ctx);
    const Page1Data &D = page.daten();

    EXPECT_EQ(D.ID, 7);
    EXPECT_EQ(D.KEN, "B-1");
    EXPECT_EQ(D.IMAX, 3);
    ASSERT_EQ(D.Z.size(), 4u);
    EXPECT_FLOAT_EQ(D.Z[2], 0);
    EXPECT_TRUE(D.KENT[2].isEmpty());
    EXPECT_FLOAT_EQ(D.EKT[2], 0);
    EXPECT_EQ(D.KOMT[0], QString::fromUtf8("Bohrgerät"));
    EXPECT_EQ(D.KOMG[3], "Granit");

    // Preset costs times FKG, staff cost times FKP, additional-cost totals times FZK; the
    // section's own additional costs stay as entered.
    EXPECT_FLOAT_EQ(D.EKT[0], 150);
    EXPECT_FLOAT_EQ(D.EKF[1], 37.5f);
    EXPECT_FLOAT_EQ(D.EKP, 60);
    EXPECT_FLOAT_EQ(D.SUMZKT, 330);
    EXPECT_FLOAT_EQ(D.ZKT[1], 200);
    EXPECT_FLOAT_EQ(D.SUMDEZ, 30);
    EXPECT_EQ(D.PER[1], 3);

    EXPECT_TRUE(D.BOZGW);
    EXPECT_FLOAT_EQ(D.ZGW, 98);

    EXPECT_EQ(f.ctx.progressSteps.first(), 40);
    EXPECT_EQ(f.ctx.progressSteps.last(), 99);
    for (int v : {42, 45, 48, 52, 65, 66, 68, 70, 74, 75, 78, 80})
        EXPECT_TRUE(f.ctx.progressSteps.contains(v)) << v;

    // Page 2 is loaded hidden as the next page; the flag of a new evaluation is spent.
    ASSERT_NE(page.followingPage(), nullptr);
    EXPECT_TRUE(page.followingPage()->isHidden());
    EXPECT_FALSE(D.BONEU);
}

TEST(Page1Data, MissingValuesAndUnknownUnitCostSet)
{
    struct Case {
        const char *sql;
        bool bozgw;
        float zgw;
    };
    // An empty groundwater cell is "not given"; 0 in it is a level.
    const Case cases[] = {{"UPDATE E1 SET ZGW = NULL", false, 0}, {"UPDATE E1 SET ZGW = 0", true, 0}};
    for (const Case &c : cases) {
        test::Boxes boxes;
        Fixture f(QStringLiteral("KX"));
        f.ctx.cnn->Execute(QString::fromLatin1(c.sql));
        f.section(0, 10, 5);
        mdiSEITE1 page(f.ctx);
        const Page1Data &D = page.daten();
        EXPECT_EQ(D.BOZGW, c.bozgw) << c.sql;
        EXPECT_FLOAT_EQ(D.ZGW, c.zgw) << c.sql;
        // A set that names no preset row leaves every factor 0, so every cost is 0.
        EXPECT_FLOAT_EQ(D.FKG, 0);
        EXPECT_FLOAT_EQ(D.EKT[0], 0);
        EXPECT_FLOAT_EQ(D.EKP, 0);
        }

    // No sections at all: one section of zeros, and every figure still draws without a box.
    test::Boxes boxes;
    Fixture f;
    mdiSEITE1 page(f.ctx);
    EXPECT_EQ(page.daten().IMAX, 0);
    EXPECT_EQ(page.daten().Z.size(), 1u);
}

TEST(Page1Data, DefaultFramesOnlyAfterAnEvaluation)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5);
    { mdiSEITE1 page(f.ctx); }
    EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(DISTINCT IDOBJEKT) FROM G0 WHERE ID = 7")), 7);
    EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE ID = 7 AND IDOBJEKT = 11 AND RL = 10")), 1);

    // Shown again without a new evaluation, the stored frame stays as the user left it.
    f.ctx.cnn->Execute(QStringLiteral("UPDATE A1 SET BONEU = 0"));
    f.ctx.cnn->Execute(QStringLiteral("UPDATE G0 SET RL = 20 WHERE IDOBJEKT = 11"));
    mdiSEITE1 page(f.ctx);
    EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE IDOBJEKT = 11 AND RL = 20")), 1);
    EXPECT_DOUBLE_EQ(page.GRAFIK(11)->RL(), 20);
}

// Answers OK to every message box and keeps its text: what a user who reads each box and goes
// on would see.
class OkToEveryBox : public ui::ScriptedBoxes {
public:
    QStringList texts;
    int msgBox(const QString &text, int, const QString &) override
    {
        texts << text;
        return ui::vbOK;
    }
};

// What each figure's box shows: its texts with their places, in the order drawn.
std::map<int, QStringList> figureTexts(mdiSEITE1 &page, const test::ScreenLogs &screen)
{
    std::map<int, QStringList> out;
    for (int n : {11, 12, 13, 14, 15, 16})
        for (const Stroke &s : screen.shown(page.pictureBox(QStringLiteral("picBILD%1").arg(n))))
            if (s.kind == Primitive::Text)
                out[n] << QStringLiteral("%1@%2,%3").arg(s.text).arg(s.points[0].x(), 0, 'f', 1).arg(s.points[0].y(), 0, 'f', 1);
    return out;
}

// A working copy that refuses every write (a locked or read-only file) still shows the page
// after an evaluation, every figure in its box as a writable copy shows it: the frames it
// worked out and could not keep are kept for the run, and told once for the drawing, not
// value by value.
TEST(Page1Data, AWorkingCopyThatRefusesWritesIsToldOnceAndTheFiguresDrawn)
{
    std::map<int, QStringList> writable;
    {
        Fixture f;
        f.section(0, 10, 5);
        f.section(1, 20, 5);
        test::ScreenLogs screen;
        mdiSEITE1 page(f.ctx);
        writable = figureTexts(page, screen);
    }
    Fixture f;
    f.section(0, 10, 5);
    f.section(1, 20, 5);
    f.ctx.cnn->Execute(QStringLiteral("PRAGMA query_only = 1"));
    test::ScreenLogs screen;
    OkToEveryBox boxes;
    mdiSEITE1 page(f.ctx);
    ASSERT_EQ(boxes.texts.size(), 1) << boxes.texts.mid(0, 4).join(QLatin1String(" / ")).toStdString();
    EXPECT_TRUE(boxes.texts[0].contains(QStringLiteral("G0 gespeichert werden"))) << boxes.texts[0].toStdString();
    const std::map<int, QStringList> readOnly = figureTexts(page, screen);
    for (int n : {11, 12, 13, 14, 15, 16}) {
        EXPECT_FALSE(readOnly.at(n).isEmpty()) << n;
        EXPECT_EQ(readOnly.at(n), writable.at(n)) << n;
    }
    // Drawn again (a Berechnen with the page open), nothing new is told.
    boxes.texts.clear();
    mdiSEITE1 again(f.ctx);
    EXPECT_LE(boxes.texts.size(), 1);
    f.ctx.cnn->Execute(QStringLiteral("PRAGMA query_only = 0"));
    EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(*) FROM G0")), 0);
}

// Stored results whose frames are missing or incomplete (a record imported from a project that
// never drew it) are drawn on default frames, every depth figure on the profile's scale.
TEST(Page1Data, StoredResultsWithoutCompleteFramesAreDrawnOnDefaultFrames)
{
    const char *damage[] = {
        "DELETE FROM G0",
        "DELETE FROM G0 WHERE IDOBJEKT = 16",
        "UPDATE G0 SET RL = NULL WHERE IDOBJEKT = 12",
        "UPDATE G0 SET YMAX = NULL WHERE IDOBJEKT = 11",
    };
    for (const char *sql : damage) {
        SCOPED_TRACE(sql);
        test::Boxes boxes;
        Fixture f;
        f.section(0, 10, 5);
        f.section(1, 30, 5);
        { mdiSEITE1 page(f.ctx); }
        f.ctx.cnn->Execute(QStringLiteral("UPDATE A1 SET BONEU = 0"));
        f.ctx.cnn->Execute(QString::fromLatin1(sql));

        mdiSEITE1 page(f.ctx);
        EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE ID = 7 AND OX = 1 AND RL IS NOT NULL AND "
                                         "RU IS NOT NULL AND XMAX IS NOT NULL AND YMAX IS NOT NULL")),
                  7);
        const clsGRAFIK *g11 = page.GRAFIK(11);
        ASSERT_TRUE(g11);
        EXPECT_DOUBLE_EQ(g11->RL(), 10);
        EXPECT_FLOAT_EQ(float(g11->YMAX()), 30);
        for (int n : {12, 13, 15, 16, 17}) {
            const clsGRAFIK *g = page.GRAFIK(n);
            ASSERT_TRUE(g) << n;
            EXPECT_DOUBLE_EQ(g->RL(), 10) << n;
            EXPECT_FLOAT_EQ(float(g->MY()), float(g11->MY())) << n;
            EXPECT_FLOAT_EQ(float(g->YMAX()), float(g11->YMAX())) << n;
        }
    }
}

TEST(Page1Data, ANewEvaluationFitsTheDepthScaleToTheNewDepths)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5);
    f.section(1, 20, 5);
    { mdiSEITE1 page(f.ctx); }
    const double first = f.count(QStringLiteral("SELECT MY * 1000 FROM G0 WHERE ID = 7 AND IDOBJEKT = 11"));

    // The depths triple and the record is evaluated again.
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E2 SET Z = Z * 3"));
    f.ctx.cnn->Execute(QStringLiteral("UPDATE A1 SET BONEU = 1"));
    mdiSEITE1 page(f.ctx);
    EXPECT_GT(f.count(QStringLiteral("SELECT MY * 1000 FROM G0 WHERE ID = 7 AND IDOBJEKT = 11")), 2 * first);
    // Every depth figure fits its box: the depth range on the scale is within the plot height.
    for (int n : {11, 12, 13, 15, 16, 17}) {
        const clsGRAFIK *g = page.GRAFIK(n);
        ASSERT_TRUE(g) << n;
        EXPECT_FLOAT_EQ(float(g->MY()), float(page.GRAFIK(11)->MY())) << n;
        EXPECT_LE((g->YMAX() - g->YMIN()) / g->MY(), g->ELY() - g->RO() - g->RU() + 1e-3) << n;
    }
}

TEST(Seite1Reihen, StackedCostsUnitCostsAndRates)
{
    Page1Data D;
    D.resize(2);
    D.IMAX = 1;
    D.Z = {10, 30};
    D.NTZ = {5, 5};
    D.AUZ = {1, 0};
    D.BRZ = {6, 0};   // the second section has no gross time: it has no rate
    D.PER = {2, 2};
    D.EKP = 30;
    D.EKT = {60, 60};
    D.EKV = {40, 40};

    // Unit costs: the net part per metre is the section's own, 5 h x 60 / length.
    const CostCurves e = unitCostCurves(D, 1);
    EXPECT_EQ(e.titel, "Personalkosten");
    ASSERT_EQ(e.kurven.size(), 4u);
    EXPECT_EQ(e.kurven[3].legende, "PKONTZ");
    EXPECT_DOUBLE_EQ(e.kurven[3].werte[1], 30);
    EXPECT_DOUBLE_EQ(e.kurven[3].werte[2], 15);
    EXPECT_DOUBLE_EQ(e.summe[1], 36);

    // Costs accumulate: staff (time x crew x rate), then staff + equipment.
    const CostCurves k = costCurves(D, 0);
    ASSERT_EQ(k.kurven.size(), 2u);
    EXPECT_DOUBLE_EQ(k.kurven[0].werte[2], 6 * 60 + 5 * 60);
    EXPECT_DOUBLE_EQ(k.summe[2], 660 + 11 * 100);
    EXPECT_EQ(k.kurven[1].farbe, 12);

    // A section of no length costs nothing per metre rather than failing.
    D.Z = {10, 10};
    EXPECT_DOUBLE_EQ(unitCostCurves(D, 0).summe[2], 0);
    EXPECT_TRUE(unitCostCurves(D, 7).kurven.empty());

    D.Z = {10, 30};
    const AdvanceRates v = advanceRates(D);
    EXPECT_DOUBLE_EQ(v.netto[1], 2);
    EXPECT_NEAR(v.brutto[1], 10.0 / 6, 1e-6);
    EXPECT_DOUBLE_EQ(v.brutto[2], 0);
    EXPECT_DOUBLE_EQ(v.netto[2], 4);

    // Label lines keep 4 mm apart and a push carries on to the following boundary.
    const ProfileDepths t = profileDepths({10, 10.2f, 10.5f, 30}, 0.5f);
    EXPECT_EQ(t.beschriftung, (std::vector<double>{0, 10, 12, 14, 30}));
}

TEST(Page1Figures, ProfileLabelsGroundwaterAndDepthScale)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5, 0, 0, 0, 2, 0, 10);
    f.section(1, 10.1, 1, 0, 0, 0, 2, 0, 0.1);
    f.section(2, 30, 8, 0, 0, 0, 2, 0, 19.9);
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENL = 'SCHN-FZ-RS' WHERE I2 = 2"));
    mdiSEITE1 page(f.ctx);
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD11(1, 0, 0);
    const clsGRAFIK *g = page.GRAFIK(11);
    ASSERT_NE(g, nullptr);
    const double my = g->MY();
    ASSERT_GT(my, 0);

    // The boundary 0.1 m below the one above gets its label line 4 mm lower.
    const Stroke *a = textStroke(*rec, QStringLiteral("10,00"));
    const Stroke *b = textStroke(*rec, QStringLiteral("10,10"));
    ASSERT_TRUE(a && b);
    EXPECT_NEAR(b->points[0].y() - a->points[0].y(), 4.0, 1e-3);
    EXPECT_EQ(drawn(*rec, {"Profil", "KENG", "KENF", "NN = 100,00 m", "2,00m"}),
              (QStringList{"Profil", "KENG", "KENF", "NN = 100,00 m", "2,00m"}));

    // Groundwater 2 m below ground: a blue line across the bore axis's left side.
    const auto blue = coloured(*rec, QColor(0, 0, 255));
    ASSERT_FALSE(blue.empty());
    const double top = 35 + 10;   // box top + upper margin
    EXPECT_NEAR(blue[0].points[0].y(), top + 2 / my, 1e-3);
    EXPECT_NEAR(blue[0].points[0].x(), 15 + 10, 1e-3);
    EXPECT_NEAR(blue[0].points[1].x(), 15 + 10 + 15, 1e-3);
    // Its depth stays readable over the lines it stands on.
    EXPECT_TRUE(textStroke(*rec, QStringLiteral("2,00m"))->filled);

    // A key wider than its column begins where the column does and ends before the next one.
    const Stroke *key = textStroke(*rec, QStringLiteral("SCHN-FZ-RS"));
    ASSERT_TRUE(key);
    EXPECT_NEAR(key->points[0].x(), 15 + 10 + 47, 1e-3);
    EXPECT_LT(key->points[0].x() + measureTextMm(key->font, key->text).width(), 15 + 10 + 57);
    EXPECT_DOUBLE_EQ(textStroke(*rec, QStringLiteral("F1"))->font.stretch, 1);
}

TEST(Page1Figures, TimeCurvesFollowTheBreakdown)
{
    struct Case {
        int zauf;
        QStringList legend;
    };
    // Any other breakdown draws the net time alone.
    const Case cases[] = {{0, {"NTZ", "BRZ"}}, {1, {"AUZ", "PPZ", "STZ", "NTZ"}}, {2, {"NTZ"}}};
    for (const Case &c : cases) {
        test::Boxes boxes;
        Fixture f(QStringLiteral("K1"), 0, c.zauf);
        f.section(0, 10, 5, 1, 1, 1);
        f.section(1, 20, 3);
        mdiSEITE1 page(f.ctx);
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        page.BILD12(1, 0, 0);
        EXPECT_EQ(drawn(*rec, {"AUZ", "PPZ", "STZ", "NTZ", "BRZ"}), c.legend) << c.zauf;
        // The outermost curve is dark red in both modes and reaches the total gross time.
        const auto red = coloured(*rec, QColor(128, 0, 0));
        if (c.zauf > 1) {
            EXPECT_TRUE(red.empty());
            continue;
        }
        ASSERT_FALSE(red.empty());
        const clsGRAFIK *g = page.GRAFIK(12);
        const double x0 = 95 + g->RL();
        const double endX = x0 + 11 / g->MX();
        bool reachesTotal = false;
        for (const Stroke &s : red)
            for (const QPointF &p : s.points)
                reachesTotal = reachesTotal || std::abs(p.x() - endX) < 1e-3;
        EXPECT_TRUE(reachesTotal) << c.zauf;
        // Its depth axis is figure 11's.
        EXPECT_FLOAT_EQ(float(g->MY()), float(page.GRAFIK(11)->MY()));
        }
}

TEST(Page1Figures, RatesAndCrewShareOneFrame)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5, 0, 0, 0, 2);
    f.section(1, 20, 0, 0, 0, 0, 4);   // no time in this section: no rate, and no error box
    mdiSEITE1 page(f.ctx);
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD13(1, 19, 1);
    // The legend comes last, on a filled cell, so that neither the rates nor the crew cross it.
    EXPECT_EQ(drawn(*rec, {"Vortriebsgeschwindigkeit / Personal", "Brutto", "Netto", "Personen [-]"}),
              (QStringList{"Vortriebsgeschwindigkeit / Personal", "Personen [-]", "Brutto", "Netto"}));
    size_t lastCrew = 0, legend = 0;
    for (size_t i = 0; i < rec->strokes().size(); ++i) {
        const Stroke &k = rec->strokes()[i];
        if (k.kind == Primitive::Line && k.color == QColor(0, 128, 0))
            lastCrew = i;
        if (k.kind == Primitive::Text && k.text == "Brutto") {
            legend = i;
            EXPECT_TRUE(k.filled);
        }
    }
    EXPECT_GT(legend, lastCrew);
    const clsGRAFIK *g13 = page.GRAFIK(13), *g17 = page.GRAFIK(17);
    ASSERT_TRUE(g13 && g17);
    EXPECT_DOUBLE_EQ(g13->EXDL(), 175 + 19);
    EXPECT_DOUBLE_EQ(g17->EYDO(), 30 + 1);
    EXPECT_DOUBLE_EQ(g17->RO(), g13->RO());
    // The rate axis is fitted to the 2 m/h of the first section; the crew outline is green.
    EXPECT_GE(g13->XMAX(), 2);
    EXPECT_LT(g13->XMAX(), 10);
    EXPECT_GE(g17->XMAX(), 4);
    EXPECT_FALSE(coloured(*rec, QColor(0, 128, 0)).empty());
}

// Another target code draws again through the figure's previous object and target, which
// carry the record's id. Where there is no previous object, page 1 makes none: the figure
// fails with error 91 and draws nothing.
TEST(Page1Figures, AnotherTargetCodeRedrawsOnlyThroughThePreviousObject)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5);
    mdiSEITE1 page(f.ctx);
    clsGRAFIK *screen = page.GRAFIK(12);
    ASSERT_TRUE(screen);
    page.BILD12(2, 0, 0);
    EXPECT_EQ(page.GRAFIK(12), screen);
    EXPECT_EQ(screen->EID(), 7);
    EXPECT_EQ(screen->EOBJEKT(), &page.pictureBox(QStringLiteral("picBILD12"))->surface());

    page.Form_Unload();
    boxes.answer(ui::vbCancel);
    page.BILD12(2, 0, 0);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Bild 12");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Fehler: 91\n"));
    EXPECT_FALSE(page.GRAFIK(12));
}

TEST(Page1Figures, LegendListsKeysOnceAndTheAdditionalCosts)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5, 0, 0, 0, 2, 1000);
    f.section(1, 20, 5);
    mdiSEITE1 page(f.ctx);
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD14(1, -1, 11);
    const QStringList texts = rec->texts();
    EXPECT_EQ(texts.count("T1"), 1);
    EXPECT_EQ(drawn(*rec, {QString::fromUtf8("Geräte:"), "T1", "V1", "L1", "F1", "Gesteine:", "GR"}),
              (QStringList{QString::fromUtf8("Geräte:"), "T1", "V1", "L1", "F1", "Gesteine:", "GR"}));
    EXPECT_TRUE(texts.contains("1.100,00 [E]")) << texts.join('|').toStdString();
    // Three device rows below the first and none below the only rock: the page is 3 x 3 + 50 mm.
    EXPECT_EQ(f.count(QStringLiteral("SELECT COUNT(*) FROM G0 WHERE IDOBJEKT = 14 AND YMAX = 59")), 1);
}

TEST(Page1Figures, ALongLegendScrollsToItsLastRow)
{
    test::Boxes boxes;
    Fixture f;
    for (int i = 0; i < 30; ++i)
        f.section(i, 1 + i, 1);
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENT = 'T' || I2"));
    mdiSEITE1 page(f.ctx);
    // 33 devices and one rock: the legend is 3 x 32 + 50 mm tall, beyond every depth candidate.
    EXPECT_DOUBLE_EQ(page.GRAFIK(14)->YMAX(), 146);
    QScrollBar *bar = page.scrollBar(QStringLiteral("vscBILD14"));
    ASSERT_TRUE(bar);
    EXPECT_FALSE(bar->isHidden());
    bar->setValue(bar->maximum());
    // Scrolled to its end, on paper as on screen, the additional costs are in view.
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD14(1, -1, 11);
    const Stroke *last = textStroke(*rec, QString::fromUtf8("Förderwerkzeug:"));
    ASSERT_TRUE(last);
    EXPECT_LT(last->points[0].y(), 93.5 + 11 + 69.5);
}

// A legend taller than its box reaches paper from its top, whatever the screen has scrolled
// into view: its rows closer together, every device and the four additional-cost totals
// inside the printed box; where not even that fits, the device list says which rows it shows.
TEST(Page1Figures, APrintedLegendHoldsEveryRowAndTheTotals)
{
    struct Case {
        int devices;      // carrier rigs besides one casing, cutting and conveying tool each
        int shown;        // device rows on paper
        bool scrolled;    // the screen's bar at its end before printing
    } cases[] = {{12, 15, false}, {20, 23, true}, {33, 28, true}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.devices);
        test::Boxes boxes;
        Fixture f;
        for (int i = 0; i < c.devices; ++i)
            f.section(i, 1 + i, 1, 0, 0, 0, 2, 35);
        f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENT = 'T' || I2, ZKV = 15, ZKL = 5, ZKF = 1"));
        mdiSEITE1 page(f.ctx);
        if (c.scrolled) {
            QScrollBar *bar = page.scrollBar(QStringLiteral("vscBILD14"));
            ASSERT_TRUE(bar);
            bar->setValue(bar->maximum());
        }
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        page.BILD14(1, -1, 11);
        const QRectF box = page.boxRectMm(page.pictureBox(QStringLiteral("picBILD14"))).translated(-1, 11);
        EXPECT_TRUE(test::leavingTheBox(*rec, box, 1.01).isEmpty())
            << test::leavingTheBox(*rec, box, 1.01).join(QLatin1String("; ")).toStdString();

        const QStringList texts = rec->texts();
        for (const char *t : {"Legende", "Geräte:", "Gesteine:", "Arbeitszeiten:", "BRZ: Bruttoarbeitszeiten",
                              "Zusatzkosten:", "Trägergerät: ", "Verrohrung:", "Lösewerkzeug:", "Förderwerkzeug:"})
            EXPECT_TRUE(texts.contains(QString::fromUtf8(t))) << t;
        // The four totals, the unit-cost set's factor 1.1 applied.
        const double n = c.devices;
        for (double total : {35 * n, 15 * n, 5 * n, 1 * n})
            EXPECT_TRUE(texts.contains(Format(float(total * 1.1), QStringLiteral("###,###,##0.00")) + QStringLiteral(" [E]")))
                << total;
        int keys = 0;
        for (int i = 0; i < c.devices; ++i)
            keys += texts.contains(QStringLiteral("T%1").arg(i));
        for (const char *k : {"V1", "L1", "F1"})
            keys += texts.contains(QString::fromLatin1(k));
        EXPECT_EQ(keys, c.shown);
        const bool cut = c.shown < c.devices + 3;
        EXPECT_EQ(texts.contains(QStringLiteral("(1 bis %1 von %2)").arg(c.shown).arg(c.devices + 3)), cut);
        EXPECT_TRUE(texts.contains(QStringLiteral("GR")));
    }
}

// Every boundary of the profile is labelled inside its plot, down to the depth axis' end:
// labels crowded at the bottom give way upwards, many labels share the plot's height in a
// smaller size, and a long conveying-tool key is set narrower and smaller, not left out.
TEST(Page1Figures, ProfileLabelsEveryBoundaryInsideThePlot)
{
    struct Case {
        const char *what;
        std::vector<double> depths;
    } cases[] = {
        {"28 even sections", [] { std::vector<double> z; for (int i = 1; i <= 28; ++i) z.push_back(17.0 * i / 28); return z; }()},
        {"crowded at the axis' end", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 15.5, 16, 17, 18, 18.5}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        test::Boxes boxes;
        Fixture f;
        for (size_t i = 0; i < c.depths.size(); ++i)
            f.section(int(i), c.depths[i], 1);
        f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENF = 'FOERDERSCHNECKE-900' WHERE I2 = 3"));
        mdiSEITE1 page(f.ctx);
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        page.BILD11(1, -1, 1);
        const clsGRAFIK *g = page.GRAFIK(11);
        ASSERT_TRUE(g);
        const QRectF box = page.boxRectMm(page.pictureBox(QStringLiteral("picBILD11"))).translated(-1, 1);
        const double top = box.top() + g->RO();
        const double end = std::min(box.bottom() - g->RU(), top + (g->YMAX() - g->YMIN()) / g->MY());

        std::vector<QRectF> labels;
        for (double z : c.depths) {
            const QString t = Format(float(z), QStringLiteral("##0.00"));
            const Stroke *s = textStroke(*rec, t);
            ASSERT_TRUE(s) << t.toStdString();
            const QRectF r = test::strokeBounds(*s);
            EXPECT_GE(r.top(), top - 0.01) << t.toStdString();
            EXPECT_LE(r.bottom(), end + 0.01) << t.toStdString();
            labels.push_back(r);
        }
        for (size_t i = 1; i < labels.size(); ++i)
            EXPECT_GE(labels[i].top(), labels[i - 1].bottom() - 0.01) << "label " << i << " overlaps the one above";

        const Stroke *key = textStroke(*rec, QStringLiteral("FOERDERSCHNECKE-900"));
        ASSERT_TRUE(key);
        EXPECT_LE(test::strokeBounds(*key).right(), box.right() + 1.01);
        EXPECT_TRUE(test::leavingTheBox(*rec, box, 1.01).isEmpty());
    }
}

TEST(Page1Figures, CostFiguresScaleTheirAxisAndHonourIncludedStaffCosts)
{
    {
        test::Boxes boxes;
        Fixture f;
        // 100 h at 2 x 60 staff and 225 equipment per hour: 34 500 in all, shown in tens.
        f.section(0, 20, 100, 0, 0, 0, 2);
        mdiSEITE1 page(f.ctx);
        EXPECT_EQ(page.GRAFIK(15)->ETEXTX(), QString::fromUtf8("Geräte- und Personalkosten [10 E]"));
        EXPECT_GE(page.GRAFIK(15)->XMAX(), 3450);
        // Per metre: 34 500 / 20 m = 1 725, below the limit.
        EXPECT_EQ(page.GRAFIK(16)->ETEXTX(), QString::fromUtf8("Geräte- und Personalkosten [E/m]"));
        EXPECT_GE(page.GRAFIK(16)->XMAX(), 1725);
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        page.BILD16(1, 19, 11);
        EXPECT_EQ(drawn(*rec, {"Einheitskosten", "PKO", "GKO"}), (QStringList{"Einheitskosten", "PKO", "GKO"}));
        EXPECT_DOUBLE_EQ(page.GRAFIK(16)->EXDL(), 175 + 19);
        }
    {
        // Staff inside the equipment costs: a staff breakdown cannot be shown; one note, then
        // both figures fall back to staff and equipment.
        test::Boxes boxes;
        boxes.answer(ui::vbOK);
        Fixture f(QStringLiteral("K2"), 2);
        f.section(0, 20, 10);
        mdiSEITE1 page(f.ctx);
        ASSERT_EQ(boxes.records().size(), 1u);
        EXPECT_EQ(boxes.records()[0].title, "HINWEIS!");
        EXPECT_EQ(page.K(), 0);
        EXPECT_TRUE(page.GRAFIK(16)->ETEXTX().startsWith(QString::fromUtf8("Geräte- und Personalkosten")));
        }
}

TEST(Seite1, OptionsRedrawReadsTheNewOptions)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 20, 10, 0, 0, 0, 2);
    mdiSEITE1 page(f.ctx);

    // A press on a figure with options asks for the dialog; the profile has none.
    int asked = 0;
    QObject::connect(&page, &mdiSEITE1::optionsDialogRequested, [&] { ++asked; });
    for (const char *name : {"picBILD11", "picBILD12", "picBILD13", "picBILD15", "picBILD16"}) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(page.pictureBox(QString::fromLatin1(name)), &press);
    }
    EXPECT_EQ(asked, 4);

    f.ctx.cnn->Execute(QStringLiteral("UPDATE E6 SET K = 3, ZAUF = 1"));
    f.ctx.cnnV->Execute(QStringLiteral("UPDATE VANT_V3 SET FKG = 2 WHERE KENK = 'K1'"));
    page.NEUZEICHNEN();
    EXPECT_EQ(page.K(), 3);
    EXPECT_EQ(page.ZAUF(), 1);
    EXPECT_FLOAT_EQ(page.daten().EKT[0], 200);
    EXPECT_TRUE(page.GRAFIK(15)->ETEXTX().startsWith(QString::fromUtf8("Gerätekosten")));
}

TEST(Seite1, OptionsRedrawTakesTheNewSetsFactorOnTheAdditionalCosts)
{
    test::Boxes boxes;
    Fixture f(QStringLiteral("K2"));
    f.section(0, 20, 10, 0, 0, 0, 2, 420);
    mdiSEITE1 page(f.ctx);
    EXPECT_FLOAT_EQ(page.daten().SUMZKT, 420);
    // K1 carries the factor 1.1 on the additional costs: the legend reads as a fresh load would.
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E6 SET KENK = 'K1'"));
    page.NEUZEICHNEN();
    EXPECT_FLOAT_EQ(page.daten().SUMZKT, 462);
    auto rec = std::make_shared<RecordingSurface>();
    rec->setPrinter(true);
    page.setPrintTarget(rec);
    page.BILD14(1, -1, 11);
    EXPECT_TRUE(rec->texts().contains("462,00 [E]")) << rec->texts().join('|').toStdString();
    EXPECT_FLOAT_EQ(page.daten().ZKT[0], 420);
}

TEST(Seite1, APageSmallerThanTheSheetShowsItSmallerAboveTheFooter)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5);
    QWidget host;
    host.resize(700, 450);
    mdiSEITE1 page(f.ctx, &host);
    const double natural = page.scale();
    page.resize(700, 450);
    host.show();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    // The A4 sheet fits the page: 450 pixels hold 210 mm.
    EXPECT_NEAR(page.scale(), 450 / 210.0, 1e-9);
    EXPECT_LT(page.scale(), natural);
    for (const char *name : {"picBILD11", "picBILD12", "picBILD13", "picBILD14", "picBILD15", "picBILD16"}) {
        PictureBox *box = page.pictureBox(QString::fromLatin1(name));
        // In millimetres the box is where the sheet has it, and the footer's band stays free.
        EXPECT_NEAR(box->geometry().bottom() / page.scale(), page.boxRectMm(box).bottom(), 1) << name;
        EXPECT_LT(box->geometry().bottom(), page.height() - 30 * page.scale()) << name;
        EXPECT_NEAR(box->sizeMm().width(), page.boxRectMm(box).width(), 0.5) << name;
    }
    // The figures were drawn again on the boxes' new images.
    for (int n : {11, 12, 13, 14, 15, 16})
        EXPECT_EQ(page.GRAFIK(n)->EOBJEKT(), &page.pictureBox(QStringLiteral("picBILD%1").arg(n))->surface()) << n;
    page.Form_Unload();
}

TEST(Seite1Drucken, BothPagesOfARecordLandInOnePrintCommandsDocument)
{
    test::Boxes boxes;
    Fixture f;
    f.section(0, 10, 5);
    QTemporaryDir out;
    mdiSEITE1 page(f.ctx);
    const QString file = out.filePath(QStringLiteral("beide.pdf"));
    Printer::instance().setPdfFile(file);
    {
        PrintJob job;
        page.DRUCKEN(job);
        page.followingPage()->DRUCKEN(job);
        EXPECT_EQ(job.sheets(), 2);
        job.end();
        EXPECT_EQ(job.pdfFile(), file);
    }
    EXPECT_EQ(pdfPages(file), 2);
    // Back on screen after printing.
    EXPECT_FALSE(page.GRAFIK(16)->EOBJEKT()->isPrinter());

    // A file that cannot be written is an error of the print, not a silent nothing; Cancel
    // abandons the document and the pages after it are not printed.
    const QString blocked = out.filePath(QStringLiteral("ordner.pdf"));
    ASSERT_TRUE(QDir().mkpath(blocked));
    Printer::instance().setPdfFile(blocked);
    boxes.answer(ui::vbCancel);
    PrintJob job;
    page.DRUCKEN(job);
    ASSERT_EQ(boxes.records().size(), 1u);
    EXPECT_EQ(boxes.records()[0].title, "Drucken von Seite 1");
    EXPECT_TRUE(boxes.records()[0].text.startsWith("VB-Fehler: 76\n"));
    EXPECT_TRUE(job.abandoned());
    page.followingPage()->DRUCKEN(job);
    EXPECT_EQ(job.sheets(), 0);
    job.end();
    EXPECT_TRUE(job.pdfFile().isEmpty());
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
}

// A record with many sections and devices, some with keys wider than their columns, looked at
// on screen and paper: every figure stays inside its box, keeps its axis titles, and the boxes
// stay clear of the footer.
TEST(Seite1Look, ABusyRecordStaysInsideItsBoxesOnScreenAndPaper)
{
    test::Boxes boxes;
    Fixture f(QStringLiteral("K1"), 3, 1);
    for (int i = 0; i < 30; ++i)
        f.section(i, 1.5 * (i + 1), 0.5 + 0.1 * (i % 7), 0.2, 0.1 * (i % 3), i % 11 == 0 ? 2 : 0, 2 + i % 3, 100);
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENT = CASE WHEN I2 < 15 THEN 'DBG-20' ELSE 'VRM-15' END, "
                                      "KENV = 'VR-1500', KENL = CASE I2 % 3 WHEN 0 THEN 'SCHN-FZ' WHEN 1 THEN 'SCHN-RS' "
                                      "ELSE 'KR-RM' END, KENF = CASE WHEN I2 < 20 THEN 'SCHN' ELSE 'LH-XL' END"));
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E4 SET KENG = CASE I2 % 4 WHEN 0 THEN 'KI' WHEN 1 THEN 'U' WHEN 2 THEN "
                                      "'KST' ELSE 'GR' END"));
    f.ctx.cnnV->Execute(QString::fromUtf8(
        "INSERT INTO VANT_V11 VALUES (2, 'DBG-20', 'Drehbohrgerät 200 kNm, Raupenfahrwerk', 185), "
        "(3, 'VRM-15', 'Verrohrungsmaschine 1500 kN mit Seilbagger', 210);"
        "INSERT INTO VANT_V12 VALUES (2, 'VR-1500', 'Verrohrung DN 1500, doppelwandig', 41);"
        "INSERT INTO VANT_V13 VALUES (2, 'SCHN-FZ', 'Schneckenbohrer mit Flachzähnen', 12), "
        "(3, 'SCHN-RS', 'Schneckenbohrer mit Rundschaftmeißeln', 19.5), (4, 'KR-RM', 'Kernrohr mit Rollenmeißeln', 38);"
        "INSERT INTO VANT_V14 VALUES (2, 'SCHN', 'Bohrschnecke', 4), (3, 'LH-XL', 'Lufthebeverfahren', 22);"
        "INSERT INTO VANT_V2 (IDG, KENG, KOMG) VALUES (2, 'KI', 'Kies, sandig'), (3, 'U', 'Schluff, tonig, steif'), "
        "(4, 'KST', 'Kalkstein, gebankt')"));
    test::LookFolder look;
    test::ScreenLogs screen;
    QWidget host;
    host.resize(1400, 900);
    mdiSEITE1 page(f.ctx, &host);
    page.resize(1400, 900);
    host.show();
    QCoreApplication::processEvents();

    const QList<std::pair<QString, QPointF>> figures = {
        {"picBILD11", {-1, 1}}, {"picBILD12", {9, 1}}, {"picBILD13", {19, 1}},
        {"picBILD14", {-1, 11}}, {"picBILD15", {9, 11}}, {"picBILD16", {19, 11}}};
    test::expectFiguresInsideTheirBoxes(page, figures, [&](const QString &box, int OBJ) {
        const QPointF o = std::find_if(figures.begin(), figures.end(), [&](const auto &p) { return p.first == box; })->second;
        const int n = box.mid(7).toInt();
        void (mdiSEITE1::*bild[])(int, float, float) = {&mdiSEITE1::BILD11, &mdiSEITE1::BILD12, &mdiSEITE1::BILD13,
                                                       &mdiSEITE1::BILD14, &mdiSEITE1::BILD15, &mdiSEITE1::BILD16};
        (page.*bild[n - 11])(OBJ, float(o.x()), float(o.y()));
    });

    // The whole sheet: every axis keeps its title, so no axis has fallen out of its box.
    auto sheet = std::make_shared<RecordingSurface>();
    sheet->setPrinter(true);
    {
        PrintJob job(sheet);
        page.DRUCKEN(job);
    }
    const QStringList texts = sheet->texts();
    EXPECT_EQ(texts.count("z [m]"), 5);
    for (const char *title : {"t [h]", "v [m/h]", "Personen [-]", "Legende", "Einheitskosten"})
        EXPECT_TRUE(texts.contains(QString::fromLatin1(title))) << title;

    // The whole page on screen and paper: boxes, sheet, header and footer.
    test::expectPageLooksRight(page, screen);

    // On screen the figures end above the footer's band.
    for (const auto &[box, offset] : figures)
        EXPECT_LT(page.pictureBox(box)->geometry().bottom(), page.height() - 25 * page.scale()) << box.toStdString();
    EXPECT_TRUE(host.grab().save(look.file(QStringLiteral("seite1.png"))));
    Printer::instance().setPdfFile(look.file(QStringLiteral("seiten.pdf")));
    {
        PrintJob job;
        page.DRUCKEN(job);
        page.followingPage()->DRUCKEN(job);
    }
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
    EXPECT_EQ(pdfPages(look.file(QStringLiteral("seiten.pdf"))), 2);
}

// ---- stress cases of the look check: one record that strains both record pages ------------

// A 200-character comment, 28 sections, more devices than the legend's box holds and a
// conveying-tool key wider than its column: both pages pass the look check, on screen and on
// paper, and page 1's sheet keeps every boundary depth and the additional-cost totals.
TEST(RecordPagesStressLook, LongCommentManySectionsLongLegendLongKey)
{
    test::Boxes boxes;
    Fixture f;
    for (int i = 0; i < 28; ++i)
        f.section(i, 0.75 * (i + 1), 0.5 + 0.1 * (i % 5), 0.2, 0.1, i % 9 == 0 ? 1 : 0, 2 + i % 2, 20);
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E3 SET KENT = 'RIG-' || (I2 % 14), KENF = CASE WHEN I2 % 2 = 0 THEN "
                                      "'FOERDERSCHNECKE-900' ELSE 'F1' END"));
    QString comment;
    while (comment.size() < 200)
        comment += QStringLiteral("Vortrieb unter Bahndamm, Findlinge ab 6 m erwartet; ");
    comment.truncate(200);
    f.ctx.cnn->Execute(QStringLiteral("UPDATE E1 SET KOM = '%1'").arg(comment));
    test::LookFolder look;
    test::ScreenLogs screen;
    QWidget host;
    host.resize(1400, 900);
    mdiSEITE1 page(f.ctx, &host);
    page.resize(1400, 900);
    host.show();
    QCoreApplication::processEvents();
    ASSERT_GT(page.GRAFIK(14)->YMAX(), 69.5);   // the legend is taller than its box

    test::expectPageLooksRight(page, screen);
    ASSERT_TRUE(page.followingPage());
    test::expectPageLooksRight(*page.followingPage(), screen);

    const auto sheet = test::printedSheet(page);
    const QStringList texts = sheet->texts();
    for (int i = 0; i < 28; ++i)
        EXPECT_TRUE(texts.contains(Format(float(0.75 * (i + 1)), QStringLiteral("##0.00")))) << i;
    EXPECT_TRUE(texts.contains(QStringLiteral("FOERDERSCHNECKE-900")));
    EXPECT_TRUE(texts.contains(QString::fromUtf8("Förderwerkzeug:")));
    // The four additional-cost totals: the legend's only amounts.
    static const QRegularExpression amount(QStringLiteral("^[0-9.,]+ \\[E\\]$"));
    EXPECT_EQ(std::count_if(texts.begin(), texts.end(), [](const QString &t) { return amount.match(t).hasMatch(); }), 4)
        << texts.filter(QStringLiteral("[E]")).join(QLatin1String(" | ")).toStdString();
    // The comment is in the header, cut where its room ends.
    const auto line = std::find_if(texts.begin(), texts.end(), [](const QString &t) { return t.startsWith(QLatin1String("Vortrieb unter")); });
    ASSERT_NE(line, texts.end());
    EXPECT_TRUE(line->endsWith(QChar(0x2026)));

    EXPECT_TRUE(host.grab().save(look.file(QStringLiteral("seite1-stress.png"))));
    Printer::instance().setPdfFile(look.file(QStringLiteral("seiten-stress.pdf")));
    {
        PrintJob job;
        page.DRUCKEN(job);
        page.followingPage()->DRUCKEN(job);
    }
    Printer::instance().setPdfFile(QString());
    Printer::instance().reset();
    EXPECT_EQ(pdfPages(look.file(QStringLiteral("seiten-stress.pdf"))), 2);
}
