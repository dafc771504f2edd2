#pragma once

#include "store/PersonnelRecord.h"
#include "ui/main/ListOptions.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

// One row of the employee list. Column 3 is the record's slot in the data file, the link from a row to its
// record; column 4 is the sort key of the seniority and birthday lists (the alphabetical listing has no column 4).
struct ListRow {
    QString Name;   // column 0: "Last, First"
    QString Detail; // column 1
    QString Extra;  // column 2
    qint32 Slot = 0;
    QString Key; // column 4

    // The text of a column as the grid holds it; empty outside the row's columns.
    QString Cell(int column) const;
    bool operator==(const ListRow&) const = default;
};

// A built list: its rows in display order and how the grid shows them.
struct EmployeeList {
    int TypeList = AlphabeticalListing;
    QList<ListRow> Rows;
    // Counts found by the pass that built the list.
    qint32 RecordCount = 0;
    qint32 CurrentCount = 0;
    qint32 PreviousCount = 0;
};

// 4 for the alphabetical listing, 5 for the others.
int ListColumns(int typeList);
// The grid's format string: header texts separated by "|", "<" aligning a column left.
QString ListFormatString(const ListOptions& options);
// The header texts of a format string, without the alignment marks.
QStringList HeaderTexts(const QString& formatString);
// Widths of columns 1 and 2 in twips; column 0 starts at ListNameWidth.
int ListColumnWidth(int typeList, int column);
inline constexpr int ListNameWidth = 2000;
// How many of columns 0 to 2 the grid shows: the alphabetical listing's third column is a filler one twip wide.
int ListShownColumns(int typeList);
// The column the list is sorted on: 0 (the name) for the alphabetical listing, 4 (the key) for the others.
int ListKeyColumn(int typeList);

// The row of a record that the list takes. today is the date ages and years of service count to.
ListRow MakeListRow(const ListOptions& options, const char* slotBytes, qint32 slot, const QDate& today);
ListRow MakeListRow(const ListOptions& options, const PersonnelRecord& record, qint32 slot, const QDate& today);

// Orders the rows on the list's key column, ascending: names by the locale's collation without regard to letter
// case or accents (NameCollator), the date keys as digits; rows with equal keys keep their order. A list of one row
// is left alone.
void SortListRows(QList<ListRow>& rows, int typeList);

// The grid row (1 = first data row) of the row whose slot is slot; 0 when there is none.
int RowOfSlot(const QList<ListRow>& rows, qint32 slot);

// Reads every slot of DataFileName once and returns the sorted list of the employees the options take, with the
// file's counts (also left in RecordCount, CurrentCount and PreviousCount).
EmployeeList BuildEmployeeRows(const ListOptions& options, const QDate& today);

// BuildEmployeeRows for options whose employment status nobody chose: where the counts leave only one status
// usable, that one is taken, as the main window's status buttons select it by themselves (a file of previous
// employees only lists them under "Previous"). options.EmpStatus is left at the status the list shows.
EmployeeList BuildEmployeeRowsForFileStatus(ListOptions& options, const QDate& today);
