#include "message_queue.h"

#include <algorithm>

namespace zor::host {

void MessageQueue::Post(const MSG &message)
{
    posted_.push_back(message);
}

void MessageQueue::PostQuit(int exitCode)
{
    quit_ = true;
    exitCode_ = exitCode;
}

std::optional<std::size_t> MessageQueue::FindMatch(HWND window, UINT first, UINT last,
                                                   const WindowFilter &belongs) const
{
    bool allMessages = first == 0 && last == 0;
    for (std::size_t i = 0; i < posted_.size(); ++i) {
        const MSG &message = posted_[i];
        if (window != nullptr && !(message.hwnd == window || (belongs && belongs(message.hwnd, window))))
            continue;
        if (!allMessages && (message.message < first || message.message > last))
            continue;
        return i;
    }
    return std::nullopt;
}

std::optional<MSG> MessageQueue::Take(HWND window, UINT first, UINT last, const WindowFilter &belongs)
{
    if (auto index = FindMatch(window, first, last, belongs)) {
        MSG message = posted_[*index];
        posted_.erase(posted_.begin() + static_cast<std::ptrdiff_t>(*index));
        return message;
    }
    std::optional<MSG> quit = Peek(window, first, last, belongs);
    if (quit)
        quit_ = false;
    return quit;
}

std::optional<MSG> MessageQueue::Peek(HWND window, UINT first, UINT last, const WindowFilter &belongs) const
{
    if (auto index = FindMatch(window, first, last, belongs))
        return posted_[*index];
    if (quit_) {
        MSG message{};
        message.message = WM_QUIT;
        message.wParam = static_cast<WPARAM>(exitCode_);
        return message;
    }
    return std::nullopt;
}

void MessageQueue::DropMessagesFor(HWND window)
{
    std::erase_if(posted_, [window](const MSG &message) { return message.hwnd == window; });
}

void MessageQueue::Clear()
{
    posted_.clear();
    quit_ = false;
    exitCode_ = 0;
}

} // namespace zor::host
