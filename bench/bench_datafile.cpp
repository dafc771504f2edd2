// Cost of opening the personnel data file (the counting pass that runs on every open) and of decoding every
// slot, each beside a plain block read of the same file in the same run.

#include "core/store/DataFile.h"
#include "core/record/PersonnelRecord.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

QTemporaryDir& workDir() {
    static QTemporaryDir dir;
    return dir;
}

// A data file of n records, made once per size.
QString dataFile(int n) {
    static std::map<int, QString> made;
    auto it = made.find(n);
    if (it != made.end())
        return it->second;
    const QString name = workDir().filePath(QStringLiteral("Bench%1.Data").arg(n));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(name));
    PersonnelRecord r;
    r.FirstName = QStringLiteral("Siobhán");
    r.LastName = QStringLiteral("Okafor-Müller");
    r.StreetAddress = QStringLiteral("1234 Elm Street, Apt 4B");
    r.CityStateZip = QStringLiteral("Springfield, IL 62704");
    r.Notepad = QString(2000, QLatin1Char('x'));
    r.DataVersion = 312;
    QByteArray block;
    for (int i = 1; i <= n; ++i) {
        r.RecordCreated = 40000 + i;
        r.InactivationDate = i % 4 == 0 ? 41000 + i : 0;
        block += EncodePersonnelRecord(r);
        if (block.size() >= (1 << 22) || i == n) {
            file.write(block);
            block.clear();
        }
    }
    file.close();
    made.emplace(n, name);
    return name;
}

void PlainRead(benchmark::State& state) {
    const QString name = dataFile(static_cast<int>(state.range(0)));
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    for (auto _ : state) {
        QFile file(name);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("open failed");
        qint64 total = 0;
        for (qint64 got; (got = file.read(buffer.data(), buffer.size())) > 0;)
            total += got;
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(name).size());
}

void OpenDataFileCount(benchmark::State& state) {
    DataFileName = dataFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        OpenDataFile();
        CloseDataFile();
        benchmark::DoNotOptimize(CurrentCount);
    }
    if (RecordCount != state.range(0) || PreviousCount != state.range(0) / 4)
        state.SkipWithError("wrong counts");
    state.SetBytesProcessed(state.iterations() * QFileInfo(DataFileName).size());
}

void DecodeEverySlot(benchmark::State& state) {
    DataFileName = dataFile(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        OpenDataFile();
        for (qint32 slot = 1; slot <= RecordCount; ++slot) {
            ReadSlot(slot);
            benchmark::DoNotOptimize(CurrentRecord.FirstName.size());
        }
        CloseDataFile();
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(DataFileName).size());
}

} // namespace

BENCHMARK(PlainRead)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenDataFileCount)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeEverySlot)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
