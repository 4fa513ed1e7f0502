// Running a benchmark program: the usual console table, and each benchmark's time per
// iteration kept by name, so that the program can end with the ratio it was written for.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
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
// after the other, `rounds` times over, and returns each round's times. A side measured in a
// process that has just held the other side's rows runs on a heap and caches the other left
// behind: unfair either way. On a shared machine a slow spell falls on one side of a pair, so
// the sides take turns round by round and a pair's ratio is the median of its rounds' ratios.
// The child processes are this program again; they write their times to a file the parent
// names and end there.
inline std::vector<Results> runBenchmarkRounds(int &argc, char **argv, const std::vector<std::string> &groups,
                                               int rounds)
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
        return {runBenchmarks(argc, argv)};
    ::close(keepFd);
    const std::string keepSetting = std::string(kKeep) + '=' + keepName;
    std::vector<Results> all;
    for (int round = 0; round < rounds; ++round) {
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
        all.push_back(std::move(results));
    }
    std::remove(keepName);
    return all;
}

// A benchmark pair over the rounds: each side's median time and the median of the rounds'
// ratios of `program` to `plain`; zeros where no round measured both.
struct Pair {
    double program = 0, plain = 0, ratio = 0;
};

inline Pair medianPair(const std::vector<Results> &rounds, const std::string &program, const std::string &plain,
                       bool cpu = false)
{
    std::vector<double> a, b, r;
    for (const Results &round : rounds) {
        const Times x = round[program], y = round[plain];
        const double tx = cpu ? x.cpu : x.real, ty = cpu ? y.cpu : y.real;
        if (tx > 0 && ty > 0) {
            a.push_back(tx);
            b.push_back(ty);
            r.push_back(tx / ty);
        }
    }
    if (r.empty())
        return {};
    const auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
    };
    return {median(a), median(b), median(r)};
}

} // namespace vnt::bench
