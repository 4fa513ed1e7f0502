// Running a benchmark program: the usual console table, and each benchmark's time per
// iteration kept by name, so that the program can end with the ratio it was written for.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

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

private:
    friend class KeepingReporter;
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
                results_.times_[run.benchmark_name()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
            else if (run.aggregate_name == "median")
                results_.times_[run.run_name.str()] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
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

} // namespace vnt::bench
