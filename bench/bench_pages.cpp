// Result page 1 of the largest demo record: its whole load (the record read, header and six
// figures drawn on screen, page 2 with its tables loaded hidden) and its print to a PDF file,
// and beside them what makes them up, each measured on its own: the evaluation, the reading of
// the page data, the six figures drawn on screen and on the recording surface (the layout
// alone, without painting pixels), and page 2 alone. The parts run under other conditions than
// inside the load (the figures of a loaded page draw over frames that exist already), so they
// are not offered as a breakdown of the load, and nothing is subtracted from it.
#include "../app/demo/DemoInstall.h"
#include "BenchRun.h"
#include "data/clsDATEN.h"
#include "drawing/Surface.h"
#include "input/clsBERECHNEN.h"
#include "pages/common/PrintJob.h"
#include "pages/record/Page1Data.h"
#include "pages/record/mdiSEITE1.h"
#include "pages/record/mdiSEITE2.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"
#include "platform/printer.h"
#include "platform/system.h"
#include "platform/ui.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>

using namespace vnt;

namespace {

// SB-301, the demo record with the most sections (27) and devices.
constexpr int kRecord = 5;

struct Demo {
    QTemporaryDir dir;
    SimpleRunContext ctx;

    Demo()
    {
        // The installation writes its registry value; it goes to the bench's own folder.
        qputenv("VANTREL_SETTINGS", dir.filePath(QStringLiteral("settings.ini")).toLocal8Bit());
        demo::InstallOptions o;
        o.root = dir.filePath(QStringLiteral("demo"));
        o.schemaDir = QStringLiteral(VANTREL_SCHEMA_SOURCE);
        demo::install(o);
        ctx.cnn = db::openDatabase(o.root + QStringLiteral("/PROJEKTE/Demo/VANT.mdb"));
        ctx.cnnV = db::openDatabase(o.root + QStringLiteral("/DATEN/VORGABE.mdb"));
        ctx.projekt = QStringLiteral("Demo");
        ctx.bearbeiter = QStringLiteral("Bench");
        ctx.cnn->Execute(QStringLiteral("UPDATE E1 SET AKT = (ID = %1)").arg(kRecord));
        if (!clsBERECHNEN(ctx).BERECHNUNG())
            std::fprintf(stderr, "the demo record could not be evaluated\n");
        markForRecalculation();
    }
    // As right after Neuberechnen: the page writes its default figure frames.
    void markForRecalculation()
    {
        ctx.cnn->Execute(QStringLiteral("DELETE FROM A1 WHERE ID = %1").arg(kRecord));
        ctx.cnn->Execute(QStringLiteral("INSERT INTO A1 (ID, BONEU) VALUES (%1, 1)").arg(kRecord));
    }
    QString pdf() const { return dir.filePath(QStringLiteral("seite1.pdf")); }
};

Demo &demoData()
{
    static Demo d;
    return d;
}

// A loaded page 1 (with page 2) that the drawing benchmarks draw again.
mdiSEITE1 &loadedPage()
{
    static std::unique_ptr<mdiSEITE1> page = [] {
        demoData().markForRecalculation();
        return std::make_unique<mdiSEITE1>(demoData().ctx);
    }();
    return *page;
}

// The six figures in one drawing pass, their frame writes in one transaction as the page does.
void drawFigures(mdiSEITE1 &page, int OBJ)
{
    db::TransactionScope writes(demoData().ctx.cnn);
    page.BILD11(OBJ, -1, 1);
    page.BILD12(OBJ, 9, 1);
    page.BILD13(OBJ, 19, 1);
    page.BILD14(OBJ, -1, 11);
    page.BILD15(OBJ, 9, 11);
    page.BILD16(OBJ, 19, 11);
    writes.commit();
}

void BM_Evaluation(benchmark::State &state)
{
    for (auto _ : state)
        if (!clsBERECHNEN(demoData().ctx).BERECHNUNG())
            state.SkipWithError("the evaluation failed");
}
BENCHMARK(BM_Evaluation)->Unit(benchmark::kMillisecond);

void BM_Page1Load(benchmark::State &state)
{
    for (auto _ : state) {
        state.PauseTiming();
        demoData().markForRecalculation();
        state.ResumeTiming();
        mdiSEITE1 page(demoData().ctx);
        benchmark::DoNotOptimize(page.followingPage());
    }
}
BENCHMARK(BM_Page1Load)->Unit(benchmark::kMillisecond);

void BM_Page1ReadData(benchmark::State &state)
{
    const char *tables[12] = {"E1", "E2", "E3", "E4", "E6", "A2", "VANT_V11", "VANT_V12", "VANT_V13", "VANT_V14",
                              "VANT_V2", "VANT_V3"};
    for (auto _ : state) {
        std::array<std::unique_ptr<clsDATEN>, 12> acc;
        for (int i = 0; i < 12; ++i) {
            acc[size_t(i)] = std::make_unique<clsDATEN>(demoData().ctx);
            acc[size_t(i)]->setETABELLE(QString::fromLatin1(tables[i]));
            if (i >= 6) {
                acc[size_t(i)]->setESPID(QString());
                acc[size_t(i)]->setEBOV(true);
            }
        }
        Page1Data D;
        DATENEINGABE(D, {acc[0].get(), acc[1].get(), acc[2].get(), acc[3].get(), acc[4].get(), acc[5].get(),
                         acc[6].get(), acc[7].get(), acc[8].get(), acc[9].get(), acc[10].get(), acc[11].get()},
                     [](int) {});
        benchmark::DoNotOptimize(D.IMAX);
    }
}
BENCHMARK(BM_Page1ReadData)->Unit(benchmark::kMillisecond);

void BM_Page1FiguresOnScreen(benchmark::State &state)
{
    mdiSEITE1 &page = loadedPage();
    for (auto _ : state)
        drawFigures(page, 0);
}
BENCHMARK(BM_Page1FiguresOnScreen)->Unit(benchmark::kMillisecond);

void BM_Page1FiguresOnRecording(benchmark::State &state)
{
    mdiSEITE1 &page = loadedPage();
    for (auto _ : state) {
        auto rec = std::make_shared<RecordingSurface>();
        rec->setPrinter(true);
        page.setPrintTarget(rec);
        drawFigures(page, 1);
        benchmark::DoNotOptimize(rec->strokes().size());
    }
    page.setPrintTarget(nullptr);
}
BENCHMARK(BM_Page1FiguresOnRecording)->Unit(benchmark::kMillisecond);

void BM_Page1PrintToPdf(benchmark::State &state)
{
    mdiSEITE1 &page = loadedPage();
    Printer::instance().setPdfFile(demoData().pdf());
    for (auto _ : state) {
        PrintJob job;
        page.DRUCKEN(job);
        job.end();
    }
    Printer::instance().setPdfFile(QString());
}
BENCHMARK(BM_Page1PrintToPdf)->Unit(benchmark::kMillisecond);

void BM_Page2Load(benchmark::State &state)
{
    for (auto _ : state) {
        mdiSEITE2 page(demoData().ctx);
        benchmark::DoNotOptimize(&page);
    }
}
BENCHMARK(BM_Page2Load)->Unit(benchmark::kMillisecond);

// Boxes nobody answers: a box in a benchmark is a failure of the run.
class NoBoxes : public ui::ScriptedBoxes {
public:
    NoBoxes()
    {
        onUnexpected = [](const QString &what) { std::fprintf(stderr, "unexpected box: %s\n", qPrintable(what)); };
    }
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    sys::setInstantSleep(true);
    NoBoxes boxes;
    const auto r = bench::runBenchmarks(argc, argv);
    std::printf("Result page 1 of SB-301 (27 sections):\n"
                "  load %.1f ms; print to PDF %.1f ms\n"
                "  each alone: reading the data %.1f ms, figures on screen %.1f ms (on the recording surface %.1f ms),"
                " page 2 %.1f ms, the evaluation %.1f ms\n",
                r["BM_Page1Load"].real, r["BM_Page1PrintToPdf"].real, r["BM_Page1ReadData"].real,
                r["BM_Page1FiguresOnScreen"].real, r["BM_Page1FiguresOnRecording"].real, r["BM_Page2Load"].real,
                r["BM_Evaluation"].real);
    return 0;
}
