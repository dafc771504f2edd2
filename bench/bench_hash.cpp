// Hashing at the machine's speed: the history's chain check beside one SHA-256 of the same bytes (what sha256sum
// does with the file), and a file's SHA-256 through the program's hasher beside Qt's own, in the same run, in CPU
// time. Lines of the size a field change makes.

#include "BenchRatios.h"
#include "core/base/Sha256.h"
#include "core/history/ChangeLog.h"

#include <QCryptographicHash>

namespace {

QByteArray History(int lines) {
    QList<ChangeEvent> events;
    for (int n = 0; n < lines; ++n) {
        ChangeEvent e;
        e.When = QDateTime(QDate(2026, 1, 1), QTime(9, 0)).addSecs(n);
        e.User = QStringLiteral("Ama Mensah");
        e.Level = QStringLiteral("Read/Edit/Add/Delete");
        e.Event = HistoryEvent::Edited;
        e.Employee = QStringLiteral("Abara, Ada %1").arg(n % 997);
        e.Identity = QStringLiteral("2024-05-06 07:08:09.010");
        e.Field = QStringLiteral("Job Title");
        e.OldValue = QStringLiteral("Patrol Officer");
        e.NewValue = QStringLiteral("Sergeant");
        events << e;
    }
    return ChainLines(events, ChainSeed());
}

const QByteArray& Content(int lines) {
    static std::map<int, QByteArray> made;
    auto it = made.find(lines);
    if (it == made.end())
        it = made.emplace(lines, History(lines)).first;
    return it->second;
}

void ChainCheck_(benchmark::State& state) {
    const QByteArray& content = Content(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckChain(content));
    state.SetBytesProcessed(int64_t(state.iterations()) * content.size());
}

void WholeHash(benchmark::State& state) {
    const QByteArray& content = Content(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Sha256::hash(content));
    state.SetBytesProcessed(int64_t(state.iterations()) * content.size());
}

void FileHash(benchmark::State& state) {
    const QByteArray bytes(int(state.range(0)) << 20, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(Sha256::hash(bytes));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

void QtFileHash(benchmark::State& state) {
    const QByteArray bytes(int(state.range(0)) << 20, 'x');
    for (auto _ : state)
        benchmark::DoNotOptimize(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256));
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes.size());
}

} // namespace

BENCHMARK(ChainCheck_)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(WholeHash)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(FileHash)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK(QtFileHash)->Arg(64)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    std::printf("SHA-256 through %s\n", Sha256::AtProcessorSpeed() ? "libcrypto" : "Qt (libcrypto not found)");
    return RunBenchmarksWithRatios(argc, argv, {{"ChainCheck_", "WholeHash", 1.1}, {"FileHash", "QtFileHash", 0.6}});
}
