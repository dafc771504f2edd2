#pragma once

#include "core/list/ListOptions.h"
#include "core/record/PersonnelRecord.h"

#include <QByteArrayView>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

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

// A built list kept as bytes: each row's slot, and its name and column-1 text in the code page (with its date for
// the lists that count from one) in one block of bytes; the texts of a row's columns are made when it is read. A
// list of many thousand rows holds a few dozen bytes a row rather than a string per cell. The rows are in display
// order, the same rows in the same order as BuildEmployeeRows gives.
// Bytes appended in pieces and found again by the offset each piece was given. They are kept in blocks of a fixed
// size, so that growing never copies what is there or holds room for twice of it; a piece never spans two blocks.
class ByteBlocks {
public:
    static constexpr quint32 BlockSize = 64 * 1024;
    // Where the next piece of size bytes (at most BlockSize) will start; append its bytes right after.
    quint32 start(qsizetype size);
    void append(const char* data, qsizetype size) { m_blocks.back().append(data, size); }
    void append(char byte) { m_blocks.back().append(byte); }
    const char* bytesAt(quint32 offset) const { return m_blocks[offset / BlockSize].constData() + offset % BlockSize; }
    void clear() { m_blocks.clear(); }

private:
    std::vector<QByteArray> m_blocks;
};

class CompactEmployeeList {
public:
    int TypeList = AlphabeticalListing;
    qint32 RecordCount = 0;
    qint32 CurrentCount = 0;
    qint32 PreviousCount = 0;

    qsizetype size() const { return static_cast<qsizetype>(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }
    qint32 slot(qsizetype row) const { return m_rows[static_cast<size_t>(row)].slot; }
    // The code-page bytes of columns 0 and 1 of a row.
    QByteArrayView nameBytes(qsizetype row) const;
    QByteArrayView detailBytes(qsizetype row) const;
    // A column's text as ListRow::Cell gives it.
    QString cell(qsizetype row, int column) const;
    ListRow row(qsizetype row) const;

    // Building: Begin with the list's options and the date ages count to, Add each record the list takes in slot
    // order (its 5000 bytes), then Sort into display order.
    void Begin(const ListOptions& options, const QDate& today);
    void Add(const char* slotBytes, qint32 slot);
    void Sort();
    // Room for rows, so that the rows are never moved while the list grows.
    void Reserve(qsizetype rows) { m_rows.reserve(static_cast<size_t>(rows)); }

private:
    struct Row {
        quint32 text; // where the row's bytes start in m_text
        qint32 slot;
    };
    QByteArrayView field(qsizetype row, int index) const;
    double rowDate(qsizetype row) const;

    std::vector<Row> m_rows;
    ByteBlocks m_text;
    int m_listWith = 0;
    QDate m_today;
    double m_now = 0;
};

// BuildEmployeeRows and BuildEmployeeRowsForFileStatus as compact lists: the same rows in the same order.
CompactEmployeeList BuildCompactEmployeeList(const ListOptions& options, const QDate& today);
CompactEmployeeList BuildCompactEmployeeListForFileStatus(ListOptions& options, const QDate& today);

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
