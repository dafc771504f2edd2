#include "core/base/MappedFile.h"
#include "core/base/DataFolder.h"

#include "core/base/FileError.h"

#include <cerrno>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

thread_local void* t_guard = nullptr;
struct sigaction g_previous {};

void onBusError(int signal, siginfo_t* info, void* context) {
    if (t_guard)
        siglongjmp(*static_cast<sigjmp_buf*>(t_guard), 1);
    // Not inside a guarded pass: whatever the process did before.
    if (g_previous.sa_flags & SA_SIGINFO) {
        g_previous.sa_sigaction(signal, info, context);
        return;
    }
    if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
        return;
    }
    ::signal(signal, SIG_DFL);
    ::raise(signal);
}

void installHandler() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct sigaction action {};
        action.sa_sigaction = onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &g_previous);
    });
}

struct SharedMapping {
    dev_t device;
    ino_t inode;
    qint64 length;
    void* at;
};

thread_local int t_sharing = 0;
thread_local std::vector<SharedMapping>* t_shared = nullptr;

} // namespace

MappedFileSharing::MappedFileSharing() {
    if (t_sharing++ == 0)
        t_shared = new std::vector<SharedMapping>;
}

MappedFileSharing::~MappedFileSharing() {
    if (--t_sharing > 0)
        return;
    for (const SharedMapping& mapping : *t_shared)
        ::munmap(mapping.at, static_cast<size_t>(mapping.length));
    delete t_shared;
    t_shared = nullptr;
}

MappedFile::MappedFile(int fd, qint64 length, const QString& fileName) : m_size(length), m_fileName(fileName) {
    if (length <= 0) {
        m_size = 0;
        return;
    }
    struct stat st {};
    const bool sharing = t_sharing > 0 && ::fstat(fd, &st) == 0;
    if (sharing) {
        for (const SharedMapping& mapping : *t_shared) {
            if (mapping.device == st.st_dev && mapping.inode == st.st_ino && mapping.length >= length) {
                m_data = static_cast<const char*>(mapping.at);
                m_shared = true;
                return;
            }
        }
    }
    // A shared mapping serves several passes and, in a removal, the copy, which between them touch every page: its
    // pages are mapped in one call rather than fault by fault. That pays only while they all stay in memory; a file
    // larger than half of it is read as the passes go.
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    const bool populate = sharing && pages > 0 && pageSize > 0 && length <= static_cast<qint64>(pages) * pageSize / 2;
    void* at =
        ::mmap(nullptr, static_cast<size_t>(length), PROT_READ, MAP_SHARED | (populate ? MAP_POPULATE : 0), fd, 0);
    if (at == MAP_FAILED)
        throw FileError(qt_error_string(errno));
    // Passes go from the first record to the last: read ahead generously.
    if (!populate)
        ::madvise(at, static_cast<size_t>(length), MADV_SEQUENTIAL);
    m_data = static_cast<const char*>(at);
    if (sharing) {
        t_shared->push_back({st.st_dev, st.st_ino, length, at});
        m_shared = true;
    }
    installHandler();
}

MappedFile::~MappedFile() {
    if (m_data && !m_shared)
        ::munmap(const_cast<char*>(m_data), static_cast<size_t>(m_size));
}

MappedFile::Guard::Guard() : outer(static_cast<Guard*>(t_guard)) {
    t_guard = &jump;
}

MappedFile::Guard::~Guard() {
    t_guard = outer ? &outer->jump : nullptr;
}

void MappedFile::shrank() const {
    throw FileError(MappedFileShrankText(m_fileName));
}

QString MappedFileShrankText(const QString& fileName) {
    return QStringLiteral("%1 was cut short by another program while Vardel read it.\r\nNothing was changed; "
                          "please try again.")
        .arg(ShownPath(fileName));
}
