// Whole processes against their anchors: the CPU time (user and system) of vardel-data's commands beside the
// sqlite3 shell answering the same query on the same records with the same indexes, beside cat reading the file,
// and beside cp and sync copying it (and mv putting the copy in the file's place, as a removal must). Each pair runs
// alternately, 7 times by default (VARDEL_BENCH_RUNS), at 10,000 and 100,000 employees (VARDEL_BENCH_SIZES); each line
// gives both medians, the ratio of the minimums, medians and maximums, and the target, which the median ratio must
// meet. usage: bench_process [VARDEL_DATA_TOOL]

#include "BenchData.h"

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace BenchData;

// The CPU seconds of one run of each command in turn, stdout thrown away. Fails loudly on a command that fails.
double RunCpu(const QList<QByteArrayList>& commands) {
    double total = 0;
    for (const QByteArrayList& command : commands) {
        std::vector<char*> argv;
        for (const QByteArray& arg : command)
            argv.push_back(const_cast<char*>(arg.constData()));
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            qFatal("cannot start %s", argv[0]);
        posix_spawn_file_actions_destroy(&actions);
        int status = 0;
        struct rusage usage {};
        ::wait4(pid, &status, 0, &usage);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            qFatal("%s failed", qPrintable(command.join(' ')));
        total +=
            usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    }
    return total;
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const size_t low = static_cast<size_t>(at);
    const size_t high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (at - static_cast<double>(low));
}

int g_runs = 7;

// Runs measured and anchor alternately; prepare (not timed) runs before each of them.
// VARDEL_BENCH_ONLY="list": only the lines whose name holds that text (a million employees' removals copy 5 GB).
bool Chosen(const char* name) {
    const QByteArray only = qgetenv("VARDEL_BENCH_ONLY");
    return only.isEmpty() || QByteArray(name).contains(only);
}

void Compare(const char* name, const QList<QByteArrayList>& measured, const QList<QByteArrayList>& anchor,
             double target, const std::function<void()>& prepare = {}) {
    if (!Chosen(name))
        return;
    std::vector<double> m;
    std::vector<double> a;
    for (int run = 0; run < g_runs; ++run) {
        if (prepare)
            prepare();
        m.push_back(RunCpu(measured));
        if (prepare)
            prepare();
        a.push_back(RunCpu(anchor));
    }
    const double median = Quantile(m, 0.5) / Quantile(a, 0.5);
    std::printf("%-40s %9.1f %9.1f %6.2f %6.2f %6.2f %7.2f %s\n", name, Quantile(m, 0.5) * 1000,
                Quantile(a, 0.5) * 1000, Quantile(m, 0) / Quantile(a, 0), median, Quantile(m, 1) / Quantile(a, 1),
                target, median <= target ? "ok" : "OVER");
    std::fflush(stdout);
}

// The peak of the heap in use (bytes) of one run of command, with PeakHeap preloaded; its standard output goes
// to output.
size_t RunPeak(const QByteArrayList& command, const QByteArray& output) {
    const QByteArray peakFile = QFile::encodeName(WorkDir().filePath(QStringLiteral("peak")));
    std::vector<QByteArray> env{"LD_PRELOAD=" VARDEL_PEAK_HEAP, "VARDEL_PEAK_HEAP_FILE=" + peakFile};
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "LD_PRELOAD=", 11) != 0)
            env.emplace_back(*e);
    std::vector<char*> envp;
    for (QByteArray& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<char*> argv;
    for (const QByteArray& arg : command)
        argv.push_back(const_cast<char*>(arg.constData()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        qFatal("cannot start %s", argv[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    ::waitpid(pid, &status, 0);
    QFile peak(QString::fromLocal8Bit(peakFile));
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || !peak.open(QIODevice::ReadOnly))
        qFatal("%s failed", qPrintable(command.join(' ')));
    return peak.readAll().trimmed().toULongLong();
}

qsizetype Lines(const QByteArray& fileName) {
    QFile file(QString::fromLocal8Bit(fileName));
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : 0;
}

// The heap a listed row takes at the list's peak: the peak of the list less that of the same list of no rows (an
// empty data folder), over the rows listed.
void MemoryPerRow(const char* name, const QByteArrayList& list, const QByteArrayList& empty, double target) {
    if (!Chosen(name))
        return;
    const QByteArray output = QFile::encodeName(WorkDir().filePath(QStringLiteral("rows")));
    const size_t none = RunPeak(empty, output);
    const qsizetype heading = Lines(output);
    const size_t peak = RunPeak(list, output);
    const qsizetype rows = Lines(output) - heading;
    const double perRow = rows > 0 ? (static_cast<double>(peak) - static_cast<double>(none)) / rows : 0;
    std::printf("%-40s %9.1f %9.1f %20s %7.0f %s  (%lld rows, %.1f MB at the peak)\n", name, perRow, 0.0,
                "bytes per row", target, perRow <= target ? "ok" : "OVER", static_cast<long long>(rows),
                static_cast<double>(peak) / 1e6);
    std::fflush(stdout);
}

// Flushes the file, drops it from the page cache and reads it back in, so that it is held as a file read from the
// disk is.
void PutAtRest(const QByteArray& fileName) {
    const int fd = ::open(fileName.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 || ::fdatasync(fd) != 0 || ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) != 0)
        qFatal("cannot put %s at rest", fileName.constData());
    static std::vector<char> block(1 << 20);
    while (::read(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
}

QByteArray WithToday(const char* query, const QByteArray& value) {
    return QByteArray(query).replace("?1", value);
}

} // namespace

int main(int argc, char** argv) {
    const QByteArray tool = argc > 1 ? QByteArray(argv[1]) : QByteArray(VARDEL_DATA_TOOL);
    if (qEnvironmentVariableIntValue("VARDEL_BENCH_RUNS") > 0)
        g_runs = qEnvironmentVariableIntValue("VARDEL_BENCH_RUNS");
    QList<int> sizes;
    for (const QByteArray& size : qgetenv("VARDEL_BENCH_SIZES").split(' '))
        if (size.toInt() > 0)
            sizes << size.toInt();
    if (sizes.isEmpty())
        sizes = {10000, 100000};
    const QByteArray today = "'" + QDate::currentDate().toString(Qt::ISODate).toUtf8() + "'";
    const char* const types[] = {nullptr, "alpha", "seniority", "age", "birthday"};

    std::printf("%-40s %9s %9s %20s %7s\n", "command / anchor (cpu ms, medians)", "measured", "anchor",
                "ratio min-median-max", "target");
    for (const int n : sizes) {
        const Data& data = Records(n);
        const QString folder = WorkDir().filePath(QStringLiteral("folder%1").arg(n));
        QDir().mkpath(folder);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        const QString file = folder + QStringLiteral("/Vardel.Data");
        QFile::remove(file);
        QFile::copy(data.file, file);
        const QByteArray dir = QFile::encodeName(folder);
        const QByteArray db = QFile::encodeName(data.database);
        const QByteArray dataFile = QFile::encodeName(file);
        const QByteArrayList vardel{tool, "--data-dir", dir};

        const QString empty = WorkDir().filePath(QStringLiteral("empty"));
        QDir().mkpath(empty);
        QFile::setPermissions(empty, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        for (const char* type : {"alpha", "seniority"})
            MemoryPerRow(qPrintable(QStringLiteral("%1 list --type %2 heap per row").arg(n).arg(type)),
                         vardel + QByteArrayList{"list", "--type", type},
                         QByteArrayList{tool, "--data-dir", QFile::encodeName(empty), "list", "--type", type}, 100);
        for (int type = 1; type <= 4; ++type)
            Compare(qPrintable(QStringLiteral("%1 list --type %2 / sqlite3").arg(n).arg(types[type])),
                    {vardel + QByteArrayList{"list", "--type", types[type]}},
                    {{"sqlite3", db, WithToday(kListQueries[type], today)}}, 1.0);
        Compare(qPrintable(QStringLiteral("%1 list --search W --notepad / sqlite3").arg(n)),
                {vardel + QByteArrayList{"list", "--search", "transferred", "--notepad"}},
                {{"sqlite3", db, WithToday(kSearchQuery, "'%transferred%'")}}, 0.6);
        Compare(qPrintable(QStringLiteral("%1 info / cat").arg(n)), {vardel + QByteArrayList{"info"}},
                {{"cat", dataFile}}, 1.1);
        const QByteArray copy = dataFile + ".copy";
        // Each removal and each copy starts from the file at rest, as a clerk's data file is: on the disk, and in
        // the cache as the list read it from there, not as another program's copy left it moments before.
        const auto restore = [&] {
            QFile::remove(file);
            QFile::remove(QString::fromUtf8(copy));
            QFile::copy(data.file, file);
            PutAtRest(dataFile);
        };
        const QByteArrayList remove = vardel + QByteArrayList{"remove", "--slot", QByteArray::number(n / 2)};
        Compare(qPrintable(QStringLiteral("%1 remove / cp + sync").arg(n)), {remove},
                {{"cp", dataFile, copy}, {"sync", copy}}, 1.2, restore);
        // The same copy put in the file's place, as a removal must: the old file's pages are let go.
        Compare(qPrintable(QStringLiteral("%1 remove / cp + sync + mv").arg(n)), {remove},
                {{"cp", dataFile, copy}, {"sync", copy}, {"mv", copy, dataFile}}, 1.2, restore);
    }
    return 0;
}
