// Cost of one access-code check (PBKDF2-HMAC-SHA256 at the stored iteration count), beside its anchor in the same
// run: one HMAC-SHA256 of the same code. The target is about 0.1 s per check; the ratio shows how many HMACs an
// offline guess costs.

#include "core/users/AccessCode.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

double g_anchorNs = 0;
double g_checkNs = 0;

void OneHmacAnchor(benchmark::State& state) {
    const QByteArray code = "73915824";
    const QByteArray salt = "00112233445566778899aabbccddeeff";
    for (auto _ : state)
        benchmark::DoNotOptimize(QMessageAuthenticationCode::hash(salt, code, QCryptographicHash::Sha256));
}

void AccessCodeCheck(benchmark::State& state) {
    const QByteArray code = "73915824";
    const QByteArray salt = "00112233445566778899aabbccddeeff";
    for (auto _ : state)
        benchmark::DoNotOptimize(Pbkdf2HmacSha256(code, salt, AccessCodeIterations));
    state.counters["iterations"] = AccessCodeIterations;
}

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            // CPU time: the machine is shared, and an attacker's cost is CPU time.
            const double ns = run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e9;
            if (run.benchmark_name().find("Anchor") != std::string::npos)
                g_anchorNs = ns;
            else
                g_checkNs = ns;
        }
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

BENCHMARK(OneHmacAnchor);
BENCHMARK(AccessCodeCheck)->Unit(benchmark::kMillisecond)->MinTime(2.0);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_anchorNs > 0 && g_checkNs > 0)
        std::printf("one check: %.1f ms of CPU at %d iterations = %.0f times the anchor (one HMAC)\n", g_checkNs / 1e6,
                    AccessCodeIterations, g_checkNs / g_anchorNs);
    benchmark::Shutdown();
    return 0;
}
