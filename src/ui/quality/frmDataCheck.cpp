#include "ui/quality/frmDataCheck.h"

#include "ui/controls/GridKeys.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintCommands.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

frmDataCheck::frmDataCheck(std::vector<QualityFinding> findings, qint64 recordCount, QWidget* parent)
    : QDialog(parent), m_findings(std::move(findings)) {
    setObjectName(QStringLiteral("frmDataCheck"));
    setWindowTitle(QStringLiteral("Check the Data"));
    setModal(true);

    lblFindings = new QLabel(this);
    lblFindings->setObjectName(QStringLiteral("lblFindings"));
    const qsizetype count = qsizetype(m_findings.size());
    lblFindings->setText(count == 0 ? QStringLiteral("No problems were found in %1 records.").arg(recordCount)
                                    : QStringLiteral("%1 problem%2 found in %3 records. Choose one to show the "
                                                     "employee's record.")
                                          .arg(count)
                                          .arg(count == 1 ? QStringLiteral(" was") : QStringLiteral("s were"))
                                          .arg(recordCount));

    gridFindings = new QTableWidget(int(count), 3, this);
    gridFindings->setObjectName(QStringLiteral("gridFindings"));
    gridFindings->setAccessibleName(QStringLiteral("Data-Quality Findings"));
    gridFindings->setHorizontalHeaderLabels(
        {QStringLiteral("Employee"), QStringLiteral("Field"), QStringLiteral("Problem")});
    gridFindings->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridFindings->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridFindings->setSelectionMode(QAbstractItemView::SingleSelection);
    gridFindings->setAlternatingRowColors(true);
    gridFindings->verticalHeader()->hide();
    gridFindings->horizontalHeader()->setStretchLastSection(true);
    for (int row = 0; row < count; ++row) {
        const QualityFinding& f = m_findings[size_t(row)];
        gridFindings->setItem(row, 0, new QTableWidgetItem(f.employee));
        gridFindings->setItem(row, 1, new QTableWidgetItem(f.field));
        gridFindings->setItem(row, 2, new QTableWidgetItem(f.rule));
    }
    gridFindings->resizeColumnsToContents();
    SetUpGridKeys(gridFindings);
    if (count > 0)
        gridFindings->setCurrentCell(0, 0);

    auto button = [this](const QString& name, const QString& caption) {
        auto* b = new ZelButton(this);
        b->setObjectName(name);
        b->setCaption(caption);
        b->setMinimumSize(150, 40);
        return b;
    };
    cmdShowEmployee = button(QStringLiteral("cmdShowEmployee"), QStringLiteral("&Show Employee"));
    cmdPrintFindings = button(QStringLiteral("cmdPrintFindings"), QStringLiteral("&Print the Findings"));
    cmdClose = button(QStringLiteral("cmdClose"), QStringLiteral("&Close"));
    cmdShowEmployee->setEnabled(count > 0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdShowEmployee);
    buttons->addWidget(cmdPrintFindings);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFindings);
    layout->addWidget(gridFindings, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(cmdShowEmployee, &ZelButton::clicked, this, &frmDataCheck::cmdShowEmployee_Click);
    connect(cmdPrintFindings, &ZelButton::clicked, this, &frmDataCheck::cmdPrintFindings_Click);
    connect(cmdClose, &ZelButton::clicked, this, &QDialog::reject);
    connect(gridFindings, &QTableWidget::cellDoubleClicked, this, [this] { cmdShowEmployee_Click(); });
    gridFindings->installEventFilter(this);
    gridFindings->setFocus();
}

void frmDataCheck::cmdShowEmployee_Click() {
    const int row = gridFindings->currentRow();
    if (row < 0 || row >= int(m_findings.size()))
        return;
    m_chosenSlot = m_findings[size_t(row)].slot;
    m_chosenPrevious = m_findings[size_t(row)].previous;
    accept();
}

bool frmDataCheck::eventFilter(QObject* watched, QEvent* event) {
    if (watched == gridFindings && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cmdShowEmployee_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString frmDataCheck::FindingsText() const {
    const QString crLf = QStringLiteral("\r\n");
    QString text = lblFindings->text().section(QStringLiteral(". "), 0, 0) + QLatin1Char('.') + crLf;
    for (const QualityFinding& f : m_findings)
        text += crLf + f.employee + QStringLiteral(" (record ") + QString::number(f.slot) + QStringLiteral("), ") +
                f.field + QStringLiteral(": ") + f.rule;
    return text;
}

void frmDataCheck::cmdPrintFindings_Click() {
    PrintHelpTopicCommand(this, windowTitle(), FindingsText());
}
