#include "SecretInput.h"

#include "Commands.h"

#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

// One line of standard input without its end; false at the end of input before any character or line end.
bool readLine(std::string& line) {
    line.clear();
    int c = 0;
    bool any = false;
    while ((c = std::getchar()) != EOF) {
        any = true;
        if (c == '\n')
            break;
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

// Echo stays off for as long as this lives; the terminal gets its own settings back even when reading fails.
class EchoOff {
public:
    EchoOff() : m_saved(), m_changed(tcgetattr(STDIN_FILENO, &m_saved) == 0) {
        if (!m_changed)
            return;
        termios quiet = m_saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        m_changed = tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet) == 0;
    }
    ~EchoOff() {
        if (m_changed)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &m_saved);
    }
    EchoOff(const EchoOff&) = delete;
    EchoOff& operator=(const EchoOff&) = delete;

private:
    termios m_saved;
    bool m_changed;
};

} // namespace

std::optional<QStringList> ReadSecrets(const QStringList& prompts) {
    const bool terminal = isatty(STDIN_FILENO) != 0;
    QStringList secrets;
    for (const QString& prompt : prompts) {
        std::string line;
        bool got = false;
        if (terminal) {
            std::fputs(prompt.toLocal8Bit().constData(), stderr);
            std::fputs(": ", stderr);
            std::fflush(stderr);
            {
                const EchoOff quiet;
                got = readLine(line);
            }
            std::fputs("\n", stderr);
        } else {
            got = readLine(line);
        }
        if (!got) {
            PrintError(QStringLiteral("standard input ended before the %1").arg(prompt.toLower()));
            return std::nullopt;
        }
        secrets << QString::fromLocal8Bit(line.data(), static_cast<qsizetype>(line.size()));
    }
    return secrets;
}
