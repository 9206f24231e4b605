#include "file_io.h"

#include <cerrno>
#include <ctime>
#include <pthread.h>
#include <unistd.h>

namespace zor::posix {

ssize_t ReadFull(int fd, std::uint8_t *buffer, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        ssize_t got = ::read(fd, buffer + done, size - done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return -1;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool WriteAll(int fd, const std::uint8_t *data, std::size_t size)
{
    while (size > 0) {
        ssize_t put = ::write(fd, data, size);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        if (put == 0) {
            errno = ENOSPC;
            return false;
        }
        data += put;
        size -= static_cast<std::size_t>(put);
    }
    return true;
}

FileSizeSignalGuard::FileSizeSignalGuard()
{
    sigset_t block;
    sigemptyset(&block);
    sigaddset(&block, SIGXFSZ);
    pthread_sigmask(SIG_BLOCK, &block, &previous_);
}

FileSizeSignalGuard::~FileSizeSignalGuard()
{
    int saved = errno;
    if (raised_) {
        sigset_t wanted;
        sigemptyset(&wanted);
        sigaddset(&wanted, SIGXFSZ);
        timespec none{};
        while (sigtimedwait(&wanted, nullptr, &none) == SIGXFSZ) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
    errno = saved;
}

} // namespace zor::posix
