#include "core/base/Session.h"

#include "core/base/AppGlobals.h"

#include <QCoreApplication>
#include <QFileInfo>

QString CurrentUserName;
qint16 CurrentAccessLevel = 0;

QString ProgramName() {
    // Decided by the program that runs, not set by it: nothing a module does can make the history name another.
    static const QString tool = QStringLiteral("vardel-data");
    const QString file = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    return file == tool || file.startsWith(tool + QLatin1Char('-')) ? tool : AppTitle;
}
