#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

// Runs the benchmarks and then prints, for each pair, a benchmark's CPU time over its anchor's with the same
// arguments in the same run, beside the target ratio. With --benchmark_repetitions=N each side has N figures: the
// line gives the ratio of their minimums, medians and maximums, and the median ratio decides. CPU time, since on a
// busy machine the wall clock also counts the waits for a processor; the wall-clock median ratio is shown beside it.
struct BenchRatio {
    std::string measured; // benchmark name without arguments
    std::string anchor;
    double target;
};

class RatioReporter : public benchmark::ConsoleReporter {
public:
    struct Times {
        std::vector<double> real;
        std::vector<double> cpu;
    };

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.error_occurred)
                continue;
            Times& t = times[run.run_name.str()];
            t.real.push_back(run.GetAdjustedRealTime());
            t.cpu.push_back(run.GetAdjustedCPUTime());
        }
    }
    std::map<std::string, Times> times;
};

inline double BenchQuantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const size_t low = static_cast<size_t>(at);
    const size_t high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (at - static_cast<double>(low));
}

inline int RunBenchmarksWithRatios(int argc, char** argv, const std::vector<BenchRatio>& ratios) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n%-34s %9s %9s %21s %7s %7s\n", "measured / anchor (cpu ms)", "measured", "anchor",
                "ratio min-median-max", "wall", "target");
    for (const BenchRatio& ratio : ratios) {
        for (const auto& [name, time] : reporter.times) {
            if (name.rfind(ratio.measured + "/", 0) != 0)
                continue;
            const std::string args = name.substr(ratio.measured.size());
            const auto anchor = reporter.times.find(ratio.anchor + args);
            if (anchor == reporter.times.end() || anchor->second.cpu.empty())
                continue;
            const auto& a = anchor->second;
            const double median = BenchQuantile(time.cpu, 0.5) / BenchQuantile(a.cpu, 0.5);
            const double low = BenchQuantile(time.cpu, 0) / BenchQuantile(a.cpu, 0);
            const double high = BenchQuantile(time.cpu, 1) / BenchQuantile(a.cpu, 1);
            const double wall = BenchQuantile(time.real, 0.5) / BenchQuantile(a.real, 0.5);
            std::printf("%-34s %9.2f %9.2f %6.2f %6.2f %6.2f %7.2f %7.2f %s\n", (ratio.measured + args).c_str(),
                        BenchQuantile(time.cpu, 0.5), BenchQuantile(a.cpu, 0.5), low, median, high, wall, ratio.target,
                        median <= ratio.target ? "ok" : "OVER");
        }
    }
    std::fflush(stdout);
    benchmark::Shutdown();
    return 0;
}
