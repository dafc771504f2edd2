#pragma once

// The sample employees of vardel-data's demo, once as a data file and once as a SQLite table with the indexes a
// user of SQLite would make, and the SQL of each list: the anchors of the list benchmarks.

#include "DataCommands.h"
#include "core/base/DateRules.h"
#include "core/record/PersonnelRecord.h"

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <map>

namespace BenchData {

// The indexes a user of SQLite would make for these lists: each query filters on the status and sorts on its key.
inline const char* const kIndexes =
    "CREATE INDEX emp_name ON emp(InactivationDate, (LastName || ', ' || FirstName) COLLATE NOCASE);"
    "CREATE INDEX emp_hired ON emp(InactivationDate, DateOfEmployment);"
    "CREATE INDEX emp_born ON emp(InactivationDate, DateOfBirth);"
    "CREATE INDEX emp_birthday ON emp(InactivationDate, strftime('%m%d', DateOfBirth));"
    "ANALYZE;";

// Each list type's query: columns 0 to 2 as the list shows them, the slot, and the key column. ?1 is today.
inline const char* const kListQueries[] = {
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

// The alphabetical list of current employees whose texts (notepad included) hold ?1, as a LIKE pattern.
inline const char* const kSearchQuery =
    "SELECT LastName || ', ' || FirstName AS Name, JobTitle, '*', slot FROM emp"
    " WHERE InactivationDate = 0 AND (FirstName || ' ' || MiddleName || ' ' || LastName || ' ' || Suffix"
    " || ' ' || SocialSecurityNumber || ' ' || EmergencyName || ' ' || EmergencyRelationship || ' ' ||"
    " EmergencyPhone || ' ' || StreetAddress || ' ' || CityStateZip || ' ' || HomePhone || ' ' || CellPhone"
    " || ' ' || JobTitle || ' ' || EmployeeNumber || ' ' || Notepad) LIKE ?1 ESCAPE '\\'"
    " ORDER BY Name COLLATE NOCASE";

inline QTemporaryDir& WorkDir() {
    static QTemporaryDir dir;
    return dir;
}

struct Data {
    QString file;
    QString database;
};

inline void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        qFatal("sqlite: %s", sqlite3_errmsg(db));
}

inline // The same sample employees, once as a data file and once as a SQLite table, made once per size.
    const Data&
    Records(int n) {
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
    Check(
        sqlite3_prepare_v2(db, "INSERT INTO emp VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr),
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

} // namespace BenchData
