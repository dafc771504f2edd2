#pragma once

#include "core/quality/DataQuality.h"

#include <QDialog>

#include <vector>

class QLabel;
class QTableWidget;
class ZelButton;

// The data-quality check's findings: one row per problem, the employee, the field and the rule. Choosing a finding
// (double-click, Enter or "Show Employee") closes the window and asks the main window to show that employee.
class frmDataCheck : public QDialog {
    Q_OBJECT

public:
    frmDataCheck(std::vector<QualityFinding> findings, qint64 recordCount, QWidget* parent = nullptr);

    QLabel* lblFindings;
    QTableWidget* gridFindings;
    ZelButton* cmdShowEmployee;
    ZelButton* cmdPrintFindings;
    ZelButton* cmdClose;

    // The slot of the finding chosen to be shown, 0 when none was.
    qint64 ChosenSlot() const { return m_chosenSlot; }
    bool ChosenIsPrevious() const { return m_chosenPrevious; }
    // The findings as printed: one paragraph each, CR LF between lines.
    QString FindingsText() const;

public slots:
    void cmdShowEmployee_Click();
    void cmdPrintFindings_Click();

protected:
    // Enter on a finding shows it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QualityFinding> m_findings;
    qint64 m_chosenSlot = 0;
    bool m_chosenPrevious = false;
};
