// N clerks at N desks on one PostgreSQL database: each a process adding, editing and removing employees through
// the server store for a fixed time, every change with its history line. Prints the changes per second for each N
// beside the anchor of the same run (bare round trips of one connection to the same server), then checks that
// nothing acknowledged was lost: every acknowledged addition and save is in the final table as the last save left
// it, every acknowledged removal is gone, every acknowledged change has its history line and no refused one has,
// and the history's chain verifies. Starts and stops its own throwaway cluster (tools/pg-test-cluster.sh).
// usage: bench_clerks [SECONDS (5)] [N ... (1 4 16)]

#include "core/history/RecordHistory.h"
#include "core/record/RecordIdentity.h"
#include "core/server/PgConnection.h"
#include "core/server/ServerStore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString g_socketDir;

QString database(const QString& name) {
    return QStringLiteral("postgresql:///%1?host=%2&user=vardel").arg(name, g_socketDir);
}

int cluster(const char* action) {
    const QByteArray command =
        QByteArray(VARDEL_PG_CLUSTER_SCRIPT) + ' ' + action + ' ' + QFile::encodeName(g_socketDir);
    return std::system(command.constData());
}

// A removal that found somebody else under the key: its history line goes back with it.
struct NotRemoved {};

// One acknowledged change: what the final table and the history must show of it.
struct Acknowledged {
    char kind; // 'A'dded, 'E'dited, 'R'emoved
    RecordKey key;
    qint64 version; // after the change
    QByteArray mark;
};

ChangeEvent markEvent(const QString& event, const PersonnelRecord& record, const QByteArray& mark) {
    ChangeEvent e;
    e.When = QDateTime::currentDateTime();
    e.User = QStringLiteral("Clerk");
    e.Event = event;
    e.Employee = ListedName(record);
    e.Identity = StampIdentity(record.RecordCreated);
    e.Field = QStringLiteral("Bench");
    e.NewValue = QString::fromLatin1(mark);
    return e;
}

// A clerk's work until the deadline; the acknowledged changes go to ackFile, one line each.
int clerk(int desk, const QString& server, double seconds, const QString& ackFile) {
    ServerStore store(server);
    QRandomGenerator random(desk * 7919 + 1);
    QList<Acknowledged> acks;
    QList<RecordKey> keys;
    store.Scan([&](RecordKey key, const char*) { keys << key; });
    QElapsedTimer timer;
    timer.start();
    for (int n = 0; timer.elapsed() < seconds * 1000; ++n) {
        const QByteArray mark = "d" + QByteArray::number(desk) + "-" + QByteArray::number(n);
        const quint32 roll = random.bounded(10);
        try {
            if (roll < 4 || keys.isEmpty()) {
                PersonnelRecord record;
                record.RecordCreated = 46000 + desk + n / 1e6;
                record.LastName = QStringLiteral("Desk%1").arg(desk);
                record.FirstName = QString::fromLatin1(mark);
                record.JobTitle = QString::fromLatin1(mark);
                RecordKey key = 0;
                store.Commit({markEvent(HistoryEvent::Added, record, mark)}, [&] { key = store.Append(record); });
                keys << key;
                acks.append({'A', key, 1, mark});
                continue;
            }
            const RecordKey key = keys[random.bounded(static_cast<int>(keys.size()))];
            PersonnelRecord record;
            qint64 version = 0;
            if (!store.Read(key, record, version)) {
                keys.removeAll(key);
                continue;
            }
            if (roll < 9) {
                record.JobTitle = QString::fromLatin1(mark);
                store.Commit({markEvent(HistoryEvent::Edited, record, mark)},
                             [&] { store.Update(key, record, version); });
                acks.append({'E', key, version + 1, mark});
            } else {
                keys.removeAll(key);
                store.Commit({markEvent(HistoryEvent::Removed, record, mark)}, [&] {
                    if (!store.Remove(key, ListedName(record), version).Removed)
                        throw NotRemoved();
                });
                acks.append({'R', key, 0, mark});
            }
        } catch (const StoreConflict&) {
            // Another desk was first: refused, written nowhere, and not acknowledged.
        } catch (const NotRemoved&) {
        }
    }
    QFile out(ackFile);
    if (!out.open(QIODevice::WriteOnly))
        return 1;
    for (const Acknowledged& a : acks)
        out.write(QByteArray(1, a.kind) + ' ' + QByteArray::number(a.key) + ' ' + QByteArray::number(a.version) + ' ' +
                  a.mark + '\n');
    return 0;
}

// The problems found in the final state: empty when nothing acknowledged was lost.
QStringList verify(const QString& server, const QList<Acknowledged>& acks) {
    QStringList problems;
    ServerStore store(server);
    const QByteArray history = store.History();
    if (CheckChain(history).State != ChainCheck::Intact)
        problems << QStringLiteral("the history's chain does not verify");
    QSet<QString> marked;
    for (const ChangeEvent& event : ParseChangeLog(history))
        if (event.Field == QLatin1String("Bench") && !marked.contains(event.NewValue))
            marked.insert(event.NewValue);
        else if (event.Field == QLatin1String("Bench"))
            problems << QStringLiteral("%1 is in the history twice").arg(event.NewValue);
    QHash<RecordKey, Acknowledged> last;
    QSet<RecordKey> removed;
    for (const Acknowledged& a : acks) {
        if (!marked.remove(QString::fromLatin1(a.mark)))
            problems << QStringLiteral("acknowledged %1 has no history line").arg(QString::fromLatin1(a.mark));
        if (a.kind == 'R')
            removed.insert(a.key);
        else if (!last.contains(a.key) || last[a.key].version < a.version)
            last[a.key] = a;
    }
    if (!marked.isEmpty())
        problems << QStringLiteral("%1 history lines of refused changes").arg(marked.size());
    for (const Acknowledged& a : last) {
        PersonnelRecord record;
        qint64 version = 0;
        const bool present = store.Read(a.key, record, version);
        if (removed.contains(a.key)
                ? present
                : !present || version != a.version || record.JobTitle != QString::fromLatin1(a.mark))
            problems << QStringLiteral("key %1 does not show %2").arg(a.key).arg(QString::fromLatin1(a.mark));
    }
    return problems;
}

} // namespace

int main(int argc, char* argv[]) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 5;
    QList<int> desks;
    for (int i = 2; i < argc; ++i)
        desks << std::atoi(argv[i]);
    if (desks.isEmpty())
        desks = {1, 4, 16};
    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/vardel-bench-XXXXXX"));
    // The cluster's own user must reach its folder inside this one.
    QFile::setPermissions(work.path(),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    g_socketDir = work.filePath(QStringLiteral("cluster"));
    if (cluster("start") != 0 || !QFile::exists(g_socketDir + QStringLiteral("/.s.PGSQL.5432"))) {
        std::fprintf(stderr, "bench_clerks: no PostgreSQL cluster could be started\n");
        return 1;
    }
    int failures = 0;
    {
        // The anchor: bare round trips of one connection, the floor under any change a desk makes.
        PgConnection anchor(database(QStringLiteral("postgres")));
        QElapsedTimer timer;
        timer.start();
        qint64 trips = 0;
        for (; timer.elapsed() < seconds * 1000; ++trips)
            anchor.exec("SELECT 1");
        const double tripRate = trips / (timer.elapsed() / 1000.0);
        std::printf("anchor: %.0f round trips/s on one connection\n", tripRate);

        for (const int n : desks) {
            const QString name = QStringLiteral("clerks%1").arg(n);
            anchor.execScript("CREATE DATABASE " + name.toLatin1());
            {
                ServerStore seed(database(name));
                for (int i = 0; i < 50; ++i) {
                    PersonnelRecord record;
                    record.RecordCreated = 45000 + i;
                    record.LastName = QStringLiteral("Seed");
                    record.FirstName = QString::number(i);
                    seed.Append(record);
                }
            }
            QList<pid_t> children;
            for (int desk = 0; desk < n; ++desk) {
                const pid_t pid = fork();
                if (pid == 0)
                    _exit(clerk(desk, database(name), seconds,
                                work.filePath(QStringLiteral("ack%1-%2").arg(n).arg(desk))));
                children << pid;
            }
            for (const pid_t pid : children) {
                int status = 0;
                waitpid(pid, &status, 0);
                if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
                    ++failures;
            }
            QList<Acknowledged> acks;
            for (int desk = 0; desk < n; ++desk) {
                QFile in(work.filePath(QStringLiteral("ack%1-%2").arg(n).arg(desk)));
                if (!in.open(QIODevice::ReadOnly))
                    continue;
                for (const QByteArray& line : in.readAll().split('\n'))
                    if (const QList<QByteArray> f = line.split(' '); f.size() == 4)
                        acks.append({f[0][0], f[1].toInt(), f[2].toLongLong(), f[3]});
            }
            const QStringList problems = verify(database(name), acks);
            const double rate = acks.size() / seconds;
            std::printf("%2d clerk%s %7.0f changes/s (%.3f of the anchor's round trips), %lld acknowledged, %s\n", n,
                        n == 1 ? ": " : "s:", rate, rate / tripRate, static_cast<long long>(acks.size()),
                        problems.isEmpty() ? "nothing lost, chain verifies" : "LOST:");
            for (const QString& problem : problems.mid(0, 10))
                std::printf("    %s\n", qPrintable(problem));
            failures += problems.isEmpty() ? 0 : 1;
        }
    }
    cluster("stop");
    return failures == 0 ? 0 : 1;
}
