#include "ui/common/WindowGeometry.h"

#include "core/base/AppGlobals.h"
#include "ui/common/Dialogs.h"
#include "ui/common/FadeEngine.h"
#include "ui/common/Navigation.h"
#include "core/store/DataFile.h"
#include "core/base/DataFolder.h"
#include "ui/main/frmMain.h"
#include "core/users/UserList.h"
#include "ui/users/frmAdmin.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace {

ApplicationEndHook g_endHook;
bool g_shuttingDown = false;

void EndEventLoop() {
    // Queued, so that the loop ends even when the shut-down runs before the loop has started.
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace

ApplicationEndHook SetApplicationEndHook(ApplicationEndHook hook) {
    ApplicationEndHook previous = std::move(g_endHook);
    g_endHook = std::move(hook);
    return previous;
}

bool ShutdownInProgress() {
    return g_shuttingDown;
}

void ShowAdminWindow() {
    auto* window = new frmAdmin;
    window->setAttribute(Qt::WA_DeleteOnClose);
    CentreOnScreen(window);
    window->show();
}

void ShowMainWindow() {
    auto* window = new frmMain;
    window->setAttribute(Qt::WA_DeleteOnClose);
    CentreOnScreen(window);
    window->show();
}

void ShutDownApplication() {
    g_shuttingDown = true;
    CloseDataFile();
    CloseUserList();
    QCoreApplication::processEvents();

    // A data file that was opened but never written to must not survive the run as an empty file. Under the
    // folder's write lock, so that a file another program is just putting in place is never taken for an empty
    // one; when the folder is busy the empty files simply stay.
    const DataFolderLock lock(DataFolder(), std::nothrow);
    for (const QString& name : std::as_const(DataFileList)) {
        if (!lock.isHeld())
            break;
        const QFileInfo info(name);
        if (info.exists() && info.isFile() && info.size() == 0)
            QFile::remove(name);
    }

    QList<QPointer<QWidget>> windows;
    for (QWidget* w : QApplication::topLevelWidgets())
        windows.append(w);
    for (const QPointer<QWidget>& w : std::as_const(windows))
        if (w)
            w->close();

    if (g_endHook)
        g_endHook();
    else
        EndEventLoop();
    g_shuttingDown = false;
}

void QuitProgram(QWidget* window, FadeEngine& fade, const std::function<void()>& leaving) {
    if (FadeOn) {
        fade.FadeWindow(255, 204, 2, false);
        fade.WaitForFade();
    }
    const MsgResult answer = dialogs().MessageBox(
        window, QStringLiteral("This will close ") + AppTitle + QStringLiteral(".\r\n\r\nIs this what you want to do?"),
        QStringLiteral("Exit ") + AppTitle + QStringLiteral("?"), MsgIcon::Question, MsgButtons::YesNo);
    if (answer == MsgResult::Yes) {
        if (leaving)
            leaving();
        if (FadeOn)
            fade.FadeWindow(204, 0, 20, true);
        else
            ShutDownApplication();
    } else if (FadeOn) {
        fade.FadeWindow(204, 255, 2, false);
    }
}

bool AcceptWindowClose(QWidget* window, QCloseEvent* event, bool closeAllowed, const std::function<void()>& quit) {
    if (closeAllowed || ShutdownInProgress()) {
        event->accept();
        return true;
    }
    event->ignore();
    QTimer::singleShot(0, window, quit);
    return false;
}
