#pragma once

#include "core/list/EmployeeList.h"

#include <QAbstractTableModel>
#include <QTableView>

// The rows of the employee list as one table model, reset once per build. Row shading and the header answer from
// the model; nothing is set cell by cell.
class EmployeeListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void SetList(const QString& formatString, QList<ListRow> rows, int columns);
    void Clear();
    const QList<ListRow>& ListRows() const { return m_rows; }
    const QStringList& Headers() const { return m_headers; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<ListRow> m_rows;
    QStringList m_headers;
    QList<Qt::Alignment> m_alignments;
    int m_columns = 0;
};

// The grid of the employee list, with the operations of the list's rules in its own terms: row 0 is the fixed
// header row and rows 1 to Rows() - 1 are the employees; widths are in twips. Columns 3 (the slot number) and 4
// (the sort key) are never shown.
class EmployeeGrid : public QTableView {
    Q_OBJECT

public:
    explicit EmployeeGrid(QWidget* parent = nullptr);

    // Shading colour of every second data row, starting with row 2, in columns 0 to 3.
    static QColor ShadeColour() { return QColor(240, 240, 240); }

    // Header row plus data rows: 1 when the grid holds no employee.
    int Rows() const;
    int Cols() const;
    // Cuts the grid to its header row.
    void Clear();
    // Fills the grid with a built list: the header texts of the format string, then the rows.
    void SetList(const QString& formatString, QList<ListRow> rows, int columns);
    const QList<ListRow>& ListRows() const { return m_model->ListRows(); }

    // Text of a cell; row 0 gives the header texts. Empty outside the grid.
    QString TextMatrix(int row, int column) const;
    QColor CellBackColor(int row, int column) const;

    // The highlighted row, 0 when none; setting it selects the whole row.
    int Row() const;
    void SetRow(int row);
    // The first data row in view.
    int TopRow() const;
    void SetTopRow(int row);

    int ColWidth(int column) const;
    void SetColWidth(int column, int twips);
    // Whether any part of the column lies within the grid's width, with the columns at their widths.
    bool ColIsVisible(int column) const;

signals:
    // The highlighted row changed.
    void RowColChange();

private:
    int Twips(int twips) const;
    int ViewWidth() const;

    EmployeeListModel* m_model;
    QList<int> m_widths; // twips, per column
};
