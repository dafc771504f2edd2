// vardel-data's start: Qt Core alone, and the print command handed over to vardel-data-print.

#include "Commands.h"
#include "ToolApplication.h"
#include "core/app/CommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

// The folder of this program's file.
std::string ProgramFolder() {
    std::string path(4096, '\0');
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n <= 0 || static_cast<size_t>(n) >= path.size())
        return ".";
    path.resize(static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

} // namespace

void HandOverPrinting(int argc, char* argv[]) {
    // The command as the dispatch reads it: the first argument that is not a data place option or its value.
    if (ReadDataPlace(ToolArguments(argc, argv)).plain().value(0) != QLatin1String("print"))
        return;
    // Installed, it lies in the library-executables folder; in the build tree, beside this program.
    const std::string folder = ProgramFolder();
    const std::string installed = folder + "/" VARDEL_PRINT_PROGRAM_FROM_BINDIR;
    const std::string beside = folder + "/" VARDEL_PRINT_PROGRAM_NAME;
    const std::string& program = access(installed.c_str(), X_OK) == 0 ? installed : beside;
    execv(program.c_str(), argv);
    const int error = errno;
    PrintError(QStringLiteral("printing is not available: cannot start %1: %2")
                   .arg(QString::fromLocal8Bit(program), QString::fromLocal8Bit(std::strerror(error))));
    std::exit(1);
}

std::unique_ptr<QCoreApplication> CreateToolApplication(char* argv0) {
    static int argc = 1;
    static char* argv[] = {argv0, nullptr};
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Never reached: HandOverPrinting has passed the command on before the dispatch runs.
int PrintCommand(const QStringList&) {
    std::fputs("vardel-data: printing is done by " VARDEL_PRINT_PROGRAM_NAME "\n", stderr);
    return 1;
}

QByteArray PrintHelp() {
    return QByteArray();
}
