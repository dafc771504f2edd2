#include "ui/app/basVardel.h"

#include "core/app/CommandLine.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/server/ServerStore.h"
#include "ui/app/SingleInstance.h"
#include "ui/app/VardelApplication.h"
#include "ui/app/frmTitlePage.h"
#include "ui/common/AppIcon.h"
#include "ui/common/Dialogs.h"

#include <QDir>

#include <cstdio>

bool ConnectChosenServer(const QStringList& arguments) {
    const QString server = ChosenServer(ServerArgument(arguments), GetSetting(QStringLiteral("Server")));
    if (server.isEmpty())
        return true;
    try {
        SetActiveStore(std::make_unique<ServerStore>(server));
        return true;
    } catch (const FileError& error) {
        dialogs().MessageBox(nullptr,
                             error.text() + QStringLiteral("\r\n\r\n") + AppTitle + QStringLiteral(" ends now."),
                             AppTitle, MsgIcon::Critical, MsgButtons::OK);
        return false;
    }
}

QString AlreadyRunningText() {
    return AppTitle + QStringLiteral(" is already loaded") + QStringLiteral("\r\n") +
           QStringLiteral("and running on your computer!");
}

QString AlreadyRunningTitle() {
    return QStringLiteral("Terminating...");
}

bool RefuseSecondInstance(SingleInstance& instance) {
    if (instance.tryAcquire())
        return false;
    dialogs().MessageBox(nullptr, AlreadyRunningText(), AlreadyRunningTitle(), MsgIcon::Critical, MsgButtons::OK);
    return true;
}

bool RefuseSecondInstance(DataFolderClaim& claim) {
    if (claim.tryAcquire())
        return false;
    dialogs().MessageBox(nullptr, AlreadyRunningText(), AlreadyRunningTitle(), MsgIcon::Critical, MsgButtons::OK);
    return true;
}

bool DisplayAvailable(const QStringList& arguments) {
    // Qt ends a windowed program that finds no display with an abort; say what is missing instead.
    const auto set = [](const char* name) { return !qEnvironmentVariableIsEmpty(name); };
    if (set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM"))
        return true;
    // The value of --data-dir or --server is never one of Qt's options, whatever it reads.
    for (const QString& argument : ReadDataPlace(arguments).plain()) {
        for (const QLatin1String option : {QLatin1String("platform"), QLatin1String("display")}) {
            if (argument == QLatin1Char('-') + option || argument == QLatin1String("--") + option ||
                argument.startsWith(QLatin1Char('-') + option + QLatin1Char('=')) ||
                argument.startsWith(QLatin1String("--") + option + QLatin1Char('=')))
                return true;
        }
    }
    return false;
}

int basVardel_Main(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (!DisplayAvailable(arguments)) {
        std::fprintf(stderr, "Vardel is a desktop program and needs a display, but none is set "
                             "(DISPLAY and WAYLAND_DISPLAY are empty).\n");
        return 1;
    }
    VardelApplication app(argc, argv);
    QCoreApplication::setApplicationName(AppTitle);
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationVersion(
        QStringLiteral("%1.%2.%3").arg(VersionMajor()).arg(VersionMinor()).arg(VersionRevision()));
    QGuiApplication::setWindowIcon(ApplicationIcon());

    // The settings file, Access.Code and the pictures stay in the local data folder, server or not; the server
    // itself decides who may connect, and several copies may work on it at once, so the single-instance rule and
    // the folder's claim hold for the folder only.
    const QStringList programArguments = QCoreApplication::arguments();
    const bool onServer =
        !ChosenServer(ServerArgument(programArguments), GetSetting(QStringLiteral("Server"))).isEmpty();
    // One copy per user. The lock lives as long as this routine, that is as long as the program.
    SingleInstance instance;
    if (!onServer && RefuseSecondInstance(instance))
        return 1;

    // The data folder is claimed for the whole run as well: two copies on one folder would each overwrite what the
    // other has just saved, whatever runtime folders they were started with.
    const QString folder = ChooseDataFolder(programArguments, qEnvironmentVariable("VARDEL_DATA_DIR"));
    DataFolderClaim folderClaim(folder);
    bool refused = false;
    frmTitlePage* titlePage = nullptr;
    RunGuarded([&] {
        UseDataFolder(folder);
        refused = !onServer && RefuseSecondInstance(folderClaim);
        if (refused)
            return;
        // AccessLevelNames, DataFileList.
        InitProgramValues();
        // Before the title window reads the users: an unreachable server ends the program here, cleanly.
        refused = !ConnectChosenServer(programArguments);
        if (refused)
            return;
        // The title window, not modal; from here on the program lives in its windows.
        titlePage = new frmTitlePage;
        titlePage->show();
    });
    if (refused)
        return 1;
    return app.exec();
}
