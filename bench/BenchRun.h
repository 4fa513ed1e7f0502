// Running a benchmark program: the usual console table, and each benchmark's time per
// iteration kept by name, so that the program can end with the ratio it was written for.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace vnt::bench {

struct Times {
    double real = 0;   // in the benchmark's own unit
    double cpu = 0;
};

class Results {
public:
    // Zero times for a benchmark that did not run (filtered out, or failed).
    Times operator[](const std::string &name) const
    {
        const auto it = times_.find(name);
        return it == times_.end() ? Times{} : it->second;
    }

    void keep(const std::string &name, Times t) { times_[name] = t; }
    const std::map<std::string, Times> &all() const { return times_; }

private:
    std::map<std::string, Times> times_;
};

class KeepingReporter : public benchmark::ConsoleReporter {
public:
    // Colours only on a terminal: the tables are often kept in files.
    explicit KeepingReporter(Results &results)
        : ConsoleReporter(isatty(fileno(stdout)) ? OO_ColorTabular : OO_Tabular), results_(results) {}
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        // Repetitions add mean, median and deviation rows: the median stands for them all, also
        // when only the aggregates are reported.
        for (const Run &run : runs) {
            if (run.error_occurred)
                continue;
            if (run.run_type == Run::RT_Iteration)
                results_.keep(run.benchmark_name(), {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
            else if (run.aggregate_name == "median")
                results_.keep(run.run_name.str(), {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()});
        }
    }

private:
    Results &results_;
};

// Runs the benchmarks the command line selects. The caller makes its Qt application first.
inline Results runBenchmarks(int &argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    Results results;
    KeepingReporter reporter(results);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return results;
}

// Runs each group of benchmarks (a --benchmark_filter expression) in a process of its own, one
// after the other, and returns all their times. A side measured in a process that has just held
// the other side's rows runs on a heap and caches the other left behind: unfair either way.
// The child processes are this program again; they write their times to a file the parent
// names and end there.
inline Results runBenchmarksApart(int &argc, char **argv, const std::vector<std::string> &groups)
{
    static const char *const kKeep = "VANTREL_BENCH_KEEP";
    if (const char *file = std::getenv(kKeep)) {
        const Results results = runBenchmarks(argc, argv);
        std::ofstream out(file);
        for (const auto &[name, t] : results.all())
            out << name << '\t' << t.real << '\t' << t.cpu << '\n';
        out.close();   // exit() below closes no stream of ours
        std::fflush(stdout);
        std::exit(0);
    }
    std::string keepPath = (std::filesystem::temp_directory_path() / "vantrel-bench-XXXXXX").string();
    char *keepName = keepPath.data();
    const int keepFd = ::mkstemp(keepName);
    if (keepFd < 0)
        return runBenchmarks(argc, argv);
    ::close(keepFd);
    const std::string keepSetting = std::string(kKeep) + '=' + keepName;
    Results results;
    for (const std::string &group : groups) {
        std::vector<std::string> args(argv, argv + argc);
        args.push_back("--benchmark_filter=" + group);
        std::vector<char *> childArgs;
        for (std::string &a : args)
            childArgs.push_back(a.data());
        childArgs.push_back(nullptr);
        std::vector<char *> childEnv;
        for (char **e = environ; *e; ++e)
            childEnv.push_back(*e);
        std::string keep = keepSetting;
        childEnv.push_back(keep.data());
        childEnv.push_back(nullptr);
        std::fflush(stdout);
        pid_t child = 0;
        int status = 0;
        if (posix_spawn(&child, "/proc/self/exe", nullptr, nullptr, childArgs.data(), childEnv.data()) != 0
            || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
            continue;
        std::ifstream in(keepName);
        std::string name;
        Times t;
        while (in >> name >> t.real >> t.cpu)
            results.keep(name, t);
    }
    std::remove(keepName);
    return results;
}

} // namespace vnt::bench
