// Starting the program to its title window, beside a minimal Qt Widgets program showing one window: the CPU time
// (user and system) of each whole process, from exec to the first window shown, run alternately 11 times
// (VARDEL_BENCH_RUNS), offscreen, in a fresh home and data folder. Target: at most 1.25 times the minimal one.
// "bench_startup" runs the comparison; "bench_startup --program" is the program itself with a hook that ends it
// as soon as its title window has been shown.

#include "ui/app/basVardel.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

bool g_hook = false;

// Ends the process once the first window of the program has been shown and its events handled.
class EndAtFirstWindow : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()) {
            QTimer::singleShot(0, [] {
                std::fflush(nullptr);
                std::_Exit(0);
            });
        }
        return false;
    }
};

void InstallHook() {
    if (g_hook)
        QCoreApplication::instance()->installEventFilter(new EndAtFirstWindow);
}
Q_COREAPP_STARTUP_FUNCTION(InstallHook)

double RunCpu(const char* program, const char* argument) {
    std::vector<char*> argv{const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", program);
        std::exit(1);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", program);
        std::exit(1);
    }
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 + usage.ru_stime.tv_sec * 1e3 +
           usage.ru_stime.tv_usec / 1e3;
}

double Quantile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    const double at = q * static_cast<double>(v.size() - 1);
    const size_t low = static_cast<size_t>(at);
    const size_t high = std::min(low + 1, v.size() - 1);
    return v[low] + (v[high] - v[low]) * (at - static_cast<double>(low));
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--program") == 0) {
        g_hook = true;
        char* args[] = {argv[0], nullptr};
        return basVardel_Main(1, args);
    }
    QTemporaryDir home;
    const QByteArray root = QFile::encodeName(home.path());
    for (const char* sub : {"/data", "/config", "/runtime"})
        ::mkdir((root + sub).constData(), 0700);
    ::setenv("HOME", root.constData(), 1);
    ::setenv("VARDEL_DATA_DIR", (root + "/data").constData(), 1);
    ::setenv("XDG_CONFIG_HOME", (root + "/config").constData(), 1);
    ::setenv("XDG_RUNTIME_DIR", (root + "/runtime").constData(), 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const int runs =
        qEnvironmentVariableIntValue("VARDEL_BENCH_RUNS") > 0 ? qEnvironmentVariableIntValue("VARDEL_BENCH_RUNS") : 11;
    std::vector<double> program;
    std::vector<double> minimal;
    const QByteArray instanceLock = root + "/runtime/vardel.lock";
    for (int run = 0; run < runs; ++run) {
        // The hook ends the program where it stands, leaving its one-copy lock behind; a user's program that was
        // closed took its lock with it, so the next start finds none.
        ::unlink(instanceLock.constData());
        program.push_back(RunCpu(argv[0], "--program"));
        minimal.push_back(RunCpu(VARDEL_MINIMAL_WINDOW, "--minimal"));
    }
    const double median = Quantile(program, 0.5) / Quantile(minimal, 0.5);
    std::printf("%-34s %9s %9s %20s %7s\n", "start to the first window (cpu ms)", "program", "minimal",
                "ratio min-median-max", "target");
    std::printf("%-34s %9.1f %9.1f %6.2f %6.2f %6.2f %7.2f %s\n", "title window / minimal Qt window",
                Quantile(program, 0.5), Quantile(minimal, 0.5), Quantile(program, 0) / Quantile(minimal, 0), median,
                Quantile(program, 1) / Quantile(minimal, 1), 1.25, median <= 1.25 ? "ok" : "OVER");
    return 0;
}
