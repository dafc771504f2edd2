#pragma once

#include "core/history/ChangeLog.h"

#include <QWidget>

class QTabWidget;
class QTableWidget;
class ZelButton;

// The record form's "History" page: the events of the employee shown, newest first, in a read-only grid, and a
// button that prints them. Every access level sees it. The log is read only while the page is in view, so that
// moving through the list costs nothing more while another page shows.
class HistoryPage : public QWidget {
    Q_OBJECT

public:
    explicit HistoryPage(QWidget* parent = nullptr);

    QTableWidget* gridHistory;
    ZelButton* cmdPrintHistory;

    // The employee in slot of the data file, as the list names him or her; 0 for none (a new entry).
    void ShowRecord(qint32 slot, const QString& listedName);
    const QList<ChangeEvent>& Events() const { return m_events; }

    void cmdPrintHistory_Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Reload();

    qint32 m_slot = 0;
    QString m_listedName;
    bool m_stale = true;
    QList<ChangeEvent> m_events;
};

// Puts the "History" page after the last page of the record form's tabs.
HistoryPage* AddHistoryPage(QTabWidget* tabNameInfo);
// The page's part of showing a record (ShowEmployeeRecord).
void ShowRecordHistory(QTabWidget* tabNameInfo, qint32 slot, const QString& listedName);

// A read-only grid of events: date, user, event, field, old → new, and with withEmployee the employee; each
// change whole in its tool tip. Shared with the administration window's review.
void SetUpHistoryGrid(QTableWidget* grid, bool withEmployee);
void FillHistoryGrid(QTableWidget* grid, const QList<ChangeEvent>& events);

// The events of the data folder's log, read again only when the file changed since the last read.
const QList<ChangeEvent>& CurrentChangeLog();

// Prints events under heading through the printer device, the window busy meanwhile.
void PrintChangeHistoryCommand(QWidget* window, const QString& heading, const QList<ChangeEvent>& events);
