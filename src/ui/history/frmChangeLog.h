#pragma once

#include "core/history/ChangeLog.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QTableWidget;
class ZelButton;

// The administration window's review of the change history: every event, newest first, narrowed by part of the
// employee's or the user's name and by a range of dates, with the state of the chain above the grid.
class frmChangeLog : public QDialog {
    Q_OBJECT

public:
    explicit frmChangeLog(QWidget* parent = nullptr);

    QLineEdit* txtEmployee;
    QLineEdit* txtUser;
    QLineEdit* txtSince;
    QLineEdit* txtUntil;
    QLabel* lblChain;
    QTableWidget* gridChangeLog;
    ZelButton* cmdPrint;
    ZelButton* cmdClose;

    // The events the grid shows, newest first.
    const QList<ChangeEvent>& Shown() const { return m_shown; }

    void ApplyFilter();
    void cmdPrint_Click();

private:
    QList<ChangeEvent> m_all;
    QList<ChangeEvent> m_shown;
};
