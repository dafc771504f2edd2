#pragma once

#include "ui/main/ListOptions.h"
#include "store/PersonnelRecord.h"

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
// The column the list is sorted on: 0 (the name) for the alphabetical listing, 4 (the key) for the others.
int ListKeyColumn(int typeList);

// The row of a record that the list takes. today is the date ages and years of service count to.
ListRow MakeListRow(const ListOptions& options, const char* slotBytes, qint32 slot, const QDate& today);
ListRow MakeListRow(const ListOptions& options, const PersonnelRecord& record, qint32 slot, const QDate& today);

// Appends the sort key of a key column's text to keys: bytes whose order (byte by byte, a shorter key first when it
// is the start of a longer one) is the list's order of the texts.
void AppendListSortKey(QByteArray& keys, const QString& text);

// Orders the rows on the list's key column, ascending, without regard to letter case; rows with equal keys keep
// their order. A list of one row is left alone.
void SortListRows(QList<ListRow>& rows, int typeList);

// The grid row (1 = first data row) of the row whose slot is slot; 0 when there is none.
int RowOfSlot(const QList<ListRow>& rows, qint32 slot);

// Reads every slot of DataFileName once and returns the sorted list of the employees the options take, with the
// file's counts (also left in RecordCount, CurrentCount and PreviousCount).
EmployeeList BuildEmployeeRows(const ListOptions& options, const QDate& today);
