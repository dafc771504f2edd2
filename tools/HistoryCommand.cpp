// "history": the change history of the data folder, and the check of its chain.

#include "Commands.h"

#include "core/base/DateRules.h"
#include "core/employees/EmployeeChanges.h"
#include "core/history/ChangeLog.h"
#include "core/history/RecordHistory.h"
#include "core/store/DataFile.h"
#include "core/store/PersonnelStore.h"

#include <QFile>

#include <cstdio>

namespace {

const char kSynopsis[] = "history [--employee NAME|--slot N] [--since DATE] [--until DATE] | history --verify";

QByteArray chainText(const ChainCheck& check) {
    switch (check.State) {
    case ChainCheck::Intact:
        return "intact";
    case ChainCheck::Broken:
        return "broken at line " + QByteArray::number(check.BadLine);
    case ChainCheck::CutOff:
        break;
    }
    return "cut off at line " + QByteArray::number(check.BadLine);
}

int verify() {
    const ChainCheck check = CheckChain(ActiveChangeLog());
    QByteArray text;
    switch (check.State) {
    case ChainCheck::Intact:
        text = "intact: " + QByteArray::number(check.Lines) + " lines\n";
        break;
    case ChainCheck::Broken:
        text = "line " + QByteArray::number(check.BadLine) + ": changed, removed or inserted\n";
        break;
    case ChainCheck::CutOff:
        text = "line " + QByteArray::number(check.BadLine) + ": cut off (a write that was interrupted)\n";
        break;
    }
    if (!WriteOutput(text) || !FinishOutput())
        return 1;
    return check.State == ChainCheck::Intact ? 0 : check.State == ChainCheck::Broken ? 1 : 3;
}

} // namespace

QByteArray HistoryInfoLines() {
    const ChainCheck check = CheckChain(ActiveChangeLog());
    return "history " + QByteArray::number(check.Lines) + "\nchain " + chainText(check) + '\n';
}

int HistoryCommand(const QStringList& arguments) {
    const ReadArguments args = ReadOptions(arguments, {kHistoryOptions});
    // --verify stands alone: the check reads the whole chain and filters nothing.
    if (args.has("--verify") && args.items.size() == 1 && args.mistake == ReadArguments::Mistake::None)
        return verify();
    if (args.mistake != ReadArguments::Mistake::None)
        return UsageError(kSynopsis);
    HistoryFilter filter;
    qint32 slot = 0;
    for (const ReadArguments::Item& item : args.items) {
        const QString& option = item.option;
        const QString& value = item.value;
        bool ok = true;
        if (option == QLatin1String("--employee") && filter.Employee.isEmpty() && slot == 0) {
            filter.Employee = value;
            ok = !value.isEmpty();
        } else if (option == QLatin1String("--slot") && filter.Employee.isEmpty() && slot == 0) {
            slot = value.toInt(&ok);
            ok = ok && slot > 0;
        } else if (option == QLatin1String("--since") || option == QLatin1String("--until")) {
            const std::optional<QDate> date = ParseDateEntry(value);
            ok = date.has_value();
            (option == QLatin1String("--since") ? filter.Since : filter.Until) = date.value_or(QDate());
        } else {
            ok = false;
        }
        if (!ok)
            return UsageError(kSynopsis);
    }

    QList<ChangeEvent> events = ParseChangeLog(ActiveChangeLog());
    if (slot > 0) {
        const QString identity = SlotIdentity(slot);
        if (!HoldsSlot(slot)) {
            std::fprintf(stderr, "vardel-data: the data file has no slot %d\n", slot);
            return 1;
        }
        events = EventsOfRecord(events, identity);
        std::reverse(events.begin(), events.end());
    }
    for (const ChangeEvent& event : std::as_const(events))
        if (MatchesFilter(event, filter) && !WriteOutput(EventText(event) + '\n'))
            return 1;
    return FinishOutput() ? 0 : 1;
}
