// The start-up's copy of the project database against a plain file copy of the same file that
// is flushed to disk (what `cp` followed by fdatasync costs): the copy must stay a consistent
// database and still cost little more than the bytes. The check the start-up makes before it
// trusts the project database is measured on the same file.
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

void BM_StartupCopy(benchmark::State &state)
{
    const QString source = projectFile();
    const QString target = folder().filePath("ARBEIT.mdb");
    for (auto _ : state)
        db::copyDatabase(source, target);
    state.counters["MB"] = double(std::filesystem::file_size(target.toStdString())) / 1e6;
}

// cp, then fdatasync of the copy.
void BM_CpFdatasync(benchmark::State &state)
{
    const std::string source = projectFile().toStdString();
    const std::string target = folder().filePath("CP.mdb").toStdString();
    for (auto _ : state) {
        std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
        const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (fd < 0 || ::fdatasync(fd) != 0)
            state.SkipWithError("fdatasync failed");
        ::close(fd);
    }
}

void BM_StartupCheck(benchmark::State &state)
{
    const QString source = projectFile();
    for (auto _ : state)
        if (!db::databaseDefect(source).isEmpty())
            state.SkipWithError("the generated database fails its check");
}

BENCHMARK(BM_StartupCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_CpFdatasync)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_StartupCheck)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const auto results = vnt::bench::runBenchmarks(argc, argv);
    const std::string each = "/iterations:5/real_time";
    const double copy = results["BM_StartupCopy" + each].real;
    const double plain = results["BM_CpFdatasync" + each].real;
    if (copy > 0 && plain > 0)
        std::printf("startup_copy: %.0f ms vs %.0f ms, ratio %.2f (aim 1.5)\n", copy, plain, copy / plain);
    if (const double check = results["BM_StartupCheck" + each].real; check > 0)
        std::printf("startup_check: %.0f ms for %ld MB\n", check, megabytes());
    return 0;
}
