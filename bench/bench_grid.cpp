// Filling the employee grid with a built list of 10,000 rows (model reset, shading, widths, the highlighted row,
// shown and painted), beside the core build of the same list from the data file, in one run. Target: the fill at
// most 3.0 times the build. Runs offscreen unless a platform is given.

#include "BenchRatios.h"

#include "DataCommands.h"
#include "ui/main/EmployeeList.h"
#include "store/DataFile.h"
#include "ui/main/EmployeeGrid.h"

#include <QApplication>
#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const QDate kToday(2026, 12, 6);

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

// Every employee current, so that the list holds every record.
void MakeDataFile(int n) {
    DataFileName = WorkDir().filePath(QStringLiteral("Grid%1.Data").arg(n));
    if (QFile::exists(DataFileName))
        return;
    QFile file(DataFileName);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot create %s", qPrintable(DataFileName));
    for (PersonnelRecord r : MakeDemoRecords(n, 1)) {
        r.InactivationDate = 0;
        file.write(EncodePersonnelRecord(r));
    }
}

void GridBuild_Core(benchmark::State& state) {
    MakeDataFile(static_cast<int>(state.range(0)));
    const ListOptions options;
    for (auto _ : state) {
        const EmployeeList list = BuildEmployeeRows(options, kToday);
        benchmark::DoNotOptimize(list.Rows.data());
    }
}

void GridBuild_Fill(benchmark::State& state) {
    MakeDataFile(static_cast<int>(state.range(0)));
    const ListOptions options;
    const EmployeeList list = BuildEmployeeRows(options, kToday);
    if (list.Rows.size() != state.range(0))
        state.SkipWithError("not every record listed");
    QWidget window;
    window.resize(700, 800);
    EmployeeGrid grid(&window);
    grid.setGeometry(8, 18, 530, 420);
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        // As a build does it: hidden and cut to the header row, filled, formatted, shown once.
        grid.hide();
        grid.Clear();
        grid.SetList(ListFormatString(options), list.Rows, ListColumns(options.TypeList));
        grid.SetColWidth(0, ListNameWidth);
        grid.SetColWidth(1, ListColumnWidth(options.TypeList, 1));
        grid.SetColWidth(2, ListColumnWidth(options.TypeList, 2));
        grid.SetRow(1);
        grid.SetTopRow(1);
        while (grid.ColIsVisible(3))
            grid.SetColWidth(0, grid.ColWidth(0) + 18);
        grid.show();
        grid.repaint();
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(GridBuild_Core)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(GridBuild_Fill)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarksWithRatios(argc, argv, {{"GridBuild_Fill", "GridBuild_Core", 3.0}});
}
