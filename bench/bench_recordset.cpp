// Cost of the recordset against a bare sqlite3_step loop over the same 100,000-row query: a
// forward walk reads the typed columns straight from the statement and must stay within a
// small factor of what the engine itself needs; the snapshot, which copies every row into
// Variants at Open so that it can move freely, is shown beside it.
//
// The bare loop is the recordset's honest opponent: the same query (rows, columns, order), the
// same open mode as the program's connection (read-write, no mutex), one statement prepared
// once and reset for every walk as the connection keeps its statements, and every column read.
// Each side runs in a process of its own, so that neither walks on a heap or caches that the
// other left behind, three rounds in turn; a ratio is the median of its rounds'.
#include "BenchRun.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <string>

using namespace vnt;

namespace {

constexpr int kRows = 100000;
const char *const kQuery = "SELECT [ID],[I2],[KEN],[BRZ],[F] FROM [A2] ORDER BY [ID],[I2]";

QString databaseFile()
{
    static QTemporaryDir dir;
    static QString file;
    if (!file.isEmpty())
        return file;
    file = dir.filePath("BENCH.mdb");
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_exec(db,
                 "CREATE TABLE [A2] ([ID] INTEGER, [I2] SMALLINT, [KEN] TEXT COLLATE NOCASE, [BRZ] DOUBLE, [F] FLOAT);"
                 "BEGIN;",
                 nullptr, nullptr, nullptr);
    sqlite3_stmt *ins = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO [A2] VALUES (?,?,?,?,?)", -1, &ins, nullptr);
    for (int i = 0; i < kRows; ++i) {
        sqlite3_bind_int(ins, 1, i / 50);
        sqlite3_bind_int(ins, 2, i % 50);
        const std::string ken = "P" + std::to_string(i);
        sqlite3_bind_text(ins, 3, ken.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_double(ins, 4, i * 0.25);
        sqlite3_bind_double(ins, 5, i * 0.5);
        sqlite3_step(ins);
        sqlite3_reset(ins);
    }
    sqlite3_finalize(ins);
    sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return file;
}

void BM_Recordset(benchmark::State &state)
{
    const db::ConnectionPtr cnn = db::openDatabase(databaseFile());
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kQuery, cnn);
        double sum = 0;
        for (; !rs.isEOF(); rs.MoveNext())
            sum += rs.Fields(3).toDouble() + rs.Fields(1).toDouble();
        benchmark::DoNotOptimize(sum);
        if (rs.RecordCount() != kRows)
            state.SkipWithError("wrong row count");
    }
}

// A forward walk reading every column, as the bare loop does.
void BM_RecordsetForward(benchmark::State &state)
{
    const db::ConnectionPtr cnn = db::openDatabase(databaseFile());
    for (auto _ : state) {
        db::Recordset rs;
        rs.Open(kQuery, cnn, db::CursorType::ForwardOnly);
        double sum = 0;
        long rows = 0;
        for (; !rs.isEOF(); rs.MoveNext()) {
            benchmark::DoNotOptimize(rs.utf8Field(2).data());
            sum += rs.doubleField(3) + rs.doubleField(1) + rs.doubleField(4) + rs.doubleField(0);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
        if (rows != kRows)
            state.SkipWithError("wrong row count");
    }
}

void BM_Sqlite3Step(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databaseFile().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    sqlite3_stmt *st = nullptr;
    sqlite3_prepare_v2(db, kQuery, -1, &st, nullptr);
    for (auto _ : state) {
        sqlite3_reset(st);
        double sum = 0;
        long rows = 0;
        while (sqlite3_step(st) == SQLITE_ROW) {
            // Read every column as the layer does, so that both sides do the same work.
            benchmark::DoNotOptimize(sqlite3_column_text(st, 2));
            sum += sqlite3_column_double(st, 3) + sqlite3_column_int(st, 1) + sqlite3_column_double(st, 4)
                 + sqlite3_column_int(st, 0);
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
        if (rows != kRows)
            state.SkipWithError("wrong row count");
    }
    sqlite3_finalize(st);
    sqlite3_close(db);
}

BENCHMARK(BM_Recordset)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsetForward)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sqlite3Step)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto rounds = vnt::bench::runBenchmarkRounds(
        argc, argv, {"^BM_Sqlite3Step$", "^BM_RecordsetForward$", "^BM_Recordset$"}, 3);
    // Processor time: every row is in the engine's cache, so the walk waits for nothing, and on a
    // shared machine the wall clock would count the other programs' turns.
    const auto forward = vnt::bench::medianPair(rounds, "BM_RecordsetForward", "BM_Sqlite3Step", true);
    const auto snapshot = vnt::bench::medianPair(rounds, "BM_Recordset", "BM_Sqlite3Step", true);
    if (forward.ratio > 0)
        std::printf("recordset_walk: %.2f ms vs %.2f ms, ratio %.2f (aim 1.2)\n", forward.program, forward.plain,
                    forward.ratio);
    if (snapshot.ratio > 0)
        std::printf("recordset_snapshot: %.2f ms vs %.2f ms, ratio %.2f (aim none: it moves freely)\n",
                    snapshot.program, snapshot.plain, snapshot.ratio);
    return 0;
}
