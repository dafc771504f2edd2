// Removing one employee from the data file, beside copying the same file, in one run:
// - Remove_Employee: the whole removal (the identity look at the slot, the copy through "TempFile.$$$" without the
//   slot, made durable and renamed over the data file);
// - Remove_PlainCopy: a read and write of the same bytes in 1 MB blocks into a new file, as cp does;
// - Remove_DurableCopy: the anchor, the same copy flushed to the disk (cp and sync) and renamed over its target as
//   the removal's copy must be; target: at most 1.2 times it.
// CPU time of the process, at 10,000 and 100,000 employees.
// Each iteration starts from the same file of N employees (restored outside the timing). Build with
// CMAKE_BUILD_TYPE=Release for real numbers.

#include "BenchRatios.h"

#include "DataCommands.h"
#include "core/employees/EmployeeRemoval.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fcntl.h>
#include <map>
#include <unistd.h>

namespace {

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

// The sample employees of vardel-data's demo, made once per size.
QString Pristine(int n) {
    static std::map<int, QString> made;
    if (auto it = made.find(n); it != made.end())
        return it->second;
    const QString name = WorkDir().filePath(QStringLiteral("Pristine%1.Data").arg(n));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(name));
    DemoRecords demo(1);
    for (int i = 0; i < n; ++i)
        file.write(EncodePersonnelRecord(demo.next()));
    file.close();
    made.emplace(n, name);
    return name;
}

void CopyBlocks(const QString& from, const QString& to, bool durable) {
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot copy %s", qPrintable(from));
    static QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 got; (got = in.read(block.data(), block.size())) > 0;)
        if (out.write(block.constData(), got) != got)
            qFatal("write failed");
    if (durable) {
        out.flush();
        ::fsync(out.handle());
    }
    out.close();
}

void Restore(int n) {
    QFile::remove(DataFileName);
    CopyBlocks(Pristine(n), DataFileName, false);
}

void Remove_PlainCopy(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const QString source = Pristine(n);
    const QString target = WorkDir().filePath(QStringLiteral("Copy.Data"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
        CopyBlocks(source, target, false);
    }
}

void Remove_DurableCopy(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const QString source = Pristine(n);
    const QString temp = WorkDir().filePath(QStringLiteral("Copy.tmp"));
    const QString target = WorkDir().filePath(QStringLiteral("Copy.Data"));
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(temp);
        state.ResumeTiming();
        CopyBlocks(source, temp, true);
        std::rename(QFile::encodeName(temp).constData(), QFile::encodeName(target).constData());
        const int dir = ::open(QFile::encodeName(WorkDir().path()).constData(), O_RDONLY | O_DIRECTORY);
        ::fsync(dir);
        ::close(dir);
    }
}

void Remove_Employee(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        Restore(n);
        state.ResumeTiming();
        const RemovalResult result = RemoveEmployee(n / 2);
        if (!result.Removed || result.RecordsLeft != n - 1)
            state.SkipWithError("the removal did not remove one record");
    }
}

} // namespace

BENCHMARK(Remove_PlainCopy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Remove_DurableCopy)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(Remove_Employee)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    // The data file and its temporary file are addressed in the working folder, as in the program.
    QDir::setCurrent(WorkDir().path());
    DataFileName = QStringLiteral("Vardel.Data");
    return RunBenchmarksWithRatios(argc, argv, {{"Remove_Employee", "Remove_DurableCopy", 1.2}});
}
