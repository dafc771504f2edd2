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

#include "BenchRatios.h"

#include "DataCommands.h"
#include "ui/main/EmployeeList.h"
#include "store/DataFile.h"
#include "store/DateRules.h"

#include <QDate>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <map>

namespace {

const QDate kToday(2026, 12, 6);
// A word of the service histories (found in many records) and a name (found in a few).
const char* const kSearches[] = {"transferred", "o'brien"};

QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

// The indexes a user of SQLite would make for these lists: each query filters on the status and sorts on its key.
const char* const kIndexes =
    "CREATE INDEX emp_name ON emp(InactivationDate, (LastName || ', ' || FirstName) COLLATE NOCASE);"
    "CREATE INDEX emp_hired ON emp(InactivationDate, DateOfEmployment);"
    "CREATE INDEX emp_born ON emp(InactivationDate, DateOfBirth);"
    "CREATE INDEX emp_birthday ON emp(InactivationDate, strftime('%m%d', DateOfBirth));"
    "ANALYZE;";

// Each list type's query: columns 0 to 2 as the list shows them, the slot, and the key column. ?1 is today.
const char* const kListQueries[] = {
    nullptr,
    "SELECT LastName || ', ' || FirstName, JobTitle, '*', slot, NULL FROM emp WHERE InactivationDate = 0"
    " ORDER BY (LastName || ', ' || FirstName) COLLATE NOCASE",
    "SELECT LastName || ', ' || FirstName, JobTitle, strftime('%m/%d/%Y', DateOfEmployment) || ' (' ||"
    " (strftime('%Y', ?1) - strftime('%Y', DateOfEmployment) - (strftime('%m%d', ?1) < strftime('%m%d',"
    " DateOfEmployment))) || ')', slot, strftime('%Y%m%d', DateOfEmployment) FROM emp WHERE InactivationDate = 0"
    " ORDER BY DateOfEmployment",
    "SELECT LastName || ', ' || FirstName, strftime('%m/%d/%Y', DateOfBirth), strftime('%Y', ?1) -"
    " strftime('%Y', DateOfBirth) - (strftime('%m%d', ?1) < strftime('%m%d', DateOfBirth)), slot,"
    " strftime('%Y%m%d', DateOfBirth) FROM emp WHERE InactivationDate = 0 ORDER BY DateOfBirth",
    "SELECT LastName || ', ' || FirstName, substr('JanFebMarAprMayJunJulAugSepOctNovDec', strftime('%m',"
    " DateOfBirth) * 3 - 2, 3) || ' ' || strftime('%d', DateOfBirth), ' (' || (strftime('%Y', ?1) -"
    " strftime('%Y', DateOfBirth)) || ')', slot, strftime('%m%d', DateOfBirth) FROM emp WHERE InactivationDate = 0"
    " ORDER BY strftime('%m%d', DateOfBirth)",
};

struct Data {
    QString file;
    QString database;
};

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

// The same sample employees, once as a data file and once as a SQLite table, made once per size.
const Data& Records(int n) {
    static std::map<int, Data> made;
    if (auto it = made.find(n); it != made.end())
        return it->second;
    Data data{WorkDir().filePath(QStringLiteral("Bench%1.Data").arg(n)),
              WorkDir().filePath(QStringLiteral("Bench%1.sqlite").arg(n))};
    QFile file(data.file);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(data.file));

    sqlite3* db = nullptr;
    Check(sqlite3_open(QFile::encodeName(data.database).constData(), &db), db);
    Check(sqlite3_exec(db,
                       "CREATE TABLE emp (slot INTEGER PRIMARY KEY, FirstName TEXT, MiddleName TEXT, LastName TEXT,"
                       " Suffix TEXT, SocialSecurityNumber TEXT, EmergencyName TEXT, EmergencyRelationship TEXT,"
                       " EmergencyPhone TEXT, StreetAddress TEXT, CityStateZip TEXT, HomePhone TEXT, CellPhone TEXT,"
                       " JobTitle TEXT, EmployeeNumber TEXT, Notepad TEXT, InactivationDate REAL,"
                       " DateOfBirth TEXT, DateOfEmployment TEXT);"
                       "BEGIN;",
                       nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO emp VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr),
          db);
    DemoRecords demo(1);
    for (int slot = 0; slot < n;) {
        // The text as the data file stores it: the code page's characters, and the social security number with
        // its padding.
        const QByteArray bytes = EncodePersonnelRecord(demo.next());
        file.write(bytes);
        const PersonnelRecord s = DecodePersonnelRecord(bytes.constData());
        const QString texts[] = {s.FirstName,
                                 s.MiddleName,
                                 s.LastName,
                                 s.Suffix,
                                 s.SocialSecurityNumber.leftJustified(11, QLatin1Char(' ')),
                                 s.EmergencyName,
                                 s.EmergencyRelationship,
                                 s.EmergencyPhone,
                                 s.StreetAddress,
                                 s.CityStateZip,
                                 s.HomePhone,
                                 s.CellPhone,
                                 s.JobTitle,
                                 s.EmployeeNumber,
                                 s.Notepad};
        sqlite3_bind_int(insert, 1, ++slot);
        int column = 2;
        for (const QString& text : texts) {
            const QByteArray utf8 = text.toUtf8();
            sqlite3_bind_text(insert, column++, utf8.constData(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        }
        sqlite3_bind_double(insert, column++, s.InactivationDate);
        // Dates as a SQLite user keeps them: ISO text, which its date functions read.
        for (const double date : {s.DateOfBirth, s.DateOfEmployment}) {
            const QByteArray iso = OADateToDate(date).toString(Qt::ISODate).toUtf8();
            sqlite3_bind_text(insert, column++, iso.constData(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
        }
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    file.close();
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
    Check(sqlite3_exec(db, kIndexes, nullptr, nullptr, nullptr), db);
    sqlite3_close(db);
    return made.emplace(n, data).first->second;
}

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
    Check(sqlite3_prepare_v2(
              db,
              "SELECT LastName || ', ' || FirstName AS Name, JobTitle, '*', slot FROM emp"
              " WHERE InactivationDate = 0 AND (FirstName || ' ' || MiddleName || ' ' || LastName || ' ' || Suffix"
              " || ' ' || SocialSecurityNumber || ' ' || EmergencyName || ' ' || EmergencyRelationship || ' ' ||"
              " EmergencyPhone || ' ' || StreetAddress || ' ' || CityStateZip || ' ' || HomePhone || ' ' || CellPhone"
              " || ' ' || JobTitle || ' ' || EmployeeNumber || ' ' || Notepad) LIKE ?1 ESCAPE '\\'"
              " ORDER BY Name COLLATE NOCASE",
              -1, &query, nullptr),
          db);
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
