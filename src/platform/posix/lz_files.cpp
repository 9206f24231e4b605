#include "lz_files.h"

namespace zor::posix {

LzFileTable &LzFileTable::Instance()
{
    static LzFileTable table;
    return table;
}

int LzFileTable::Add(LzFile file)
{
    std::lock_guard lock(mutex_);
    for (int i = 0; i < kCapacity; i++) {
        auto index = static_cast<std::size_t>(i);
        if (!used_[index]) {
            used_[index] = true;
            files_[index] = std::move(file);
            return i;
        }
    }
    return -1;
}

LzFile *LzFileTable::Find(int handle)
{
    std::lock_guard lock(mutex_);
    if (handle < 0 || handle >= kCapacity || !used_[static_cast<std::size_t>(handle)])
        return nullptr;
    return &files_[static_cast<std::size_t>(handle)];
}

bool LzFileTable::Remove(int handle)
{
    std::lock_guard lock(mutex_);
    if (handle < 0 || handle >= kCapacity || !used_[static_cast<std::size_t>(handle)])
        return false;
    auto index = static_cast<std::size_t>(handle);
    used_[index] = false;
    files_[index] = LzFile{};
    return true;
}

} // namespace zor::posix
