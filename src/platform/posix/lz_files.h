// The open files behind LZ32 handles.
#pragma once

#include "../logic/szdd_format.h"
#include "unique_fd.h"

#include <array>
#include <cstdint>
#include <mutex>

namespace zor::posix {

struct LzFile {
    UniqueFd fd;
    bool readable = false;
    bool writable = false;
    bool compressed = false; // reading expands the SZDD stream after the header
    szdd::Header header;
    // Bytes read from the start of an uncompressed file while looking for a
    // header; they come first when the file is copied.
    std::array<std::uint8_t, szdd::kHeaderSize> start{};
    std::size_t startSize = 0;
};

// A small table of open files; a handle is an index into it.
class LzFileTable {
  public:
    static constexpr int kCapacity = 32;

    static LzFileTable &Instance();

    // Takes the file and returns its handle, or -1 when the table is full.
    int Add(LzFile file);
    // The file of a handle, or nullptr. Valid until the handle is closed.
    LzFile *Find(int handle);
    // Closes the handle; false when it was not open.
    bool Remove(int handle);

  private:
    std::mutex mutex_;
    std::array<LzFile, kCapacity> files_{};
    std::array<bool, kCapacity> used_{};
};

} // namespace zor::posix
