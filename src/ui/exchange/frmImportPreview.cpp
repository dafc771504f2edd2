#include "ui/exchange/frmImportPreview.h"

#include "ui/controls/GridKeys.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintCommands.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

frmImportPreview::frmImportPreview(const ImportPlan& plan, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_plan(plan), m_fileName(fileName) {
    setObjectName(QStringLiteral("frmImportPreview"));
    setWindowTitle(QStringLiteral("Import Employees - ") + QFileInfo(fileName).fileName());
    setModal(true);

    lblSummary = new QLabel(this);
    lblSummary->setObjectName(QStringLiteral("lblSummary"));
    lblSummary->setWordWrap(true);
    QString summary = QStringLiteral("%1 of %2 rows will be added; nothing is written until you choose \"Add the "
                                     "Accepted Employees\".")
                          .arg(plan.accepted())
                          .arg(plan.rows.size());
    if (!plan.ignoredColumns.isEmpty())
        summary += QStringLiteral("\nColumns not imported: ") + plan.ignoredColumns.join(QStringLiteral(", ")) +
                   QLatin1Char('.');
    lblSummary->setText(summary);

    gridRows = new QTableWidget(int(plan.rows.size()), 3, this);
    gridRows->setObjectName(QStringLiteral("gridRows"));
    gridRows->setAccessibleName(QStringLiteral("Rows to Import"));
    gridRows->setHorizontalHeaderLabels({QStringLiteral("Row"), QStringLiteral("Employee"), QStringLiteral("Verdict")});
    gridRows->setEditTriggers(QAbstractItemView::NoEditTriggers);
    gridRows->setSelectionBehavior(QAbstractItemView::SelectRows);
    gridRows->verticalHeader()->hide();
    gridRows->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < plan.rows.size(); ++r) {
        const ImportRow& row = plan.rows[r];
        gridRows->setItem(r, 0, new QTableWidgetItem(QString::number(row.line)));
        gridRows->setItem(r, 1, new QTableWidgetItem(row.name));
        auto* verdict = new QTableWidgetItem(ImportVerdictText(row));
        // Marked by more than colour: the verdict's words say it too.
        if (!row.accepted)
            verdict->setForeground(QColor(160, 0, 0));
        gridRows->setItem(r, 2, verdict);
    }
    gridRows->resizeColumnsToContents();
    SetUpGridKeys(gridRows);

    auto button = [this](const QString& name, const QString& caption) {
        auto* b = new ZelButton(this);
        b->setObjectName(name);
        b->setCaption(caption);
        b->setMinimumSize(170, 40);
        return b;
    };
    cmdAddAccepted = button(QStringLiteral("cmdAddAccepted"), QStringLiteral("&Add the Accepted Employees"));
    cmdPrintPreview = button(QStringLiteral("cmdPrintPreview"), QStringLiteral("&Print this Preview"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("&Cancel"));
    cmdAddAccepted->setEnabled(plan.accepted() > 0);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAddAccepted);
    buttons->addWidget(cmdPrintPreview);
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSummary);
    layout->addWidget(gridRows, 1);
    layout->addLayout(buttons);
    resize(760, 480);

    connect(cmdAddAccepted, &ZelButton::clicked, this, &QDialog::accept);
    connect(cmdPrintPreview, &ZelButton::clicked, this, &frmImportPreview::cmdPrintPreview_Click);
    connect(cmdCancel, &ZelButton::clicked, this, &QDialog::reject);
    gridRows->setFocus();
}

QString frmImportPreview::PreviewText() const {
    QString text = lblSummary->text().section(QLatin1Char(';'), 0, 0) + QStringLiteral(" (") + m_fileName +
                   QStringLiteral(").\r\n");
    for (const ImportRow& row : m_plan.rows)
        text += QStringLiteral("\r\nRow %1, %2: %3").arg(row.line).arg(row.name, ImportVerdictText(row));
    return text;
}

void frmImportPreview::cmdPrintPreview_Click() {
    PrintHelpTopicCommand(this, QStringLiteral("Import Preview"), PreviewText());
}
