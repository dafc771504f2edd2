// vardel-data-print's start: a Gui application without a display, for the fonts and the PDF writer.

#include "PrintCommand.h"
#include "ToolApplication.h"

#include <QDir>
#include <QGuiApplication>

namespace {

QString& StartFolder() {
    static QString folder;
    return folder;
}

QtMessageHandler g_qtMessages = nullptr;

void PassQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    // Outside a desktop session (cron, ssh) the runtime folder is not set; Qt's start looks there for a display
    // server and says so on every run, though a printout into a file needs none.
    if (type == QtWarningMsg && message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    g_qtMessages(type, context, message);
}

} // namespace

void HandOverPrinting(int, char*[]) {}

std::unique_ptr<QCoreApplication> CreateToolApplication(char* argv0) {
    StartFolder() = QDir::currentPath();
    g_qtMessages = qInstallMessageHandler(PassQtMessage);
    static int argc = 3;
    static char platform[] = "-platform";
    static char offscreen[] = "offscreen";
    static char* argv[] = {argv0, platform, offscreen, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

QString StartingFolder() {
    return StartFolder();
}
