// A malloc that keeps count: preloaded into a process (LD_PRELOAD), it adds up the usable size of every block in
// use and, when the process ends, writes the most ever in use to the file named by VARDEL_PEAK_HEAP_FILE. The
// anonymous memory a command's rows take is this peak less that of the same command listing nothing. Blocks are
// counted with the room malloc gave them, so a buffer grown ahead of its contents counts whole.

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

extern "C" {
void* __libc_malloc(size_t size);
void __libc_free(void* block);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
}

namespace {

std::atomic<size_t> g_inUse{0};
std::atomic<size_t> g_peak{0};

void* counted(void* block) {
    if (block) {
        const size_t now = g_inUse += malloc_usable_size(block);
        size_t peak = g_peak.load();
        while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
        }
    }
    return block;
}

void uncount(void* block) {
    if (block)
        g_inUse -= malloc_usable_size(block);
}

struct Report {
    ~Report() {
        if (const char* name = std::getenv("VARDEL_PEAK_HEAP_FILE")) {
            if (FILE* file = std::fopen(name, "w")) {
                std::fprintf(file, "%zu\n", g_peak.load());
                std::fclose(file);
            }
        }
    }
} g_report;

} // namespace

extern "C" {

void* malloc(size_t size) {
    return counted(__libc_malloc(size));
}

void free(void* block) {
    uncount(block);
    __libc_free(block);
}

void* calloc(size_t count, size_t size) {
    return counted(__libc_calloc(count, size));
}

void* realloc(void* block, size_t size) {
    const size_t before = block ? malloc_usable_size(block) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved || size == 0) {
        g_inUse -= before;
        counted(moved);
    }
    return moved;
}

void* memalign(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}

void* aligned_alloc(size_t alignment, size_t size) {
    return counted(__libc_memalign(alignment, size));
}

int posix_memalign(void** block, size_t alignment, size_t size) {
    *block = counted(__libc_memalign(alignment, size));
    return *block ? 0 : ENOMEM;
}

void* valloc(size_t size) {
    return counted(__libc_memalign(4096, size));
}

void* pvalloc(size_t size) {
    return counted(__libc_memalign(4096, (size + 4095) & ~size_t(4095)));
}
}
