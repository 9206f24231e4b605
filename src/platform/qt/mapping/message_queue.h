// The thread's queue of posted messages and its quit request.
#pragma once

#include "src/platform/api/user32.h"

#include <deque>
#include <functional>
#include <optional>

namespace zor::host {

class MessageQueue {
  public:
    // Tells whether a message for window `target` passes a window filter:
    // GetMessageA's hWnd takes the messages of that window and its children.
    using WindowFilter = std::function<bool(HWND target, HWND filter)>;

    void Post(const MSG &message);

    // Asks the loop to end: WM_QUIT with `exitCode`, taken once no posted
    // message that the loop asks for is left. A later request replaces the
    // code of an earlier one.
    void PostQuit(int exitCode);

    // Takes the first posted message that passes the filters (a window, or
    // nullptr for any, and a message range, 0-0 for all); when none passes,
    // the quit message if one was asked for. nullopt when there is nothing to
    // take.
    std::optional<MSG> Take(HWND window, UINT first, UINT last, const WindowFilter &belongs);

    // What Take would return, without removing it.
    std::optional<MSG> Peek(HWND window, UINT first, UINT last, const WindowFilter &belongs) const;

    // Drops the posted messages of a window that is being destroyed.
    void DropMessagesFor(HWND window);

    void Clear();
    bool QuitRequested() const { return quit_; }
    std::size_t PostedCount() const { return posted_.size(); }

  private:
    std::optional<std::size_t> FindMatch(HWND window, UINT first, UINT last, const WindowFilter &belongs) const;

    std::deque<MSG> posted_;
    bool quit_ = false;
    int exitCode_ = 0;
};

} // namespace zor::host
