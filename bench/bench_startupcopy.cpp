// The start-up's part in a project database: its check, the working copy and the open of the
// copy, against a plain file copy of the same file that is flushed to disk (`cp` followed by
// fdatasync). That is the honest opponent: the start-up must end with the same bytes in another
// file and on the disk, and a plain copy is the least any program pays for that; each side
// starts with nothing dirty in the system's caches (sync before every run). The copy alone and
// the former sequence (check the project, then copy it) are shown beside it.
//
// The database is generated in the benchmark's temporary folder; VANTREL_BENCH_MB sets its
// size in megabytes (default 30; the figures of a large project need 300).
#include "BenchRun.h"
#include "platform/db/Database.h"
#include "platform/db/DatabaseFile.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>

using namespace vnt;

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

long megabytes()
{
    const char *env = std::getenv("VANTREL_BENCH_MB");
    const long mb = env ? std::atol(env) : 0;
    return mb > 0 ? mb : 30;
}

// A project database of about the wanted size: records of incompressible bytes, an index,
// written in one transaction.
QString projectFile()
{
    static QString file;
    if (!file.isEmpty())
        return file;
    file = folder().filePath("PROJEKT.mdb");
    sqlite3 *db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    const long rows = megabytes() * 1000000 / 1100;
    const std::string fill = "CREATE TABLE [E1] ([ID] INTEGER, [KEN] TEXT COLLATE NOCASE, [KOM] BLOB);"
                             "CREATE INDEX E1KEN ON E1 (KEN);"
                             "BEGIN;"
                             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < "
                             + std::to_string(rows) + ") INSERT INTO E1 SELECT i, 'P' || i, randomblob(1000) FROM n;"
                             "COMMIT;";
    sqlite3_exec(db, fill.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
    return file;
}

// What the start-up does: the checked copy, then the open of the working copy.
void BM_WholeStartup(benchmark::State &state)
{
    const QString source = projectFile();
    const QString target = folder().filePath("ARBEIT.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        if (!db::copyCheckedDatabase(source, target, {}).isEmpty())
            state.SkipWithError("the generated database fails its check");
        db::openDatabase(target)->Close();
    }
}

// The start-up as it was: the check of the project, then its copy, then the open.
void BM_CheckThenCopy(benchmark::State &state)
{
    const QString source = projectFile();
    const QString target = folder().filePath("ARBEIT.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        if (!db::databaseDefect(source).isEmpty())
            state.SkipWithError("the generated database fails its check");
        db::copyDatabase(source, target);
        db::openDatabase(target)->Close();
    }
}

void BM_StartupCopy(benchmark::State &state)
{
    const QString source = projectFile();
    const QString target = folder().filePath("ARBEIT.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        db::copyDatabase(source, target);
    }
    state.counters["MB"] = double(std::filesystem::file_size(target.toStdString())) / 1e6;
}

// cp, then fdatasync of the copy.
void BM_CpFdatasync(benchmark::State &state)
{
    const std::string source = projectFile().toStdString();
    const std::string target = folder().filePath("CP.mdb").toStdString();
    for (auto _ : state) {
        state.PauseTiming();
        ::sync();
        state.ResumeTiming();
        std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0 || ::fdatasync(fd) != 0)
            state.SkipWithError("fdatasync failed");
        ::close(fd);
    }
}

// Taken in turn, so that a drift of the machine's speed falls on every side alike.
BENCHMARK(BM_CpFdatasync)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_WholeStartup)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_CheckThenCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);
BENCHMARK(BM_StartupCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3)->Repetitions(3);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto results = vnt::bench::runBenchmarks(argc, argv);
    const std::string each = "/iterations:3/repeats:3/real_time";
    const double plain = results["BM_CpFdatasync" + each].real;
    const auto line = [&](const char *name, const char *bench, const char *aim) {
        if (const double t = results[bench + each].real; t > 0 && plain > 0)
            std::printf("%s: %.0f ms vs %.0f ms, ratio %.2f (aim %s)\n", name, t, plain, t / plain, aim);
    };
    line("startup", "BM_WholeStartup", "1.5");
    line("startup_check_then_copy", "BM_CheckThenCopy", "none: the former sequence");
    line("startup_copy", "BM_StartupCopy", "none: the copy alone");
    std::printf("(%ld MB; the plain side is cp + fdatasync)\n", megabytes());
    return 0;
}
