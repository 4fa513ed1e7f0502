// The first multiple-evaluation page: its data, its figures on the recording surface, the
// gross/net choice, and the faults of its load that were mended.
#include "MSeite1Fixture.h"
#include "common/PageLook.h"

#include "common/LegendCheck.h"
#include "common/SyncCounter.h"

#include "drawing/clsKOPFFUSS.h"
#include "drawing/clsTABELLE.h"
#include "pages/multiple/frmKONTEXTM1.h"
#include "pages/multiple/frmMVORGABEN.h"
#include "platform/errors.h"

#include "platform/printer.h"

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

using namespace vnt;
using namespace vnt::test;

namespace {

QString keyCell(const CellArray &a, int col, int row)
{
    const Variant &v = a.at(col, row);
    return v.isEmpty() ? QStringLiteral("<empty>") : v.text();
}

} // namespace

TEST_F(MSeite1Test, LoadShowsTheStoredSumsOfEveryCombination)
{
    auto page = load();
    const multiple::PageSums &D = page->daten();
    ASSERT_EQ(D.NKOMB(), 2);
    EXPECT_EQ(D.found(), std::vector<bool>({true, true, false}));
    EXPECT_EQ(D.depths(), std::vector<double>({40, 60, 60}));
    EXPECT_FLOAT_EQ(D.sums[0].SBRZ, 15);
    EXPECT_FLOAT_EQ(D.sums[0].SNTPH, 26);
    EXPECT_FLOAT_EQ(D.sums[1].SBRKT, 800);
    EXPECT_FLOAT_EQ(D.sums[1].SBRKP, 1200);
    EXPECT_EQ(rows("SELECT I1, BOKOMB+0, SDEZ, SBRZ FROM M3 ORDER BY I1"), "0;1;40;15|1;1;60;20|2;0;60;0");

    EXPECT_EQ(keyCell(D.KOMBTAB, 0, 2), "2");
    EXPECT_EQ(keyCell(D.KOMBTAB, 1, 1), "KI");
    EXPECT_EQ(keyCell(D.KOMBTAB, 2, 1), "<empty>");   // a Null key matches any value
    EXPECT_EQ(page->DSKEN(), QStringList({"A", "B"}));
    EXPECT_EQ(page->KOM(), "Los 3");
    EXPECT_FALSE(page->BONEU);
    // The recalculation mark made the figures write their default frames.
    EXPECT_EQ(rows("SELECT IDOBJEKT, RL, RR, RO, RU FROM G0 WHERE ID=0 AND IDOBJEKT IN (110, 120, 160) ORDER BY IDOBJEKT"),
              "110;10;11;7;11|120;10;5;7;11|160;0;0;0;0");
    EXPECT_EQ(ctx.progressValue, 68);
}

namespace {

// A line stroke between the two points (in either direction), within 0.01 mm.
bool hasLine(const RecordingSurface &s, QPointF a, QPointF b, const QColor *colour = nullptr)
{
    const auto near = [](QPointF p, QPointF q) { return std::abs(p.x() - q.x()) < 0.01 && std::abs(p.y() - q.y()) < 0.01; };
    for (const Stroke &k : s.strokes(Primitive::Line)) {
        if (colour && k.color != *colour)
            continue;
        if ((near(k.points[0], a) && near(k.points[1], b)) || (near(k.points[0], b) && near(k.points[1], a)))
            return true;
    }
    return false;
}

QPointF at(clsGRAFIK &g, double x, double y)
{
    double xp = 0, yp = 0;
    g.KOORDTRANS(x, y, xp, yp);
    return {xp, yp};
}

// Every bar: a vertical stroke at its value across its combination's stretch of depth.
void expectBars(const RecordingSurface &s, clsGRAFIK &g, const std::vector<double> &values,
                const std::vector<double> &depths, const QColor *colour = nullptr)
{
    double top = 0;
    for (size_t c = 0; c < values.size(); ++c) {
        EXPECT_TRUE(hasLine(s, at(g, values[c], top), at(g, values[c], depths[c]), colour))
            << "figure " << g.EIDOBJEKT() << ", combination " << c << ": " << values[c];
        top = depths[c];
    }
}

QStringList drawnAmong(const RecordingSurface &s, const QStringList &wanted)
{
    QStringList out;
    for (const QString &t : s.texts())
        if (wanted.contains(t))
            out << t;
    return out;
}

void drawAll(mdiMSEITE1 &page)
{
    page.BILD110(1, 0, 0);
    page.BILD120(1, 0, 0);
    page.BILD130(1, 0, 0);
    page.BILD140(1, 0, 0);
    page.BILD150(1, 0, 0);
    page.BILD160(1, 0, 0);
}

} // namespace

TEST_F(MSeite1Test, FiguresDrawTheChosenValuesAsBarsOverTheSharedDepthAxis)
{
    struct Case {
        int VZ;
        std::vector<double> hours, rates, personHours, costs, unitCosts;
        const char *note;
    } cases[] = {
        {0, {15, 20}, {40.0 / 15, 1}, {40, 40}, {1200, 2000}, {30, 100}, "Zeiten und Kosten sind Bruttowerte"},
        {1, {10, 10}, {4, 2}, {26, 20}, {800, 1000}, {20, 50}, "Zeiten und Kosten sind Nettowerte"},
    };
    const std::vector<double> depths{40, 60};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.VZ);
        cnn->Execute(QStringLiteral("UPDATE M1 SET VZ=%1").arg(c.VZ));
        auto page = load();
        auto sheet = std::make_shared<RecordingSurface>();
        page->setPrintTarget(sheet);
        drawAll(*page);

        clsGRAFIK &g110 = *page->GRAFIK(110);
        expectBars(*sheet, g110, c.hours, depths);
        expectBars(*sheet, *page->GRAFIK(120), c.rates, depths);
        expectBars(*sheet, *page->GRAFIK(130), c.personHours, depths);
        const QColor total = paletteColor(4);
        expectBars(*sheet, *page->GRAFIK(140), c.costs, depths, &total);
        expectBars(*sheet, *page->GRAFIK(150), c.unitCosts, depths, &total);
        // The later figures stand on figure 110's depth axis.
        for (int f : {115, 120, 130, 140, 150}) {
            EXPECT_FLOAT_EQ(page->GRAFIK(f)->MY(), g110.MY()) << f;
            EXPECT_FLOAT_EQ(page->GRAFIK(f)->YMAX(), g110.YMAX()) << f;
        }
        EXPECT_EQ(g110.ETEXTY(), "z [m]");
        EXPECT_EQ(page->GRAFIK(140)->ETEXTX(), "Kosten [E]");
        EXPECT_EQ(page->GRAFIK(150)->ETEXTX(), "Einheitskosten [E/m]");
        EXPECT_EQ(page->GRAFIK(150)->ELXDIFF(), page->GRAFIK(140)->ELXDIFF());
        // the separator at the end of every combination, also the one without sections
        EXPECT_TRUE(hasLine(*sheet, at(g110, 0, 60), at(g110, g110.XMAX(), 60)));

        const QStringList texts = sheet->texts();
        for (const char *t : {"Bohrzeit", "Vortriebsgeschwindigkeit", "Personenstunden", "Kosten", "Einheitskosten",
                              "Kombinationen", "S", "KI", "GR", "*"})
            EXPECT_TRUE(texts.contains(t)) << t;
        EXPECT_EQ(drawnAmong(*sheet, {"T", "V", "L", "F", "P"}), QStringList({"T", "V", "L", "F", "P", "T", "V", "L", "F", "P"}))
            << "the legends of the cost figures";
        EXPECT_TRUE(texts.contains(c.note));
        EXPECT_TRUE(texts.contains(QString::fromUtf8("* Für diese Kombination kein Abschnitt vorhanden")));

        // The strip, drawn last by figure 110, labels the combinations that have sections.
        sheet->reset();
        page->BILD110(1, 0, 0);
        EXPECT_EQ(sheet->texts().mid(sheet->texts().size() - 2), QStringList({"0", "1"}));
    }
}

// Many combinations put their band lines through the legends of the cost figures.
TEST_F(MSeite1Test, TheCostLegendsReadOverTheBandLines)
{
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 40)"
                 " INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, CASE i % 2 WHEN 0 THEN 'S' ELSE 'KI' END FROM n;");
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    page->BILD110(1, 0, 0);
    for (int figure : {140, 150}) {
        SCOPED_TRACE(figure);
        sheet->reset();
        figure == 140 ? page->BILD140(1, 0, 0) : page->BILD150(1, 0, 0);
        EXPECT_TRUE(legendReadsOverLines(*sheet, {"T", "V", "L", "F", "P"}));
    }
}

// Casing and conveying tool are blue and dark blue, cutting tool and staff red and dark red:
// the lighter shade of each pair is dashed, the rest solid, every series in its own colour.
TEST_F(MSeite1Test, CostSeriesInShadesOfOneColourAreToldApartByTheirLine)
{
    const struct {
        const char *label;
        int colour, style;
    } rows[] = {{"T", 2, 0}, {"V", 9, 1}, {"L", 12, 1}, {"F", 1, 0}, {"P", 4, 0}};
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    page->BILD110(1, 0, 0);
    for (int figure : {140, 150}) {
        sheet->reset();
        figure == 140 ? page->BILD140(1, 0, 0) : page->BILD150(1, 0, 0);
        for (const auto &r : rows)
            EXPECT_TRUE(seriesDrawnAs(*sheet, r.label, paletteColor(r.colour), r.style)) << figure << " " << r.label;
    }
}

TEST_F(MSeite1Test, TheCombinationTableDrawsALongKeyAtFullLength)
{
    cnn->Execute(QStringLiteral("UPDATE M2 SET KENG = 'SANDSTEIN-FEST' WHERE I1 = 2"));
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    page->BILD160(1, 0, 0);
    const auto drawn = sheet->strokes(Primitive::Text);
    const auto key = std::find_if(drawn.begin(), drawn.end(), [](const Stroke &k) { return k.text == "SANDSTEIN-FEST"; });
    ASSERT_NE(key, drawn.end());
    EXPECT_DOUBLE_EQ(key->font.stretch, 1);
    EXPECT_GT(measureTextMm(key->font, key->text).width(), 13);
}

TEST_F(MSeite1Test, TheGrossNetNoteStaysWhenTheTableIsScrolled)
{
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 30)"
                 " INSERT INTO M2 (IDM, I1, KENG) SELECT 1, i, 'S' FROM n;");
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    auto *bar = page->findChild<QScrollBar *>("vscBILD160");
    ASSERT_NE(bar, nullptr);
    bar->setValue(bar->maximum());   // redraws the figure on screen
    page->BILD160(1, 0, 0);
    EXPECT_TRUE(sheet->texts().contains("Zeiten und Kosten sind Bruttowerte"));
    EXPECT_TRUE(sheet->texts().contains("30")) << "the table shows its last rows";
}

TEST_F(MSeite1Test, LongDepthsAreScaledOnceAndRatesStayInMetresPerHour)
{
    cnn->Execute(QStringLiteral("UPDATE A2 SET DEZ = DEZ * 100"));   // 4000 m and 6000 m
    auto page = load();
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    page->BILD110(1, 0, 0);
    page->BILD110(1, 0, 0);
    EXPECT_EQ(page->depthAxis().EXP, 2);
    EXPECT_EQ(page->depthAxis().SDEZ, std::vector<double>({40, 60, 60}));
    EXPECT_EQ(page->GRAFIK(110)->ETEXTY(), "z [10 {h,2}2 m]");
    sheet->reset();
    page->BILD120(1, 0, 0);
    expectBars(*sheet, *page->GRAFIK(120), {4000.0 / 15, 2000.0 / 20}, {40, 60});
}

TEST_F(MSeite1Test, CombinationsWithoutHoursOrLengthHaveNoBarAndNoBox)
{
    // Combination 2 finds a section that has neither length nor hours.
    cnn->Execute(QStringLiteral("INSERT INTO E4 (ID, I2, KENG) VALUES (2, 1, 'GR');"
                                "INSERT INTO A2 (ID, I2, DEZ, BRZ, NTZ, PER) VALUES (2, 1, 0, 0, 0, 1);"));
    auto page = load();   // an unexpected box fails the test
    ASSERT_TRUE(page->daten().found()[2]);
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    drawAll(*page);
    expectBars(*sheet, *page->GRAFIK(120), {40.0 / 15, 1, 0}, {40, 60, 60});
    const QColor total = paletteColor(4);
    expectBars(*sheet, *page->GRAFIK(150), {30, 100, 0}, {40, 60, 60}, &total);
}

TEST_F(MSeite1Test, AFailedDataStepShowsThisRunsSumsOrNoneButNeverTheTablesOldRows)
{
    // The previous run stored other sums; this run's data step fails and the tables keep them.
    cnn->Execute(QStringLiteral("INSERT INTO M3 (IDM, I1, BOKOMB, SDEZ, SBRZ) VALUES (1, 0, 1, 7, 99), (1, 1, 0, 7, 0);"));
    struct Case {
        const char *name, *sql;
        std::vector<bool> found;   // empty: no sums at all
        std::vector<double> depths;
    } cases[] = {
        // the sums were computed: the page shows them from memory
        {"write", "CREATE TRIGGER nowrite BEFORE UPDATE ON M4 BEGIN SELECT RAISE(ABORT, 'locked'); END;"
                  "CREATE TRIGGER noinsert BEFORE INSERT ON M4 BEGIN SELECT RAISE(ABORT, 'locked'); END;",
         {true, true, false}, {40, 60, 60}},
        // the sections could not be read: nothing of this run to show
        {"read", "ALTER TABLE E4 RENAME TO E4X;", {}, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        cnn->Execute(QString::fromLatin1(c.sql));
        auto page = load([&] { boxes.answer(ui::vbOK); });   // the data-error message
        const multiple::PageSums &D = page->daten();
        EXPECT_EQ(D.found(), c.found);
        EXPECT_EQ(D.depths(), c.depths);
        EXPECT_EQ(D.KOMBTAB.rows(), int(c.found.size()));
        if (!c.found.empty()) {
            EXPECT_FLOAT_EQ(D.sums[0].SBRZ, 15);
            EXPECT_EQ(keyCell(D.KOMBTAB, 1, 1), "KI");
        }
        EXPECT_EQ(rows("SELECT I1, SBRZ FROM M3 ORDER BY I1"), "0;99|1;0");
        // The pages after it show the same, not the tables' rows.
        const multiple::PageSums *kept = page->run().unstoredSums();
        ASSERT_TRUE(kept);
        EXPECT_EQ(kept->found(), c.found);

        auto sheet = std::make_shared<RecordingSurface>();
        page->setPrintTarget(sheet);
        drawAll(*page);   // no further box
        EXPECT_EQ(sheet->texts().contains("*"), !c.found.empty()) << "the mark of combination 2";
        cnn->Execute(QStringLiteral("DROP TRIGGER IF EXISTS nowrite; DROP TRIGGER IF EXISTS noinsert;"));
    }
}

TEST_F(MSeite1Test, WithoutReadableCombinationsTheRunSaysSoOnceAndShowsEmptyFigures)
{
    cnn->Execute(QStringLiteral("DROP TABLE M2"));
    boxes.answer(ui::vbOK);   // the editor cannot load the combinations: the run's one message
    boxes.modal([](QDialog &d) {
        auto &editor = dynamic_cast<frmMVORGABEN &>(d);
        EXPECT_FALSE(editor.msgFLX()->Enabled());
        editor.cmdOK()->click();   // closes without storing
        return d.result();
    });
    auto page = std::make_unique<mdiMSEITE1>(ctx);
    EXPECT_EQ(std::count_if(boxes.records().begin(), boxes.records().end(),
                            [](const ui::BoxRecord &r) { return r.kind == "msgbox"; }),
              1);
    EXPECT_EQ(page->daten().NKOMB(), -1);
    ASSERT_TRUE(page->run().unstoredSums()) << "the pages after it show the same and ask no more";
    EXPECT_EQ(page->run().unstoredSums()->NKOMB(), -1);
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    drawAll(*page);   // no further box
    EXPECT_TRUE(sheet->texts().contains("Kombinationen"));
}

// A load is one unit of work on the disk: the stored sums and the figures' frame rows are
// committed once each. Loading unchanged data again commits nothing, also when the figures
// clear their frames and work them out afresh to the same values.
TEST_F(MSeite1Test, ALoadCommitsAtMostTwiceAndNothingWhenNothingChanged)
{
    installSyncCounter();
    ctx.cnn = cnn = db::openDatabase(dir.filePath(QStringLiteral("VANT.mdb")));
    {
        SyncMeter first;
        auto page = load();
        EXPECT_LE(first.counted().database, 2);
        EXPECT_GE(first.counted().database, 1);
    }
    {
        SyncMeter again;
        auto page = load();
        EXPECT_EQ(again.counted().all, 0);
    }
    cnn->Execute(QStringLiteral("UPDATE A1 SET BONEU = 0"));
    SyncMeter unmarked;
    auto page = load();
    EXPECT_EQ(unmarked.counted().all, 0);
    EXPECT_EQ(rows("SELECT I1, BOKOMB+0, SDEZ, SBRZ FROM M3 ORDER BY I1"), "0;1;40;15|1;1;60;20|2;0;60;0");
}

TEST_F(MSeite1Test, DrawingsAfterTheLoadKeepTheStoredFramesButFollowTheData)
{
    auto page = load();
    cnn->Execute(QStringLiteral("UPDATE G0 SET RL = 20 WHERE ID = 0 AND IDOBJEKT IN (120, 160)"));
    page->BILD120(0, 0, 0);
    page->BILD160(0, 0, 0);
    EXPECT_EQ(rows("SELECT IDOBJEKT, RL, MX > 0 FROM G0 WHERE ID=0 AND IDOBJEKT IN (120, 160) ORDER BY IDOBJEKT"),
              "120;20;1|160;20;1");
    EXPECT_FLOAT_EQ(page->GRAFIK(120)->RL(), 20);
}

namespace {

// Stands in for the pages after page 1: what they hear of the run.
class FollowingPage : public MultiplePage {
public:
    FollowingPage(RunContext &ctx, std::shared_ptr<MultipleRun> run, QWidget *parent, bool findsNoSection)
        : MultiplePage(ctx, std::move(run), parent)
    {
        setObjectName("mdiMSEITE2");
        if (findsNoSection)
            this->run().noSectionFound();
    }
    QList<int16_t> choices;
    void grossNetChanged(int16_t VZ) override { choices << VZ; }

protected:
    QList<Figure> figures() override { return {}; }
    QString printErrorTitle() const override { return {}; }
};

struct FollowingScope {
    QPointer<FollowingPage> made;
    mdiMSEITE1::FollowingPages previous;
    explicit FollowingScope(bool findsNoSection)
    {
        previous = mdiMSEITE1::setFollowingPages([this, findsNoSection](RunContext &ctx, std::shared_ptr<MultipleRun> run,
                                                                         QWidget *parent) -> MultiplePage * {
            return made = new FollowingPage(ctx, std::move(run), parent, findsNoSection);
        });
    }
    ~FollowingScope() { mdiMSEITE1::setFollowingPages(previous); }
};

void press(QWidget *box)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::RightButton, Qt::RightButton, Qt::NoModifier);
    QCoreApplication::sendEvent(box, &e);
}

} // namespace

TEST_F(MSeite1Test, TheChainHearsOfTheRunOnceAndOfEveryGrossNetChoice)
{
    cnn->Execute(QStringLiteral("UPDATE M2 SET KENG='XX'"));   // no section anywhere
    FollowingScope following(true);
    auto page = load([&] { boxes.answer(ui::vbOK); });   // "no section": once, although page 2 finds it too
    ASSERT_TRUE(following.made);
    EXPECT_EQ(page->followingPage(), following.made.data());
    EXPECT_EQ(boxes.records().back().text.left(8), "Achtung!");

    // A press on a figure: the dialog starts from the stored choice; net values, OK.
    boxes.modal([](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXTM1 &>(d);
        EXPECT_TRUE(dlg.optVZ[0]->isChecked());
        dlg.optVZ[1]->click();
        dlg.cmdOK->click();
        return d.result();
    });
    auto sheet = std::make_shared<RecordingSurface>();
    page->setPrintTarget(sheet);
    press(page->pictureBox("picBILD120"));
    EXPECT_EQ(rows("SELECT VZ FROM M1"), "1");
    EXPECT_EQ(page->VZ(), 1);
    EXPECT_EQ(following.made->choices, QList<int16_t>({1}));

    // Abbrechen stores nothing; the pages are redrawn with the stored choice all the same.
    boxes.modal([](QDialog &d) {
        auto &dlg = static_cast<frmKONTEXTM1 &>(d);
        dlg.optVZ[0]->click();
        dlg.cmdABBRECHEN->click();
        return d.result();
    });
    press(page->pictureBox("picBILD150"));
    EXPECT_EQ(page->VZ(), 1);
    EXPECT_EQ(following.made->choices, QList<int16_t>({1, 1}));
    press(page->pictureBox("picBILD160"));   // the table opens nothing
}

TEST_F(MSeite1Test, TheQuitKeyInTheEditorGivesTheLoadUpBeforeTheQuit)
{
    boxes.modal([&](QDialog &d) {
        auto &editor = static_cast<frmMVORGABEN &>(d);
        QKeyEvent k(QEvent::KeyPress, Qt::Key_Q, Qt::AltModifier);
        ctx.quitAnswer = false;   // Abbrechen in the quit's question: the editor stays
        QCoreApplication::sendEvent(editor.msgFLX(), &k);
        EXPECT_FALSE(editor.quitRequested());
        EXPECT_EQ(ctx.quits, 0);
        ctx.quitAnswer = true;
        QCoreApplication::sendEvent(editor.msgFLX(), &k);
        return d.result();
    });
    try {
        mdiMSEITE1 page(ctx);
        ADD_FAILURE() << "the load went on";
    } catch (const VbError &e) {
        EXPECT_EQ(e.number, err::DialogCancelled);
    }
    EXPECT_EQ(ctx.quits, 1);
    EXPECT_EQ(ctx.quitQuestions, 2);
    EXPECT_EQ(rows("SELECT COUNT(*) FROM M3"), "0") << "nothing was aggregated";
}

// The page as the user sees it, with more combinations than the table's box shows and close
// ones that push the strip's labels: every figure inside its box on screen and paper.
TEST_F(MSeite1Test, Look)
{
    // More combinations than the table's box shows (numbers of three digits at its end), close
    // ones that push the strip's labels, and keys wider than their column.
    cnn->Execute("WITH RECURSIVE n(i) AS (SELECT 3 UNION ALL SELECT i + 1 FROM n WHERE i < 120)"
                 " INSERT INTO M2 (IDM, I1, KENG, KENT) SELECT 1, i, CASE i % 2 WHEN 0 THEN 'S' ELSE 'KI' END,"
                 " CASE i % 3 WHEN 0 THEN 'T1' ELSE NULL END FROM n;"
                 "UPDATE M2 SET KENG = 'SANDSTEIN-FEST' WHERE I1 IN (2, 119);"
                 "UPDATE M2 SET KENT = 'T-GROSSGERAET' WHERE I1 IN (3, 120);");
    ScreenLogs screen;
    auto page = load();
    lookAtPage(*page, screen, "mseite1");
    // The table's last rows.
    auto *bar = page->findChild<QScrollBar *>("vscBILD160");
    ASSERT_NE(bar, nullptr);
    bar->setValue(bar->maximum());
    QCoreApplication::processEvents();
    expectPageLooksRight(*page, screen);
    EXPECT_TRUE(keepShot(shotOf(*page), "mseite1-end"));
}

