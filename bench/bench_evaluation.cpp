// Evaluating a 50-section record through the column accessor (one query per value read, one
// selection per value written, as the evaluation does), beside the same reads and writes as
// plain prepared SQL statements. Argument 0 evaluates an unchanged record (nothing to write),
// 1 a record whose net times change before every run (every result column of every section
// written, one commit). The ratio of CPU times is the price of the accessor's generality.
//
// The plain statements are the accessor's honest opponent: the same values read one query at a
// time and the same columns written, in one transaction (so both sync the same: a value the row
// holds already is written by neither), on a connection opened as the program's is (read-write,
// no mutex), with its 17 statements prepared once and kept, as the connection keeps the
// accessor's. Each side runs in a process of its own, three rounds in turn; a ratio is the
// median of its rounds'.
#include "BenchRun.h"
#include "input/Evaluation.h"
#include "input/clsBERECHNEN.h"
#include "platform/RunContext.h"
#include "platform/db/Database.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using namespace vnt;

namespace {

constexpr int kLast = 50;   // sections 0..50

QString schemaText()
{
    QFile f(QStringLiteral(VANTREL_SOURCE_DIR "/schema/project.sql"));
    f.open(QIODevice::ReadOnly);
    return QString::fromUtf8(f.readAll());
}

// A working database with record 1 active: depths, gross and net times per section, the
// ancillary parts left out so that every section is split by its factors.
QString databaseFile()
{
    static QTemporaryDir dir;
    static QString file;
    if (!file.isEmpty())
        return file;
    file = dir.filePath("VANT.mdb");
    QFile touch(file);
    touch.open(QIODevice::WriteOnly);
    touch.close();
    auto cnn = db::openDatabase(file);
    cnn->Execute(schemaText());
    cnn->BeginTrans();
    cnn->Execute("INSERT INTO E1 (ID, KEN, AKT) VALUES (1, 'BENCH', 1)");
    for (int i = 0; i <= kLast; ++i) {
        cnn->Execute(QString("INSERT INTO E2 (ID, I2, Z) VALUES (1, %1, %2)").arg(i).arg(0.5 * (i + 1)));
        cnn->Execute(QString("INSERT INTO E3 (ID, I2, PER) VALUES (1, %1, 3)").arg(i));
        cnn->Execute(QString("INSERT INTO E5 (ID, I2, BRZ, NTZ, FAUZ, FPPZ, FSTZ) VALUES (1, %1, 2, 1.5, 1, 1, 2)").arg(i));
    }
    cnn->CommitTrans();
    return file;
}

class Statement {
public:
    Statement(sqlite3 *db, const char *sql) { sqlite3_prepare_v2(db, sql, -1, &st_, nullptr); }
    ~Statement() { sqlite3_finalize(st_); }
    sqlite3_stmt *operator->() const { return st_; }
    operator sqlite3_stmt *() const { return st_; }
    // One value of section i, nullopt for Null or no row.
    std::optional<double> read(int i)
    {
        sqlite3_reset(st_);
        sqlite3_bind_int(st_, 1, i);
        std::optional<double> v;
        if (sqlite3_step(st_) == SQLITE_ROW && sqlite3_column_type(st_, 0) != SQLITE_NULL)
            v = sqlite3_column_double(st_, 0);
        return v;
    }
    // UPDATE ... SET c=?1 WHERE ... I2=?2 AND c IS NOT ?1: only a value that differs is written.
    void write(int i, double value)
    {
        sqlite3_reset(st_);
        sqlite3_bind_double(st_, 1, value);
        sqlite3_bind_int(st_, 2, i);
        sqlite3_step(st_);
    }

private:
    sqlite3_stmt *st_ = nullptr;
};

// Between runs of argument 1: the record's net times flip between two values.
void changeRecord(benchmark::State &state, sqlite3 *db)
{
    if (state.range(0) == 0)
        return;
    state.PauseTiming();
    sqlite3_exec(db, "UPDATE E5 SET NTZ = CASE WHEN NTZ = 1.5 THEN 1.25 ELSE 1.5 END WHERE ID = 1", nullptr, nullptr,
                 nullptr);
    state.ResumeTiming();
}

void BM_EvaluateThroughAccessor(benchmark::State &state)
{
    SimpleRunContext ctx;
    ctx.cnn = db::openDatabase(databaseFile());
    for (auto _ : state) {
        changeRecord(state, ctx.cnn->handle());
        clsBERECHNEN b(ctx);
        if (!b.BERECHNUNG())
            state.SkipWithError("the evaluation failed");
    }
}
BENCHMARK(BM_EvaluateThroughAccessor)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_EvaluatePlainSql(benchmark::State &state)
{
    sqlite3 *db = nullptr;
    sqlite3_open_v2(databaseFile().toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    {
        Statement z(db, "SELECT Z FROM E2 WHERE ID=1 AND I2=?"), brz(db, "SELECT BRZ FROM E5 WHERE ID=1 AND I2=?"),
            ntz(db, "SELECT NTZ FROM E5 WHERE ID=1 AND I2=?"), auz(db, "SELECT AUZ FROM E5 WHERE ID=1 AND I2=?"),
            fauz(db, "SELECT FAUZ FROM E5 WHERE ID=1 AND I2=?"), fppz(db, "SELECT FPPZ FROM E5 WHERE ID=1 AND I2=?"),
            fstz(db, "SELECT FSTZ FROM E5 WHERE ID=1 AND I2=?"), per(db, "SELECT PER FROM E3 WHERE ID=1 AND I2=?");
        Statement exists(db, "SELECT I2 FROM A2 WHERE ID=1 AND I2=?"), add(db, "INSERT INTO A2 (ID, I2) VALUES (1, ?)");
        Statement cut(db, "DELETE FROM A2 WHERE ID=1 AND I2>50");
        const char *columns[] = {"DEZ", "NTZ", "AUZ", "PPZ", "STZ", "BRZ", "PER"};
        std::vector<std::unique_ptr<Statement>> set;
        for (const char *c : columns)
            set.push_back(std::make_unique<Statement>(
                db, (std::string("UPDATE A2 SET ") + c + "=?1 WHERE ID=1 AND I2=?2 AND " + c + " IS NOT ?1").c_str()));
        for (auto _ : state) {
            changeRecord(state, db);
            sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
            EvaluationInput in;
            in.resize(kLast + 1);
            for (int i = 0; i <= kLast; ++i) {
                in.Z[size_t(i)] = float(z.read(i).value_or(0));
                in.BRZ[size_t(i)] = brz.read(i);
                in.NTZ[size_t(i)] = ntz.read(i);
            }
            in.AUZ[0] = auz.read(0);   // the first missing part ends that loop
            for (int i = 0; i <= kLast; ++i) {
                in.FAUZ[size_t(i)] = float(fauz.read(i).value_or(0));
                in.FPPZ[size_t(i)] = float(fppz.read(i).value_or(0));
                in.FSTZ[size_t(i)] = float(fstz.read(i).value_or(0));
                in.PER[size_t(i)] = int16_t(per.read(i).value_or(0));
            }
            const EvaluationResult r = evaluateRecord(in);
            for (int i = 0; i <= kLast; ++i) {
                const size_t k = size_t(i);
                if (!exists.read(i)) {
                    sqlite3_reset(add);
                    sqlite3_bind_int(add, 1, i);
                    sqlite3_step(add);
                }
                // As the columns store them: FLOAT columns hold the single-precision value.
                const double values[] = {double(float(r.DEZ[k])), double(float(r.NTZ[k])), double(float(r.AUZ[k])),
                                         double(float(r.PPZ[k])), double(float(r.STZ[k])), double(float(r.BRZ[k])),
                                         double(r.PER[k])};
                for (size_t c = 0; c < set.size(); ++c)
                    set[c]->write(i, values[c]);
            }
            sqlite3_reset(cut);
            sqlite3_step(cut);
            // Every kept statement is reset before the commit, as the connection's are.
            for (sqlite3_stmt *st : {(sqlite3_stmt *)z, (sqlite3_stmt *)brz, (sqlite3_stmt *)ntz, (sqlite3_stmt *)auz,
                                     (sqlite3_stmt *)fauz, (sqlite3_stmt *)fppz, (sqlite3_stmt *)fstz, (sqlite3_stmt *)per,
                                     (sqlite3_stmt *)exists, (sqlite3_stmt *)add, (sqlite3_stmt *)cut})
                sqlite3_reset(st);
            for (const auto &st : set)
                sqlite3_reset(*st);
            if (sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
                state.SkipWithError(sqlite3_errmsg(db));
            benchmark::DoNotOptimize(r);
        }
    }
    sqlite3_close(db);
}
BENCHMARK(BM_EvaluatePlainSql)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto rounds = vnt::bench::runBenchmarkRounds(
        argc, argv, {"^BM_EvaluateThroughAccessor/", "^BM_EvaluatePlainSql/"}, 3);
    for (const char *arg : {"0", "1"}) {
        const std::string accessor = std::string("BM_EvaluateThroughAccessor/") + arg;
        const std::string plain = std::string("BM_EvaluatePlainSql/") + arg;
        const char *what = arg[0] == '0' ? "unchanged" : "changed";
        const auto cpu = vnt::bench::medianPair(rounds, accessor, plain, true);
        const auto wall = vnt::bench::medianPair(rounds, accessor, plain);
        if (cpu.ratio > 0) {
            std::printf("evaluation_cpu_%s: %.2f ms vs %.2f ms, ratio %.2f (aim 1.5)\n", what, cpu.program, cpu.plain,
                        cpu.ratio);
            std::printf("evaluation_wall_%s: %.2f ms vs %.2f ms, ratio %.2f (aim none)\n", what, wall.program,
                        wall.plain, wall.ratio);
        }
    }
    return 0;
}
