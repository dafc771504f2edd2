#include "FileSizeLimit.h"
#include "MainWindowTestSupport.h"

#include "core/history/ChangeLog.h"
#include "ui/history/HistoryPage.h"
#include "ui/history/HistoryRefusal.h"
#include "core/history/RecordHistory.h"
#include "ui/main/EntryField.h"

#include <QTabWidget>
#include <QTableWidget>
#include <QtTest>

// The record form's "History" page shows an edit as it is saved; an edit the history cannot take is refused with
// the reason, and the form keeps what was typed.
class tst_HistoryPage : public MainWindowTest {
    Q_OBJECT

private slots:
    void initTestCase() { InitProgramValues(); }
    void init() {
        StartMainWindowTest(2);
        WriteEmployees({Employee(QStringLiteral("Bo"), QStringLiteral("Baker"))});
    }
    void cleanup() { EndMainWindowTest(); }

    void editShowsOnTheHistoryPage_data() {
        QTest::addColumn<bool>("logFull");
        QTest::newRow("saved") << false;
        QTest::newRow("history cannot be written") << true;
    }

    void editShowsOnTheHistoryPage() {
        QFETCH(bool, logFull);
        RecordPrinters();
        frmMain* w = OpenWindow();
        auto* page = w->tabNameInfo->findChild<HistoryPage*>();
        QVERIFY(page);
        QCOMPARE(w->tabNameInfo->indexOf(page), 5);
        QCOMPARE(w->tabNameInfo->tabText(5), QStringLiteral("History"));
        const QByteArray data = readFile(DataFileName);

        w->cmdEditEntry_Click();
        w->txtField[18]->setText(QStringLiteral("Lieutenant"));
        if (logFull) {
            m_dialogs->answer(MsgResult::OK);
            const FileSizeLimit full(0);
            w->cmdAddEditSave_Click();
        } else {
            w->cmdAddEditSave_Click();
        }
        w->tabNameInfo->setCurrentIndex(5);

        if (logFull) {
            QCOMPARE(m_dialogs->last().title, ChangeRefusedTitle);
            QVERIFY(m_dialogs->last().text.startsWith(ChangeRefusedText(QString())));
            QVERIFY(m_dialogs->last().text.endsWith(QStringLiteral("File too large")));
            QVERIFY(w->Editing);
            QCOMPARE(w->txtField[18]->text(), QStringLiteral("Lieutenant"));
            QCOMPARE(readFile(DataFileName), data);
            QCOMPARE(page->gridHistory->rowCount(), 0);
            w->cmdAddEditCancel_Click();
            return;
        }
        QCOMPARE(page->gridHistory->rowCount(), 1);
        QCOMPARE(page->gridHistory->item(0, 1)->text(), QStringLiteral("Ann Lee"));
        QCOMPARE(page->gridHistory->item(0, 1)->toolTip(), QStringLiteral("Ann Lee (Read/Edit)"));
        QCOMPARE(page->gridHistory->item(0, 2)->text(), QStringLiteral("edited"));
        QCOMPARE(page->gridHistory->item(0, 3)->text(), QStringLiteral("Job Title"));
        QCOMPARE(page->gridHistory->item(0, 4)->text(), QStringLiteral("Sergeant → Lieutenant"));

        page->cmdPrintHistory_Click();
        QCOMPARE(m_printers.size(), 1);
        QString printed;
        for (const RecordingPrinter::Text& t : m_printers[0]->texts)
            printed += t.text;
        QVERIFY2(printed.contains(QStringLiteral("Change History of Baker, Bo")), qPrintable(printed));
        QVERIFY(printed.contains(QStringLiteral("Sergeant")));
    }

    // A removal the history cannot take removes no one.
    void removalRefusedOnAFullDisk() {
        CurrentAccessLevel = 4;
        frmMain* w = OpenWindow();
        const QByteArray data = readFile(DataFileName);
        m_dialogs->answer(MsgResult::Yes);
        m_dialogs->answer(MsgResult::OK);
        {
            const FileSizeLimit full(0);
            w->cmdRemoveEmployee_Click();
        }
        QCOMPARE(m_dialogs->last().title, ChangeRefusedTitle);
        QCOMPARE(readFile(DataFileName), data);
        QVERIFY(!QFile::exists(ChangeLogFileName));
        QVERIFY(w->isEnabled());
    }
};

QTEST_MAIN(tst_HistoryPage)
#include "tst_historypage.moc"
