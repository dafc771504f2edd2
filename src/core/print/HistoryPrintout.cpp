#include "core/print/HistoryPrintout.h"

#include "core/print/PrintHelpers.h"

namespace {

QString shown(QString value) {
    if (value.isEmpty())
        return QStringLiteral("(blank)");
    value.replace(QStringLiteral("\r\n"), QStringLiteral(" / "));
    value.replace(QLatin1Char('\n'), QStringLiteral(" / "));
    value.replace(QLatin1Char('\r'), QStringLiteral(" / "));
    return value;
}

} // namespace

QString HistoryWhenText(const ChangeEvent& event) {
    return event.When.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss"));
}

QString HistoryUserText(const ChangeEvent& event) {
    return event.Level.isEmpty() ? event.User : event.User + QStringLiteral(" (") + event.Level + QLatin1Char(')');
}

QString HistoryChangeText(const ChangeEvent& event) {
    if (event.Field.isEmpty() && event.OldValue.isEmpty())
        return event.NewValue;
    return shown(event.OldValue) + QStringLiteral(" → ") + shown(event.NewValue);
}

QString HistoryLineText(const ChangeEvent& event) {
    QStringList parts = {HistoryWhenText(event), HistoryUserText(event), event.Event};
    if (!event.Field.isEmpty())
        parts << event.Field + QLatin1Char(':');
    const QString change = HistoryChangeText(event);
    if (!change.isEmpty())
        parts << change;
    return parts.join(QStringLiteral("  "));
}

void PrintChangeHistory(PrinterDevice& printer, PrintOwner* owner, const QString& heading,
                        const QList<ChangeEvent>& events) {
    QStringList lines;
    for (const ChangeEvent& event : events)
        lines << HistoryLineText(event);
    if (lines.isEmpty())
        lines << QStringLiteral("No changes are recorded.");
    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(10);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontUnderline(false);
    printer.setFontStrikethru(false);
    PrintWrappedText(printer, owner, lines.join(QStringLiteral("\r\n")), heading, true, false, true, false, false, 1.0,
                     7.5);
}
