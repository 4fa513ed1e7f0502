// The multiple evaluation over generated projects of 100, 1,000 and 10,000 active records of
// 30 sections: the data step (reading the sections, aggregating, writing M3 and M4) and the
// whole load of the first page, each beside a plain read of what the data step reads. At the
// end, the peak memory of one data step over 50,000 records.
//
// The plain read is the data step's honest opponent: the active records by name, then for 500
// records at a time the same columns of A2, E3 and E4 by record id in the order of record and
// section number, every value read, on a connection opened as the program's is (read-write, no
// mutex). Each side runs in a process of its own, so that neither works on a heap or caches
// the other left behind, three rounds in turn, each ratio the median of its rounds'; the peak
// memory is measured in a process that does nothing else.
#include "BenchRun.h"
#include "pages/multiple/AggregationDataStep.h"
#include "pages/multiple/MultipleRun.h"
#include "pages/multiple/mdiMSEITE1.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"
#include "platform/ui.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

extern char **environ;

using namespace vnt;

namespace {

constexpr int kSections = 30;

QString schemaText(const char *file)
{
    const auto path = std::filesystem::path(__FILE__).parent_path().parent_path() / "schema" / file;
    QFile f(QString::fromStdString(path.string()));
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

db::ConnectionPtr makeDatabase(const QString &file, const char *schema)
{
    QFile touch(file);
    touch.open(QIODevice::WriteOnly);
    touch.close();
    auto cnn = db::openDatabase(file);
    cnn->Execute(schemaText(schema));
    return cnn;
}

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// A project of `records` active records: four rocks and three rigs in turn along each record,
// times and additional costs varying by section; six combinations by rock and rig.
struct Project {
    QString project, presets;
};

const Project &project(int records)
{
    static std::map<int, Project> made;
    if (auto it = made.find(records); it != made.end())
        return it->second;
    Project p{folder().filePath(QString("VANT-%1.mdb").arg(records)), folder().filePath(QString("VORGABE-%1.mdb").arg(records))};
    auto cnn = makeDatabase(p.project, "project.sql");
    cnn->BeginTrans();
    sqlite3 *db = cnn->handle();
    auto exec = [db](const char *sql, const std::function<void(sqlite3_stmt *)> &rows) {
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
        rows(st);
        sqlite3_finalize(st);
    };
    const char *rocks[] = {"S", "KI", "U", "MG"};
    const char *rigs[] = {"T1", "T2", "T3"};
    exec("INSERT INTO E1 (ID, KEN, AKT) VALUES (?, ?, 1)", [&](sqlite3_stmt *st) {
        for (int r = 1; r <= records; ++r) {
            const QByteArray ken = QString("R%1").arg(r, 6, 10, QLatin1Char('0')).toUtf8();
            sqlite3_reset(st);
            sqlite3_bind_int(st, 1, r);
            sqlite3_bind_text(st, 2, ken.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_step(st);
        }
    });
    exec("INSERT INTO E3 (ID, I2, KENT, ZKT, ZKL) VALUES (?, ?, ?, ?, ?)", [&](sqlite3_stmt *st) {
        for (int r = 1; r <= records; ++r)
            for (int s = 0; s < kSections; ++s) {
                sqlite3_reset(st);
                sqlite3_bind_int(st, 1, r);
                sqlite3_bind_int(st, 2, s);
                sqlite3_bind_text(st, 3, rigs[(r + s) % 3], -1, SQLITE_STATIC);
                sqlite3_bind_double(st, 4, s % 7 == 0 ? 250.0 : 0.0);
                sqlite3_bind_double(st, 5, s % 11 == 0 ? 90.0 : 0.0);
                sqlite3_step(st);
            }
    });
    exec("INSERT INTO E4 (ID, I2, KENG) VALUES (?, ?, ?)", [&](sqlite3_stmt *st) {
        for (int r = 1; r <= records; ++r)
            for (int s = 0; s < kSections; ++s) {
                sqlite3_reset(st);
                sqlite3_bind_int(st, 1, r);
                sqlite3_bind_int(st, 2, s);
                sqlite3_bind_text(st, 3, rocks[(s / 8) % 4], -1, SQLITE_STATIC);
                sqlite3_step(st);
            }
    });
    exec("INSERT INTO A2 (ID, I2, DEZ, NTZ, AUZ, PPZ, STZ, BRZ, PER) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
         [&](sqlite3_stmt *st) {
             for (int r = 1; r <= records; ++r)
                 for (int s = 0; s < kSections; ++s) {
                     const double ntz = 0.5 + 0.05 * ((r * 7 + s) % 13);
                     sqlite3_reset(st);
                     sqlite3_bind_int(st, 1, r);
                     sqlite3_bind_int(st, 2, s);
                     sqlite3_bind_double(st, 3, 0.5 + 0.01 * (s % 5));
                     sqlite3_bind_double(st, 4, ntz);
                     sqlite3_bind_double(st, 5, 0.1);
                     sqlite3_bind_double(st, 6, 0.05);
                     sqlite3_bind_double(st, 7, s % 9 == 0 ? 1.0 : 0.0);
                     sqlite3_bind_double(st, 8, ntz + 0.15 + (s % 9 == 0 ? 1.0 : 0.0));
                     sqlite3_bind_int(st, 9, 3);
                     sqlite3_step(st);
                 }
         });
    cnn->Execute("INSERT INTO M1 (IDM, KOM) VALUES (1, 'Messung');"
                 "INSERT INTO M2 (IDM, I1, KENG, KENT) VALUES (1, 0, 'S', NULL), (1, 1, 'KI', NULL), (1, 2, 'U', NULL),"
                 " (1, 3, 'MG', NULL), (1, 4, NULL, 'T1'), (1, 5, 'S', 'T2');"
                 "INSERT INTO A1 (ID, BONEU) VALUES (0, 0);");
    cnn->CommitTrans();
    auto pre = makeDatabase(p.presets, "presets.sql");
    pre->Execute("INSERT INTO VANT_V11 (IDT, KENT, EKT) VALUES (1, 'T1', 120), (2, 'T2', 180), (3, 'T3', 240);"
                 "INSERT INTO VANT_V3 (IDK, KENK, EKP, KENKPG, FKG, FKP, FZK) VALUES (1, 'K0', 55, 0, 1, 1, 1.1);");
    return made[records] = p;
}

struct Context : SimpleRunContext {
    explicit Context(int records) : Context(project(records)) {}
    explicit Context(const Project &p)
    {
        cnn = db::openDatabase(p.project);
        cnnV = db::openDatabase(p.presets);
    }
};

constexpr int kMemoryRecords = 50000;
constexpr int kRounds = 3;
constexpr const char *kPeakOption = "--vnt-peak-of";

// The child's part: one data step over the given project, nothing else.
int runOnce(const char *projectFile, const char *presetFile);

// The peak resident memory of a child process that runs one data step over the largest
// project, in MB (10^6 bytes); negative when it could not be measured.
double peakMemoryOfOneRun()
{
    const Project &p = project(kMemoryRecords);
    const QByteArray a = p.project.toLocal8Bit(), b = p.presets.toLocal8Bit();
    char self[] = "/proc/self/exe";
    char option[64];
    std::strcpy(option, kPeakOption);
    char *args[] = {self, option, const_cast<char *>(a.constData()), const_cast<char *>(b.constData()), nullptr};
    pid_t child = 0;
    if (posix_spawn(&child, self, nullptr, nullptr, args, environ) != 0)
        return -1;
    int status = 0;
    rusage use{};
    if (wait4(child, &status, 0, &use) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return double(use.ru_maxrss) * 1024.0 / 1e6;   // ru_maxrss is in KiB
}

// The combination editor is closed with Abbrechen; nothing else is expected.
class Answers : public ui::ScriptedBoxes {
public:
    Answers() { onUnexpected = [](const QString &) {}; }
    int showModal(QDialog &) override { return QDialog::Rejected; }
};

void BM_Aggregation(benchmark::State &state)
{
    Context ctx(int(state.range(0)));
    Answers answers;
    for (auto _ : state) {
        MultipleRun run;
        multiple::AggregationInput in;
        std::vector<multiple::CombinationResult> results;
        if (!multiple::DATENEINGABE(ctx, run, in, results))
            state.SkipWithError("the data step failed");
        benchmark::DoNotOptimize(results);
    }
}

// The parts of the data step: reading the sections, and the arithmetic alone.
void BM_ReadSections(benchmark::State &state)
{
    Context ctx(int(state.range(0)));
    for (auto _ : state) {
        multiple::AggregationInput in;
        if (!multiple::readAggregationInput(ctx, in))
            state.SkipWithError("the reading failed");
        benchmark::DoNotOptimize(in);
    }
}

void BM_Arithmetic(benchmark::State &state)
{
    Context ctx(int(state.range(0)));
    multiple::AggregationInput in;
    multiple::readAggregationInput(ctx, in);
    for (auto _ : state)
        benchmark::DoNotOptimize(multiple::aggregate(in.combinations, in.sections, in.costs));
}

void BM_LoadPage1(benchmark::State &state)
{
    Context ctx(int(state.range(0)));
    Answers answers;
    for (auto _ : state) {
        mdiMSEITE1 page(ctx);
        benchmark::DoNotOptimize(page.daten());
    }
}

// What the data step reads, read plainly.
void BM_PlainRead(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(project(int(state.range(0))).project.toUtf8().constData(), &db,
                    SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    const char *const tables[][2] = {{"A2", "DEZ,PER,BRZ,NTZ,AUZ,PPZ,STZ"},
                                     {"E3", "KENT,KENV,KENL,KENF,ZKT,ZKV,ZKL,ZKF"},
                                     {"E4", "KENG"}};
    for (auto _ : state) {
        std::vector<int> ids;
        sqlite3_stmt *st = nullptr;
        sqlite3_prepare_v2(db, "SELECT ID FROM E1 WHERE AKT ORDER BY KEN", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW)
            ids.push_back(sqlite3_column_int(st, 0));
        sqlite3_finalize(st);
        double sum = 0;
        for (size_t first = 0; first < ids.size(); first += 500) {
            std::string list;
            for (size_t i = first; i < std::min(ids.size(), first + 500); ++i)
                list += (list.empty() ? "" : ",") + std::to_string(ids[i]);
            for (const auto &t : tables) {
                const std::string sql = std::string("SELECT ID,I2,") + t[1] + " FROM " + t[0] + " WHERE ID IN (" + list
                                      + ") ORDER BY ID,I2";
                sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
                const int columns = sqlite3_column_count(st);
                while (sqlite3_step(st) == SQLITE_ROW)
                    for (int i = 0; i < columns; ++i)
                        if (sqlite3_column_type(st, i) == SQLITE_TEXT)
                            benchmark::DoNotOptimize(sqlite3_column_text(st, i));
                        else
                            sum += sqlite3_column_double(st, i);
                sqlite3_finalize(st);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    sqlite3_close(db);
}

BENCHMARK(BM_PlainRead)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Aggregation)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadPage1)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadSections)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Arithmetic)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

int runOnce(const char *projectFile, const char *presetFile)
{
    Context ctx(Project{QString::fromLocal8Bit(projectFile), QString::fromLocal8Bit(presetFile)});
    Answers answers;
    MultipleRun run;
    multiple::AggregationInput in;
    std::vector<multiple::CombinationResult> results;
    return multiple::DATENEINGABE(ctx, run, in, results) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], kPeakOption) == 0)
        return runOnce(argv[2], argv[3]);
    const auto rounds = vnt::bench::runBenchmarkRounds(
        argc, argv, {"^BM_PlainRead/", "^BM_Aggregation/", "^BM_LoadPage1/", "^BM_ReadSections/", "^BM_Arithmetic/"},
        kRounds);
    for (const char *n : {"100", "1000", "10000"}) {
        const std::string arg = std::string("/") + n;
        const auto aggregation = vnt::bench::medianPair(rounds, "BM_Aggregation" + arg, "BM_PlainRead" + arg);
        if (aggregation.ratio > 0)
            std::printf("aggregation_%s: %.2f ms vs %.2f ms, ratio %.2f (aim 1.5)\n", n, aggregation.program,
                        aggregation.plain, aggregation.ratio);
        // On a shared machine the wall clock counts the other programs' turns too.
        const auto cpu = vnt::bench::medianPair(rounds, "BM_Aggregation" + arg, "BM_PlainRead" + arg, true);
        if (cpu.ratio > 0)
            std::printf("aggregation_cpu_%s: %.2f ms vs %.2f ms, ratio %.2f (aim none: the wall clock's aim counts)\n",
                        n, cpu.program, cpu.plain, cpu.ratio);
        const auto load = vnt::bench::medianPair(rounds, "BM_LoadPage1" + arg, "BM_PlainRead" + arg);
        if (load.ratio > 0)
            std::printf("page1_load_%s: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n", n, load.program, load.plain,
                        load.ratio);
    }
    const double peak = peakMemoryOfOneRun();
    if (peak > 0)
        std::printf("peak memory of one data step over %d records: %.1f MB (aim under 130)\n", kMemoryRecords, peak);
    else
        std::printf("peak memory of one data step over %d records: not measured\n", kMemoryRecords);
    return 0;
}
