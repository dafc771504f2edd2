// The employee list against its anchors, in one run:
// - the alphabetical list with a text search that includes the notepad, beside SQLite answering the same query
//   (the same fields, a case-insensitive substring search, current employees, ordered by name without case) on
//   the same records in a table; target: at most 1.0 times SQLite;
// - the counting pass of every open of the data file, beside a plain block read of the file; target: at most 2.0.
// Build with CMAKE_BUILD_TYPE=Release for real numbers.

#include "BenchRatios.h"

#include "DataCommands.h"
#include "ui/main/EmployeeList.h"
#include "store/DataFile.h"

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
    const QList<PersonnelRecord> records = MakeDemoRecords(n, 1);
    QFile file(data.file);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        qFatal("cannot create %s", qPrintable(data.file));
    for (const PersonnelRecord& r : records)
        file.write(EncodePersonnelRecord(r));
    file.close();

    sqlite3* db = nullptr;
    Check(sqlite3_open(QFile::encodeName(data.database).constData(), &db), db);
    Check(sqlite3_exec(db,
                       "CREATE TABLE emp (slot INTEGER PRIMARY KEY, FirstName TEXT, MiddleName TEXT, LastName TEXT,"
                       " Suffix TEXT, SocialSecurityNumber TEXT, EmergencyName TEXT, EmergencyRelationship TEXT,"
                       " EmergencyPhone TEXT, StreetAddress TEXT, CityStateZip TEXT, HomePhone TEXT, CellPhone TEXT,"
                       " JobTitle TEXT, EmployeeNumber TEXT, Notepad TEXT, InactivationDate REAL);"
                       "BEGIN;",
                       nullptr, nullptr, nullptr),
          db);
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, "INSERT INTO emp VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr),
          db);
    int slot = 0;
    for (const PersonnelRecord& r : records) {
        // The text as the data file stores it: the code page's characters, and the social security number with
        // its padding.
        const PersonnelRecord s = DecodePersonnelRecord(EncodePersonnelRecord(r).constData());
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
        sqlite3_bind_double(insert, column, s.InactivationDate);
        Check(sqlite3_step(insert), db);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Check(sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr), db);
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

BENCHMARK(ListSearch_SQLite)->ArgsProduct({{10000, 50000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(ListSearch_Vardel)->ArgsProduct({{10000, 50000}, {0, 1}})->Unit(benchmark::kMillisecond);
BENCHMARK(Count_PlainRead)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(Count_OpenDataFile)->Arg(10000)->Arg(50000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    return RunBenchmarksWithRatios(
        argc, argv, {{"ListSearch_Vardel", "ListSearch_SQLite", 1.0}, {"Count_OpenDataFile", "Count_PlainRead", 2.0}});
}
