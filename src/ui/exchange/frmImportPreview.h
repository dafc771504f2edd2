#pragma once

#include "core/exchange/EmployeeImport.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class ZelButton;

// The preview of an import: every row of the file with its verdict, before anything is written. "Add" accepts the
// dialog; the caller then adds the accepted rows.
class frmImportPreview : public QDialog {
    Q_OBJECT

public:
    frmImportPreview(const ImportPlan& plan, const QString& fileName, QWidget* parent = nullptr);

    QLabel* lblSummary;
    QTableWidget* gridRows;
    ZelButton* cmdAddAccepted;
    ZelButton* cmdPrintPreview;
    ZelButton* cmdCancel;

    // The verdicts as printed: one line per row.
    QString PreviewText() const;

public slots:
    void cmdPrintPreview_Click();

private:
    const ImportPlan& m_plan;
    QString m_fileName;
};
