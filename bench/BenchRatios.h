#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Runs the benchmarks and then prints, for each pair, the time of a benchmark over its anchor's time with the same
// arguments in the same run, beside the target ratio: once on wall-clock time and once on CPU time, since on a
// busy machine the wall clock also counts the waits for a processor.
struct BenchRatio {
    std::string measured; // benchmark name without arguments
    std::string anchor;
    double target;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        double real = 0;
        double cpu = 0;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            // With repetitions, the median stands for the run.
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median")
                continue;
            const std::string name = run.benchmark_name();
            times[name.substr(0, name.find("_median"))] = {run.GetAdjustedRealTime(), run.GetAdjustedCPUTime()};
        }
    }
    std::map<std::string, Times> times;
};

inline int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<BenchRatio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-32s %10s %10s %7s %10s %10s %7s %7s\n", "measured / anchor", "wall", "anchor", "ratio", "cpu",
                "anchor", "ratio", "target");
    for (const BenchRatio& ratio : ratios) {
        for (const auto& [name, time] : reporter.times) {
            if (name.rfind(ratio.measured + "/", 0) != 0)
                continue;
            const std::string args = name.substr(ratio.measured.size());
            const auto anchor = reporter.times.find(ratio.anchor + args);
            if (anchor == reporter.times.end() || anchor->second.real <= 0 || anchor->second.cpu <= 0)
                continue;
            const double wall = time.real / anchor->second.real;
            const double cpu = time.cpu / anchor->second.cpu;
            std::printf("%-32s %10.2f %10.2f %7.2f %10.2f %10.2f %7.2f %7.2f %s\n", (ratio.measured + args).c_str(),
                        time.real, anchor->second.real, wall, time.cpu, anchor->second.cpu, cpu, ratio.target,
                        wall <= ratio.target && cpu <= ratio.target ? "ok" : "OVER");
        }
    }
    benchmark::Shutdown();
    return 0;
}
