// The change history's readers on any bytes: the chain check never crashes, and a history it calls intact stays
// intact with a line chained onto its last hash, and parses into at most one event a whole line.

#include "FuzzSupport.h"

#include "core/history/ChangeLog.h"

#include <QByteArray>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ChainCheck check = CheckChain(content);
    const QList<ChangeEvent> events = ParseChangeLog(content);
    FUZZ_CHECK(events.size() <= check.Lines || check.State != ChainCheck::Intact);
    for (const ChangeEvent& e : events)
        (void)MatchesFilter(e, HistoryFilter{QStringLiteral("a"), QStringLiteral("b"), {}, {}});
    if (check.State == ChainCheck::Intact) {
        ChangeEvent e;
        e.When = QDateTime(QDate(2026, 1, 1), QTime(9, 0));
        e.Event = HistoryEvent::Edited;
        const QByteArray longer = content + ChainLines({e}, check.LastHash);
        const ChainCheck after = CheckChain(longer);
        FUZZ_CHECK(after.State == ChainCheck::Intact);
        FUZZ_CHECK(after.Lines == check.Lines + 1);
    }
    return 0;
}
