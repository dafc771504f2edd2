// vardel-data server-import and server-export: a data folder moved into a PostgreSQL database and back.

#include "Commands.h"

#include "core/server/ServerStore.h"

#include <QDir>

QString& ChosenToolServer() {
    static QString server;
    return server;
}

namespace {

int withServer(const QStringList& args, const char* synopsis, void (ServerStore::*move)(const QString&)) {
    if (!args.isEmpty())
        return UsageError(synopsis);
    if (ChosenToolServer().isEmpty()) {
        PrintError(QStringLiteral("no server: give --server URL or set VARDEL_SERVER"));
        return UsageError(synopsis);
    }
    ServerStore store(ChosenToolServer());
    (store.*move)(DataFolder());
    return 0;
}

} // namespace

int ServerImportCommand(const QStringList& args) {
    return withServer(args, "server-import --server URL --data-dir DIR", &ServerStore::ImportFolder);
}

int ServerExportCommand(const QStringList& args) {
    return withServer(args, "server-export --server URL --data-dir DIR", &ServerStore::ExportFolder);
}
