// Whole reads and writes on file descriptors.
#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <sys/types.h>

namespace zor::posix {

// Reads until `size` bytes or the end of the file. Returns the count, or -1
// (errno set) on a read error.
ssize_t ReadFull(int fd, std::uint8_t *buffer, std::size_t size);

// Writes all of it. Returns false (errno set) on a write error.
bool WriteAll(int fd, const std::uint8_t *data, std::size_t size);

// While it lives, a write past the process's file-size limit fails with EFBIG
// instead of ending the process with SIGXFSZ: the signal is blocked on this
// thread, and the one that such a write raised is taken away before the old
// mask comes back.
class FileSizeSignalGuard {
  public:
    FileSizeSignalGuard();
    ~FileSizeSignalGuard();
    FileSizeSignalGuard(const FileSizeSignalGuard &) = delete;
    FileSizeSignalGuard &operator=(const FileSizeSignalGuard &) = delete;

    // To be called after a write failed with EFBIG.
    void NoteFileTooLarge() { raised_ = true; }

  private:
    sigset_t previous_{};
    bool raised_ = false;
};

} // namespace zor::posix
