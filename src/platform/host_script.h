// A scripted stand-in for the user, for tests.
//
// While a script is installed, MessageBoxA, SHBrowseForFolderA and MessageBeep
// show nothing: they record the call and take their answer from the script.
// ShellExecuteA records each launch and starts the program only when the
// script says so. With no script installed (the default) every call does the
// real thing.
#pragma once

#include "win32.h"

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zor::host {

struct MessageBoxCall {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT style = 0;
};

struct FolderPickerCall {
    HWND owner = nullptr;
    std::string title;
    UINT flags = 0;
};

struct LaunchCall {
    std::string verb;
    std::string file;
    std::string parameters;
    std::string directory;
    int show = 0;
    int result = 0;  // what ShellExecuteA returned
};

struct Script {
    // Answers for the message boxes, in order (IDOK, IDYES, IDNO, ...). When
    // they run out, a box is answered with IDNO (IDOK for MB_OK) and counted
    // in unansweredBoxes.
    std::deque<int> messageBoxAnswers;
    // Called instead of taking an answer from messageBoxAnswers, when set: it
    // sees the state of the program at the moment the box would show.
    std::function<int(const MessageBoxCall &)> onMessageBox;

    // Picks for the folder picker, in order: a host folder path, or nullopt
    // for Cancel. When they run out, the picker is cancelled.
    std::deque<std::optional<std::string>> folderPicks;

    // When false, ShellExecuteA only records the launch and returns 42.
    bool launchForReal = false;

    // Overrides GetSystemMetrics(SM_CYCAPTION) when set.
    std::optional<int> captionHeight;

    // What happened.
    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FolderPickerCall> folderPickers;
    std::vector<LaunchCall> launches;
    int beeps = 0;
    int unansweredBoxes = 0;
};

// Installs a script (the caller keeps it alive) or, with nullptr, removes it.
void SetScript(Script *script);
Script *CurrentScript();

// Installs a script for the lifetime of this object.
class ScopedScript {
public:
    explicit ScopedScript(Script &script) : previous_(CurrentScript()) { SetScript(&script); }
    ~ScopedScript() { SetScript(previous_); }
    ScopedScript(const ScopedScript &) = delete;
    ScopedScript &operator=(const ScopedScript &) = delete;

private:
    Script *previous_;
};

}  // namespace zor::host
