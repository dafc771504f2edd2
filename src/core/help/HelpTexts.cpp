#include "core/help/HelpTexts.h"

#include <QFile>
#include <QtGlobal>

// Resources compiled into a static library are only registered when asked for explicitly; the macro must be used
// outside any namespace.
static void InitHelpResources() {
    static const bool registered = [] {
        Q_INIT_RESOURCE(help);
        return true;
    }();
    Q_UNUSED(registered);
}

QString HelpTopicText(int number) {
    switch (number) {
    case 1000:
    case 1500:
    case 2000:
    case 3000:
    case 4000:
        break;
    default:
        return QString();
    }
    InitHelpResources();
    QFile file(QStringLiteral(":/help/%1.txt").arg(number));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QString text = QString::fromUtf8(file.readAll());
    // The files may be saved with either line ending; the text areas and the printer expect CR LF.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return text;
}
