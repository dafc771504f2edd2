// In one run, offscreen unless a platform is given:
// - filling the employee grid with a built list of 10,000 rows (model reset, shading, widths, the highlighted row,
//   shown and painted), beside the core build of the same list from the data file; target: the fill at most 3.0
//   times the build;
// - switching the main window's list type at 100,000 employees (to the options tab, another type, back to the list,
//   which is built and shown), beside a minimal QTableView program re-sorting the same rows on another column
//   through a QSortFilterProxyModel and painting them; target: at most 1.3 times it. CPU time of the process.

#include "BenchRatios.h"

#include "DataCommands.h"
#include "core/base/AppGlobals.h"
#include "core/store/DataFile.h"
#include "ui/main/EmployeeGrid.h"
#include "core/list/EmployeeList.h"
#include "ui/main/frmMain.h"
#include "core/users/UserList.h"

#include <QRadioButton>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QThread>

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
    DemoRecords demo(1);
    for (int i = 0; i < n; ++i) {
        PersonnelRecord r = demo.next();
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

// The window's data folder: the working folder, as in the program, holding N employees.
void EnterWindowFolder(int n) {
    MakeDataFile(n);
    const QString folder = WorkDir().filePath(QStringLiteral("window%1").arg(n));
    if (!QFileInfo::exists(folder)) {
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::copy(DataFileName, folder + QStringLiteral("/Vardel.Data"));
        // The counts of a file changed within the last seconds are not remembered; a user's file is older.
        QThread::sleep(3);
    }
    QDir::setCurrent(folder);
    DataFileName = QStringLiteral("Vardel.Data");
}

void ListSwitch_Window(benchmark::State& state) {
    EnterWindowFolder(static_cast<int>(state.range(0)));
    CurrentUserName = QStringLiteral("Ann Lee");
    CurrentAccessLevel = 4;
    frmMain window;
    window.show();
    window.Form_Activate();
    QCoreApplication::processEvents();
    int type = 1;
    for (auto _ : state) {
        type = type % 4 + 1;
        window.tabMain->setCurrentIndex(1);
        window.optTypeList[type]->click();
        window.tabMain->setCurrentIndex(0);
        window.repaint();
        QCoreApplication::processEvents();
    }
}

void ListSwitch_TableView(benchmark::State& state) {
    MakeDataFile(static_cast<int>(state.range(0)));
    const EmployeeList list = BuildEmployeeRows(ListOptions(), kToday);
    QStandardItemModel model(static_cast<int>(list.Rows.size()), 4);
    for (int r = 0; r < list.Rows.size(); ++r)
        for (int c = 0; c < 4; ++c)
            model.setItem(r, c, new QStandardItem(list.Rows.at(r).Cell(c)));
    QSortFilterProxyModel proxy;
    proxy.setSourceModel(&model);
    proxy.setSortCaseSensitivity(Qt::CaseInsensitive);
    QTableView view;
    view.setModel(&proxy);
    view.resize(530, 420);
    view.show();
    QCoreApplication::processEvents();
    int column = 0;
    for (auto _ : state) {
        column = (column + 1) % 3;
        proxy.sort(column);
        view.repaint();
        QCoreApplication::processEvents();
    }
}

} // namespace

BENCHMARK(GridBuild_Core)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(GridBuild_Fill)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(ListSwitch_TableView)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(ListSwitch_Window)->Arg(100000)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RunBenchmarksWithRatios(
        argc, argv, {{"GridBuild_Fill", "GridBuild_Core", 3.0}, {"ListSwitch_Window", "ListSwitch_TableView", 1.3}});
}
