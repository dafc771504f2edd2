#pragma once

#include <cerrno>
#include <unistd.h>

// The one owner of an open file descriptor: it is closed when the owner goes, however the scope is left, so an early
// return or an exception between open(2) and close(2) cannot leak it. Closing here keeps errno as it was, so a way out
// that reports errno reports the failure that led there, not the close's.
//
// A close whose result matters (the last write error of a file system that writes back late, before a rename or
// when a write is confirmed) is made by hand on release(), where the reader can see that it is checked.
class UniqueFd {
public:
    UniqueFd() noexcept = default;
    explicit UniqueFd(int fd) noexcept : m_fd(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : m_fd(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const noexcept { return m_fd; }
    explicit operator bool() const noexcept { return m_fd >= 0; }

    // Hands the descriptor over; this owner then holds none.
    [[nodiscard]] int release() noexcept {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

    // Closes the descriptor held, if any, and takes fd.
    void reset(int fd = -1) noexcept {
        const int old = m_fd;
        m_fd = fd;
        if (old < 0)
            return;
        const int saved = errno;
        ::close(old);
        errno = saved;
    }

private:
    int m_fd = -1;
};
