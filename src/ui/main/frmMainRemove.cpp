// Removing the highlighted employee from the personnel data file.

#include "ui/main/frmMain.h"

#include "core/base/AppGlobals.h"
#include "core/base/MappedFile.h"
#include "core/employees/EmployeeChanges.h"
#include "core/employees/EmployeeRemoval.h"
#include "core/history/RecordHistory.h"
#include "core/store/PersonnelStore.h"
#include "ui/common/BusyWindow.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/history/HistoryRefusal.h"
#include "ui/main/EmployeeGrid.h"

QString frmMain::RemoveQuestion(const QString& listedName) {
    return QStringLiteral("Are your SURE you want to permanently remove\r\n\r\n") + listedName +
           QStringLiteral("\r\n\r\nfrom this personnel database?");
}

void frmMain::cmdRemoveEmployee_Click() {
    const int row = grid->Row();
    if (row < 1)
        return;
    const QString listedName = grid->TextMatrix(row, 0);
    const qint32 slot = HighlightedSlot();

    if (FadeOn) {
        FadeWindow(255, 204, 2, false);
        m_fade->WaitForFade();
    }
    const MsgResult answer = dialogs().MessageBox(this, RemoveQuestion(listedName), QStringLiteral("Confirm"),
                                                  MsgIcon::Question, MsgButtons::YesNo, MsgResult::No);
    if (FadeOn) {
        FadeWindow(204, 255, 2, false);
        m_fade->WaitForFade();
    }
    if (answer != MsgResult::Yes)
        return;

    RemovalResult result;
    try {
        // The window is usable again before it says that the history refused the removal.
        if (!ChangeOrExplain(this, [&] {
                const BusyWindow busy(this);
                // Its passes over the data file read one mapping of it.
                const MappedFileSharing sharing;
                result = RemoveEmployeeWithHistory(slot, listedName, m_shownVersion);
            }))
            return;
    } catch (const StoreConflict& conflict) {
        ShowConflict(conflict, QStringLiteral("Employee Not Removed"));
        return;
    }
    BuildEmployeeList();
    if (grid->Rows() > 1) {
        const int shown = std::min(row, grid->Rows() - 1);
        grid->SetRow(shown);
        grid->SetTopRow(shown);
        ShowEmployeeRecord();
        // The keyboard goes on in the list, as after every build; the busy window had taken the focus away.
        grid->setFocus();
    }
    if (!result.Removed) {
        // Another program changed the file after the list was built: the row no longer led to this employee.
        dialogs().MessageBox(this, RemoveRefusedText(listedName), QStringLiteral("Employee Not Removed"),
                             MsgIcon::Critical, MsgButtons::OK);
    }
}

QString frmMain::RemoveRefusedText(const QString& listedName) {
    return listedName + QStringLiteral(" was not removed: the personnel database was changed by another program "
                                       "after the list was shown.\r\n\r\nThe list now shows the database as it is; "
                                       "please check it and try again.");
}
