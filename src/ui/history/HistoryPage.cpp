#include "ui/history/HistoryPage.h"

#include "core/employees/EmployeeChanges.h"
#include "core/history/RecordHistory.h"
#include "core/print/HistoryPrintout.h"
#include "core/store/PersonnelStore.h"
#include "ui/common/WindowGeometry.h"
#include "ui/controls/ZelButton.h"
#include "ui/print/PrintJob.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QTabWidget>
#include <QTableWidget>

namespace {

const QStringList kColumns = {QStringLiteral("Date"),  QStringLiteral("User"),      QStringLiteral("Event"),
                              QStringLiteral("Field"), QStringLiteral("Old → New"), QStringLiteral("Employee")};

} // namespace

const QList<ChangeEvent>& CurrentChangeLog() {
    static QList<ChangeEvent> events;
    static QByteArray readUnder;
    // Parsing a long history is the slow part: it is done again only when the store says the history may differ.
    const QByteArray stamp = ActiveStore().HistoryStamp();
    if (stamp.isEmpty() || stamp != readUnder) {
        events = ParseChangeLog(ActiveChangeLog());
        readUnder = stamp;
    }
    return events;
}

void SetUpHistoryGrid(QTableWidget* grid, bool withEmployee) {
    grid->setColumnCount(int(kColumns.size()) - (withEmployee ? 0 : 1));
    grid->setHorizontalHeaderLabels(kColumns);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->setWordWrap(false);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
    grid->horizontalHeader()->setStretchLastSection(true);
    // What changed comes first and the kind of event last; the review of the whole log names the employee right
    // after the moment.
    grid->horizontalHeader()->moveSection(2, 4);
    if (withEmployee)
        grid->horizontalHeader()->moveSection(5, 1);
}

void FillHistoryGrid(QTableWidget* grid, const QList<ChangeEvent>& events) {
    grid->setRowCount(0);
    grid->setRowCount(int(events.size()));
    for (int row = 0; row < events.size(); ++row) {
        const ChangeEvent& e = events[row];
        const QStringList cells = {HistoryWhenText(e), e.User, e.Event, e.Field, HistoryChangeText(e), e.Employee};
        for (int column = 0; column < grid->columnCount(); ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // A notepad's change is long: the tip shows it whole, with its line breaks.
            // The user's access level, too, is in the tip.
            item->setToolTip(column == 4 && !e.Field.isEmpty() ? e.OldValue + QStringLiteral("\n→\n") + e.NewValue
                             : column == 1                     ? HistoryUserText(e)
                                                               : cells[column]);
            grid->setItem(row, column, item);
        }
    }
    grid->resizeColumnsToContents();
    // The change column takes what is left, however long a notepad is.
    if (grid->columnWidth(4) > TwipsToPixels(3000, grid))
        grid->setColumnWidth(4, TwipsToPixels(3000, grid));
}

void PrintChangeHistoryCommand(QWidget* window, const QString& heading, const QList<ChangeEvent>& events) {
    PrintJob job(window, QStringLiteral("Change History"));
    {
        BusyPrintOwner busy(window);
        PrintChangeHistory(job.printer(), &busy, heading, events);
    }
    job.finish();
}

HistoryPage::HistoryPage(QWidget* parent) : QWidget(parent) {
    const auto Twips = [this](int twips) { return TwipsToPixels(twips, this); };
    setObjectName(QStringLiteral("tabNameInfoPage(5)"));
    gridHistory = new QTableWidget(this);
    gridHistory->setObjectName(QStringLiteral("gridHistory"));
    gridHistory->setAccessibleName(QStringLiteral("Change History"));
    gridHistory->setGeometry(Twips(90), Twips(90), Twips(6420), Twips(2535));
    SetUpHistoryGrid(gridHistory, false);
    cmdPrintHistory = new ZelButton(this);
    cmdPrintHistory->setObjectName(QStringLiteral("cmdPrintHistory"));
    cmdPrintHistory->setGeometry(Twips(6600), Twips(90), Twips(1110), Twips(600));
    cmdPrintHistory->setCaption(QStringLiteral("Print\r\nHist&ory"));
    cmdPrintHistory->setToolTip(QStringLiteral(" Print the history of this employee "));
    connect(cmdPrintHistory, &ZelButton::clicked, this, &HistoryPage::cmdPrintHistory_Click);
}

void HistoryPage::ShowRecord(qint32 slot, const QString& listedName) {
    m_slot = slot;
    m_listedName = listedName;
    m_stale = true;
    if (isVisible())
        Reload();
}

void HistoryPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_stale)
        Reload();
}

void HistoryPage::Reload() {
    m_stale = false;
    m_events = m_slot > 0 ? EventsOfRecord(CurrentChangeLog(), SlotIdentity(m_slot)) : QList<ChangeEvent>();
    FillHistoryGrid(gridHistory, m_events);
    cmdPrintHistory->setEnabled(m_slot > 0);
}

void HistoryPage::cmdPrintHistory_Click() {
    if (m_stale)
        Reload();
    PrintChangeHistoryCommand(window(), QStringLiteral("Change History of ") + m_listedName, m_events);
}

HistoryPage* AddHistoryPage(QTabWidget* tabNameInfo) {
    auto* page = new HistoryPage;
    tabNameInfo->addTab(page, QStringLiteral("History"));
    return page;
}

void ShowRecordHistory(QTabWidget* tabNameInfo, qint32 slot, const QString& listedName) {
    if (auto* page = tabNameInfo->findChild<HistoryPage*>())
        page->ShowRecord(slot, listedName);
}
