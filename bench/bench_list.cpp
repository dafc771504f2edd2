// The employee list against its anchors, in one run, at 10,000 and 100,000 employees (VARDEL_BENCH_SIZES="a b ..."
// chooses others):
// - each list type (alphabetical, seniority, age, birthday) of the current employees, beside SQLite in this process
//   answering the same query on the same records in a table with an index on the columns the query filters and
//   sorts by, the same row texts made by SQL; target: at most 1.0 times SQLite;
// - the alphabetical list with a text search that includes the notepad, beside SQLite answering the same query
//   (the same fields, a case-insensitive substring search, current employees, ordered by name without case), a
//   full scan on both sides; target: at most 0.6 times SQLite;
// - the counting pass of every open of the data file, beside a plain block read of the file; target: at most 1.1.
// Build with CMAKE_BUILD_TYPE=Release for real numbers; the ratios compare CPU time.

#include "BenchData.h"
#include "BenchRatios.h"

#include "core/store/DataFile.h"
#include "core/list/EmployeeList.h"

#include <benchmark/benchmark.h>

namespace {

using namespace BenchData;

const QDate kToday(2026, 12, 6);
// A word of the service histories (found in many records) and a name (found in a few).
const char* const kSearches[] = {"transferred", "o'brien"};

ListOptions SearchOptions(int search) {
    ListOptions o;
    o.OtherText = QString::fromUtf8(kSearches[search]);
    o.SearchNotepad = true;
    return o;
}

void ListSearch_Vardel(benchmark::State& state) {
    DataFileName = Records(static_cast<int>(state.range(0))).file;
    const ListOptions options = SearchOptions(static_cast<int>(state.range(1)));
    qsizetype rows = 0;
    for (auto _ : state) {
        const EmployeeList list = BuildEmployeeRows(options, kToday);
        rows = list.Rows.size();
        benchmark::DoNotOptimize(list.Rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void ListSearch_SQLite(benchmark::State& state) {
    const Data& data = Records(static_cast<int>(state.range(0)));
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(QFile::encodeName(data.database).constData(), &db, SQLITE_OPEN_READONLY, nullptr), db);
    sqlite3_stmt* query = nullptr;
    Check(sqlite3_prepare_v2(db, kSearchQuery, -1, &query, nullptr), db);
    const QByteArray pattern = "%" + QByteArray(kSearches[state.range(1)]) + "%";
    qsizetype rows = 0;
    for (auto _ : state) {
        sqlite3_bind_text(query, 1, pattern.constData(), static_cast<int>(pattern.size()), SQLITE_STATIC);
        // The same rows as the list builds: texts of columns 0 to 2 and the slot number.
        QList<ListRow> list;
        while (sqlite3_step(query) == SQLITE_ROW) {
            ListRow row;
            row.Name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 0)));
            row.Detail = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 1)));
            row.Extra = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, 2)));
            row.Slot = sqlite3_column_int(query, 3);
            list.append(row);
        }
        sqlite3_reset(query);
        rows = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    state.counters["rows"] = static_cast<double>(rows);
}

QString Column(sqlite3_stmt* query, int column) {
    return QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(query, column)),
                             sqlite3_column_bytes(query, column));
}

void List_SQLite(benchmark::State& state) {
    const Data& data = Records(static_cast<int>(state.range(0)));
    sqlite3* db = nullptr;
    Check(sqlite3_open_v2(QFile::encodeName(data.database).constData(), &db, SQLITE_OPEN_READONLY, nullptr), db);
    sqlite3_stmt* query = nullptr;
    Check(sqlite3_prepare_v2(db, kListQueries[state.range(1)], -1, &query, nullptr), db);
    const QByteArray today = kToday.toString(Qt::ISODate).toUtf8();
    qsizetype rows = 0;
    for (auto _ : state) {
        if (state.range(1) != AlphabeticalListing)
            sqlite3_bind_text(query, 1, today.constData(), static_cast<int>(today.size()), SQLITE_STATIC);
        QList<ListRow> list;
        while (sqlite3_step(query) == SQLITE_ROW) {
            ListRow row;
            row.Name = Column(query, 0);
            row.Detail = Column(query, 1);
            row.Extra = Column(query, 2);
            row.Slot = sqlite3_column_int(query, 3);
            row.Key = Column(query, 4);
            list.append(row);
        }
        sqlite3_reset(query);
        rows = list.size();
        benchmark::DoNotOptimize(list.data());
    }
    sqlite3_finalize(query);
    sqlite3_close(db);
    state.counters["rows"] = static_cast<double>(rows);
}

void List_Vardel(benchmark::State& state) {
    DataFileName = Records(static_cast<int>(state.range(0))).file;
    ListOptions options;
    options.TypeList = static_cast<int>(state.range(1));
    qsizetype rows = 0;
    for (auto _ : state) {
        const EmployeeList list = BuildEmployeeRows(options, kToday);
        rows = list.Rows.size();
        benchmark::DoNotOptimize(list.Rows.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void Count_PlainRead(benchmark::State& state) {
    const QString name = Records(static_cast<int>(state.range(0))).file;
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
}

void Count_OpenDataFile(benchmark::State& state) {
    DataFileName = Records(static_cast<int>(state.range(0))).file;
    for (auto _ : state) {
        OpenDataFile();
        CloseDataFile();
        benchmark::DoNotOptimize(CurrentCount);
    }
}

} // namespace

std::vector<int64_t> Sizes() {
    std::vector<int64_t> sizes;
    for (const QByteArray& size : qgetenv("VARDEL_BENCH_SIZES").split(' '))
        if (size.toLongLong() > 0)
            sizes.push_back(size.toLongLong());
    return sizes.empty() ? std::vector<int64_t>{10000, 100000} : sizes;
}

int main(int argc, char** argv) {
    // Arguments: the number of records, then the list type or the search.
    const std::vector<int64_t> sizes = Sizes();
    for (const char* name : {"List_SQLite", "List_Vardel"}) {
        auto* bench = benchmark::RegisterBenchmark(name, name[5] == 'S' ? List_SQLite : List_Vardel);
        bench->ArgsProduct({sizes, {1, 2, 3, 4}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
    }
    for (const char* name : {"ListSearch_SQLite", "ListSearch_Vardel"}) {
        auto* bench = benchmark::RegisterBenchmark(name, name[11] == 'S' ? ListSearch_SQLite : ListSearch_Vardel);
        bench->ArgsProduct({sizes, {0, 1}})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
    }
    for (const char* name : {"Count_PlainRead", "Count_OpenDataFile"}) {
        auto* bench = benchmark::RegisterBenchmark(name, name[6] == 'P' ? Count_PlainRead : Count_OpenDataFile);
        bench->ArgsProduct({sizes})->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
    }
    return RunBenchmarksWithRatios(argc, argv,
                                   {{"List_Vardel", "List_SQLite", 1.0},
                                    {"ListSearch_Vardel", "ListSearch_SQLite", 0.6},
                                    {"Count_OpenDataFile", "Count_PlainRead", 1.1}});
}
