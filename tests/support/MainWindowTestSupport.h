#pragma once

#include "core/store/DataFile.h"
#include "core/base/DateRules.h"
#include "core/record/PersonnelRecord.h"

#include "DayTestSupport.h"
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "TempWorkDir.h"
#include "WindowTestSupport.h"

#include "core/base/AppGlobals.h"
#include "ui/common/FadeEngine.h"
#include "ui/help/frmManual.h"
#include "core/print/PrintHelpers.h"
#include "ui/print/PrintJob.h"
#include "core/print/RecordingPrinter.h"
#include "ui/main/EmployeeGrid.h"
#include "ui/main/frmMain.h"
#include "core/users/UserList.h"

#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QTest>
#include <memory>

// Shared set-up for the main window tests: the test classes' fixture, employees in the data file and the help
// window that some paths open.

// Closes the help window as soon as it is shown modally and notes the topic it opened with. The returned timer
// belongs to the caller.
inline QTimer* CloseHelpWhenShown(QString* topic) {
    return whenModalAppears([topic](QWidget* modal) {
        if (auto* help = qobject_cast<frmManual*>(modal)) {
            help->Form_Activate();
            *topic = help->labelHelpTopic->text();
        }
        modal->close();
    });
}

// A fresh working (data) folder, the scripted dialogs service, fading off and Ann Lee logged in, and the main
// window a test opens. Each test class's init() starts with StartMainWindowTest and its cleanup() ends with
// EndMainWindowTest.
class MainWindowTest : public QObject {
protected:
    std::unique_ptr<TempWorkDir> m_dir;
    std::unique_ptr<ScriptedDialogs> m_dialogs;
    QPointer<frmMain> m_window;
    QList<std::shared_ptr<RecordingPrinter>> m_printers; // every printer the test's printouts opened, in order
    QString m_helpTopic;                                 // the topic the help window last opened with
    std::unique_ptr<QTimer> m_helpCloser;                // closes the help window as soon as it shows

    frmMain* OpenWindow() {
        m_window = new frmMain;
        m_window->show();
        m_window->Form_Activate();
        return m_window;
    }

    // The window as a user who turned fading on finds it: open and faded in. The caller checks FadeOn.
    frmMain* OpenFadingWindow() {
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        frmMain* w = OpenWindow();
        w->fade()->WaitForFade();
        return w;
    }

    // The window opened on a missing data file: "Database is empty" is answered and the help window it opens is
    // closed, its topic noted in m_helpTopic.
    frmMain* OpenOnEmptyDatabase() {
        QFile::remove(DataFileName);
        m_helpCloser.reset(CloseHelpWhenShown(&m_helpTopic));
        m_dialogs->answer(MsgResult::OK);
        return OpenWindow();
    }

    // Printouts go to recording printers, kept in m_printers.
    void RecordPrinters() {
        m_printers.clear();
        SetPrinterFactory([this](const QString&) {
            m_printers.append(std::make_shared<RecordingPrinter>());
            return m_printers.last();
        });
    }

    // A picture file of width x height pixels in the working folder; empty when it could not be written.
    QString Picture(const QString& name, int width, int height) {
        const QString path = m_dir->file(name);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(60, 110, 170));
        return image.save(path) ? path : QString();
    }

    void StartMainWindowTest(qint16 accessLevel) {
        m_dir = std::make_unique<TempWorkDir>();
        // A failed check in cleanup can leave the last test's service behind; it must go before the new one.
        m_dialogs.reset();
        m_dialogs = std::make_unique<ScriptedDialogs>();
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("0"));
        // A full-access user's quit offers a backup; the tests that are not about it quit without the offer.
        SaveSetting(QStringLiteral("BackupReminderDays"), QStringLiteral("0"));
        SetFadeSupport(FadeSupport::Auto);
        FadeOn = 0;
        CurrentUserName = QStringLiteral("Ann Lee");
        CurrentAccessLevel = accessLevel;
    }

    // Every dialog the test scripted must have been asked for.
    void EndMainWindowTest() {
        SetPrinterFactory({});
        PrinterReadyConfirmed = false;
        m_helpCloser.reset();
        m_helpTopic.clear();
        delete m_window.data();
        DeleteWindows<frmMain>();
        QCOMPARE(m_dialogs->pending(), 0);
        m_dialogs.reset();
        m_dir.reset();
        SetFadeSupport(FadeSupport::Auto);
    }
};

// The texts of one column of the list, the heading row left out.
inline QStringList GridColumn(const frmMain* w, int column) {
    QStringList texts;
    for (int row = 1; row < w->grid->Rows(); ++row)
        texts << w->grid->TextMatrix(row, column);
    return texts;
}

inline PersonnelRecord Employee(const QString& first, const QString& last, const QString& race = QStringLiteral("W"),
                                const QString& sex = QStringLiteral("M"), double left = 0) {
    PersonnelRecord r;
    r.RecordCreated = Day(2010, 3, 7) + 0.5;
    r.FirstName = first;
    r.LastName = last;
    r.Race = race;
    r.Sex = sex;
    r.Sworn = -1;
    r.DateOfBirth = Day(1980, 3, 7);
    r.DateOfEmployment = Day(1999, 7, 1);
    r.InactivationDate = left;
    r.JobTitle = QStringLiteral("Sergeant");
    r.DataVersion = 312;
    return r;
}

// Cy Gone, who left on 30 June 2004.
inline PersonnelRecord GoneEmployee() {
    return Employee(QStringLiteral("Cy"), QStringLiteral("Gone"), QStringLiteral("B"), QStringLiteral("M"),
                    Day(2004, 6, 30));
}

// The message box a test expects, to the letter.
inline void CheckMessage(const ScriptedDialogs::Call& call, const QString& text, const QString& title, MsgIcon icon,
                         MsgButtons buttons = MsgButtons::OK) {
    QCOMPARE(call.text, text);
    QCOMPARE(call.title, title);
    QCOMPARE(call.icon, icon);
    QCOMPARE(call.buttons, buttons);
}

// Writes the records as the whole data file, slot 1 first.
inline void WriteEmployees(const QList<PersonnelRecord>& records) {
    QByteArray bytes;
    for (const PersonnelRecord& r : records)
        bytes += EncodePersonnelRecord(r);
    writeFile(DataFileName, bytes);
}

inline PersonnelRecord ReadEmployee(qint32 slot) {
    OpenDataFile();
    ReadSlot(slot);
    CloseDataFile();
    return CurrentRecord;
}
