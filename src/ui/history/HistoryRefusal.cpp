#include "ui/history/HistoryRefusal.h"

#include "ui/common/Dialogs.h"
#include "core/history/ChangeLog.h"

QString ChangeRefusedText(const QString& reason) {
    return QStringLiteral("Nothing was changed: every change is written to the change history,\r\nand the history "
                          "could not be written.\r\n\r\n") +
           reason;
}

bool ChangeOrExplain(QWidget* owner, const std::function<void()>& change) {
    try {
        change();
        return true;
    } catch (const ChangeLogError& error) {
        dialogs().MessageBox(owner, ChangeRefusedText(error.text()), ChangeRefusedTitle, MsgIcon::Critical,
                             MsgButtons::OK);
        return false;
    }
}
