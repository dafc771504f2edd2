#include "ui/main/EmployeeGrid.h"

#include "ui/common/WindowGeometry.h"
#include "ui/controls/GridKeys.h"

#include <QFont>
#include <QHeaderView>
#include <QScrollBar>
#include <QSortFilterProxyModel>

namespace {

constexpr int kMaxColumns = 5;

// The view holds the columns that have a heading, at most the three detail columns: the alphabetical list's "*"
// filler, the slot and the sort key stay in the model for the list's rules, but out of the view and so out of
// what a screen reader announces (readers count hidden columns too).
class ShownColumns : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsColumn(int column, const QModelIndex&) const override {
        return column < 3 && column < static_cast<const EmployeeListModel*>(sourceModel())->Headers().size();
    }
};

} // namespace

void EmployeeListModel::SetList(const QString& formatString, QList<ListRow> rows, int columns) {
    beginResetModel();
    m_rows = std::move(rows);
    m_columns = columns;
    m_headers.clear();
    m_alignments.clear();
    for (const QString& part : formatString.split(QLatin1Char('|'))) {
        Qt::Alignment alignment = Qt::AlignLeft;
        if (part.startsWith(QLatin1Char('^')))
            alignment = Qt::AlignHCenter;
        else if (part.startsWith(QLatin1Char('>')))
            alignment = Qt::AlignRight;
        m_alignments << (alignment | Qt::AlignVCenter);
    }
    m_headers = HeaderTexts(formatString);
    endResetModel();
}

void EmployeeListModel::Clear() {
    SetList(QString(), {}, 0);
}

int EmployeeListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int EmployeeListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_columns;
}

QVariant EmployeeListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_rows.at(index.row()).Cell(index.column());
    case Qt::BackgroundRole:
        // Grid rows 2, 4, 6, ... are model rows 1, 3, 5, ...
        if (index.row() % 2 == 1 && index.column() <= 3)
            return EmployeeGrid::ShadeColour();
        return {};
    case Qt::ForegroundRole:
        // A shaded row is light under any theme: its text is dark. The other rows follow the desktop.
        if (index.row() % 2 == 1 && index.column() <= 3)
            return QColor(Qt::black);
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    default:
        return {};
    }
}

QVariant EmployeeListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return m_headers.value(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(m_alignments.value(section, Qt::AlignLeft | Qt::AlignVCenter));
    return {};
}

EmployeeGrid::EmployeeGrid(QWidget* parent)
    : QTableView(parent), m_model(new EmployeeListModel(this)), m_widths(kMaxColumns, 0) {
    auto* shown = new ShownColumns(this);
    shown->setSourceModel(m_model);
    setModel(shown);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setStyleSheet(QStringLiteral("QTableView { gridline-color: rgb(192, 192, 192); }"));
    SetUpGridKeys(this);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(Twips(255));
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setStretchLastSection(false);
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    horizontalHeader()->setFont(bold);
    horizontalHeader()->setFixedHeight(Twips(285));
    connect(shown, &QAbstractItemModel::modelReset, this, [this] {
        for (int c = 0; c < model()->columnCount(); ++c)
            setColumnWidth(c, Twips(m_widths.value(c)));
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] { emit RowColChange(); });
}

int EmployeeGrid::Twips(int twips) const {
    return TwipsToPixels(twips, this);
}

int EmployeeGrid::Rows() const {
    return m_model->rowCount() + 1;
}

int EmployeeGrid::Cols() const {
    return m_model->columnCount();
}

void EmployeeGrid::Clear() {
    m_model->Clear();
}

void EmployeeGrid::SetList(const QString& formatString, QList<ListRow> rows, int columns) {
    m_model->SetList(formatString, std::move(rows), columns);
}

QString EmployeeGrid::TextMatrix(int row, int column) const {
    if (row == 0)
        return m_model->Headers().value(column);
    if (row < 1 || row >= Rows() || column < 0 || column >= Cols())
        return QString();
    return m_model->ListRows().at(row - 1).Cell(column);
}

QColor EmployeeGrid::CellBackColor(int row, int column) const {
    if (row < 1 || row >= Rows())
        return palette().color(QPalette::Base);
    const QVariant shade = m_model->data(m_model->index(row - 1, column), Qt::BackgroundRole);
    return shade.isValid() ? shade.value<QColor>() : palette().color(QPalette::Base);
}

int EmployeeGrid::Row() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

void EmployeeGrid::SetRow(int row) {
    if (row < 1 || row >= Rows())
        return;
    const QModelIndex index = model()->index(row - 1, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

int EmployeeGrid::TopRow() const {
    if (Rows() <= 1)
        return 0;
    return verticalScrollBar()->value() + 1;
}

void EmployeeGrid::SetTopRow(int row) {
    // The vertical scroll bar counts whole rows.
    verticalScrollBar()->setValue(std::max(0, row - 1));
}

int EmployeeGrid::ColWidth(int column) const {
    return m_widths.value(column);
}

void EmployeeGrid::SetColWidth(int column, int twips) {
    if (column < 0 || column >= kMaxColumns)
        return;
    m_widths[column] = twips;
    if (column < model()->columnCount())
        setColumnWidth(column, Twips(twips));
}

int EmployeeGrid::ViewWidth() const {
    return width() - 2 * frameWidth() - verticalScrollBar()->sizeHint().width();
}

bool EmployeeGrid::ColIsVisible(int column) const {
    if (column < 0 || column >= Cols())
        return false;
    int left = 0;
    for (int c = 0; c < column; ++c)
        left += Twips(m_widths.value(c));
    return left < ViewWidth();
}
