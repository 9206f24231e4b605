// Drives the running setup program from outside, as a user would, for the
// end-to-end test under Wine (or on Windows).
//
// The command line is a small script: commands separated by ';', words
// separated by blanks, and "double quotes" around a word that holds blanks or
// ';'. Inside quotes every character is taken as it is (a backslash is just a
// backslash), so Windows paths need no escaping. Commands:
//
//   wait-dialog [ms]                   wait for the setup dialog to show
//   set-folder TEXT                    set the install folder text
//   expect-folder TEXT                 the install folder text is TEXT
//   click ID                           press the dialog's button ID
//   expect-box CAPTION TEXT ANSWER [ms]
//                                      wait for a message box, check its caption
//                                      and text, answer it (yes, no or ok) and
//                                      wait until it has gone
//   expect-no-box ms                   no message box shows up for ms
//   wait-closed [ms]                   wait until the setup dialog has gone
//   sleep ms
//   hold-desktop ms                    make sure the desktop is up, say so, and
//                                      keep it in use for ms
//
// Every wait has a deadline (20 seconds unless given). Each step is echoed;
// the first failure prints one line starting with "FAIL" and ends the driver
// with exit code 1 (2 for a script that cannot be read).

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr char kDialogClass[] = "#32770";
constexpr char kSetupCaption[] = "ZOR Setup";
constexpr int kFolderId = 1001;
constexpr int kMessageTextId = 0xFFFF;
constexpr DWORD kDefaultWaitMs = 20000;
constexpr DWORD kPollMs = 50;
// A box whose caption or text does not match yet is given this long to settle
// before the mismatch counts.
constexpr DWORD kSettleMs = 1000;

struct Failure {
    std::string message;
};

[[noreturn]] void Fail(const std::string &message)
{
    throw Failure{message};
}

using Command = std::vector<std::string>;

// Splits the script into commands and words.
std::vector<Command> ParseScript(const std::string &script)
{
    std::vector<Command> commands(1);
    std::string word;
    bool inWord = false;
    bool quoted = false;
    auto endWord = [&] {
        if (inWord)
            commands.back().push_back(word);
        word.clear();
        inWord = false;
    };
    for (char c : script) {
        if (quoted) {
            if (c == '"')
                quoted = false;
            else
                word += c;
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ';') {
            endWord();
            commands.emplace_back();
        } else if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            endWord();
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        Fail("unterminated quote in the script");
    endWord();
    std::vector<Command> result;
    for (auto &command : commands) {
        if (!command.empty())
            result.push_back(std::move(command));
    }
    return result;
}

unsigned long ParseNumber(const std::string &text, const char *what)
{
    char *end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0')
        Fail(std::string("not a number for ") + what + ": \"" + text + "\"");
    return value;
}

std::string ClassOf(HWND hwnd)
{
    char name[64] = "";
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd)
{
    char text[1024] = "";
    GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

// Text of a dialog's control, read through the dialog manager.
std::optional<std::string> ItemTextOf(HWND dlg, int id)
{
    if (GetDlgItem(dlg, id) == nullptr)
        return std::nullopt;
    char text[1024] = "";
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::string(text);
}

bool IsSetupDialog(HWND hwnd)
{
    return ClassOf(hwnd) == kDialogClass && TextOf(hwnd) == kSetupCaption && GetDlgItem(hwnd, kFolderId) != nullptr;
}

std::vector<HWND> VisibleDialogs()
{
    std::vector<HWND> found;
    EnumWindows(
        [](HWND hwnd, LPARAM list) -> BOOL {
            if (IsWindowVisible(hwnd) && ClassOf(hwnd) == kDialogClass)
                reinterpret_cast<std::vector<HWND> *>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A message box: a visible top-level dialog that is not the setup dialog.
HWND FindMessageBox()
{
    for (HWND hwnd : VisibleDialogs()) {
        if (!IsSetupDialog(hwnd))
            return hwnd;
    }
    return nullptr;
}

// The message text of a box: its text control, or else the longest text of
// its static controls.
std::string MessageTextOf(HWND box)
{
    if (auto text = ItemTextOf(box, kMessageTextId))
        return *text;
    std::string longest;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM result) -> BOOL {
            auto &best = *reinterpret_cast<std::string *>(result);
            std::string text = TextOf(child);
            if (ClassOf(child) == "Static" && text.size() > best.size())
                best = text;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&longest));
    return longest;
}

class Driver {
  public:
    void Run(const Command &command);

  private:
    HWND Dialog() const
    {
        if (dialog_ == nullptr)
            Fail("no setup dialog yet (wait-dialog first)");
        if (!IsWindow(dialog_) || !IsWindowVisible(dialog_))
            Fail("the setup dialog has gone");
        return dialog_;
    }

    void WaitDialog(DWORD ms);
    void ExpectBox(const std::string &caption, const std::string &text, const std::string &answer, DWORD ms);
    void ExpectNoBox(DWORD ms);
    void WaitClosed(DWORD ms);

    HWND dialog_ = nullptr;
};

void Driver::WaitDialog(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        for (HWND hwnd : VisibleDialogs()) {
            if (IsSetupDialog(hwnd)) {
                dialog_ = hwnd;
                return;
            }
        }
        Sleep(kPollMs);
    } while (GetTickCount() - start < ms);
    Fail("the setup dialog did not show within " + std::to_string(ms) + " ms");
}

void Driver::ExpectBox(const std::string &caption, const std::string &text, const std::string &answer, DWORD ms)
{
    int button;
    if (answer == "yes")
        button = IDYES;
    else if (answer == "no")
        button = IDNO;
    else if (answer == "ok")
        button = IDOK;
    else
        Fail("unknown answer \"" + answer + "\" (yes, no or ok)");

    DWORD start = GetTickCount();
    DWORD firstSeen = 0;
    HWND box = nullptr;
    std::string seenCaption;
    std::string seenText;
    for (;;) {
        box = FindMessageBox();
        if (box != nullptr) {
            seenCaption = TextOf(box);
            seenText = MessageTextOf(box);
            if (seenCaption == caption && seenText == text)
                break;
            if (firstSeen == 0)
                firstSeen = GetTickCount();
            if (GetTickCount() - firstSeen >= kSettleMs)
                Fail("expected box \"" + caption + "\": \"" + text + "\", saw box \"" + seenCaption + "\": \"" +
                     seenText + "\"");
        }
        if (GetTickCount() - start >= ms)
            Fail("no box \"" + caption + "\": \"" + text + "\" within " + std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }

    HWND buttonWindow = GetDlgItem(box, button);
    if (buttonWindow == nullptr)
        Fail("box \"" + caption + "\" has no " + answer + " button");
    // Posted, not sent: the box runs its own modal loop, and the button's
    // click ends it.
    PostMessageA(buttonWindow, BM_CLICK, 0, 0);

    start = GetTickCount();
    while (IsWindow(box) && IsWindowVisible(box)) {
        if (GetTickCount() - start >= kDefaultWaitMs)
            Fail("box \"" + caption + "\" did not close after " + answer);
        Sleep(kPollMs);
    }
}

void Driver::ExpectNoBox(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        if (HWND box = FindMessageBox())
            Fail("unexpected box \"" + TextOf(box) + "\": \"" + MessageTextOf(box) + "\"");
        Sleep(kPollMs);
    } while (GetTickCount() - start < ms);
}

void Driver::WaitClosed(DWORD ms)
{
    if (dialog_ == nullptr)
        Fail("no setup dialog yet (wait-dialog first)");
    DWORD start = GetTickCount();
    while (IsWindow(dialog_) && IsWindowVisible(dialog_)) {
        if (GetTickCount() - start >= ms)
            Fail("the setup dialog is still open after " + std::to_string(ms) + " ms");
        Sleep(kPollMs);
    }
}

void Driver::Run(const Command &command)
{
    const std::string &name = command[0];
    auto argument = [&](size_t i) -> const std::string & {
        if (i >= command.size())
            Fail(name + ": missing argument " + std::to_string(i));
        return command[i];
    };
    auto optionalMs = [&](size_t i) {
        return i < command.size() ? static_cast<DWORD>(ParseNumber(command[i], "a wait")) : kDefaultWaitMs;
    };
    size_t maxWords;

    if (name == "wait-dialog") {
        maxWords = 2;
        WaitDialog(optionalMs(1));
    } else if (name == "set-folder") {
        maxWords = 2;
        if (!SetDlgItemTextA(Dialog(), kFolderId, argument(1).c_str()))
            Fail("could not set the folder text");
    } else if (name == "expect-folder") {
        maxWords = 2;
        std::string seen = ItemTextOf(Dialog(), kFolderId).value_or("");
        if (seen != argument(1))
            Fail("expected folder text \"" + argument(1) + "\", saw \"" + seen + "\"");
    } else if (name == "click") {
        maxWords = 2;
        int id = static_cast<int>(ParseNumber(argument(1), "a control id"));
        HWND button = GetDlgItem(Dialog(), id);
        if (button == nullptr)
            Fail("the setup dialog has no control " + std::to_string(id));
        PostMessageA(button, BM_CLICK, 0, 0);
    } else if (name == "expect-box") {
        maxWords = 5;
        ExpectBox(argument(1), argument(2), argument(3), optionalMs(4));
    } else if (name == "expect-no-box") {
        maxWords = 2;
        ExpectNoBox(static_cast<DWORD>(ParseNumber(argument(1), "a wait")));
    } else if (name == "wait-closed") {
        maxWords = 2;
        WaitClosed(optionalMs(1));
    } else if (name == "hold-desktop") {
        // Under Wine the desktop (and its process) goes away once no program
        // uses it, and programs that start together race to bring it back.
        // A program that keeps using it spares the others that wait.
        maxWords = 2;
        DWORD ms = static_cast<DWORD>(ParseNumber(argument(1), "a wait"));
        if (GetDesktopWindow() == nullptr)
            Fail("no desktop window");
        std::printf("driver: desktop ready\n");
        std::fflush(stdout);
        Sleep(ms);
    } else if (name == "sleep") {
        maxWords = 2;
        Sleep(static_cast<DWORD>(ParseNumber(argument(1), "a wait")));
    } else {
        Fail("unknown command \"" + name + "\"");
    }
    if (command.size() > maxWords)
        Fail(name + ": too many arguments");
}

std::string Describe(const Command &command)
{
    std::string text;
    for (const auto &word : command) {
        if (!text.empty())
            text += ' ';
        text += word.find_first_of(" ;") == std::string::npos && !word.empty() ? word : '"' + word + '"';
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    std::string script;
    for (int i = 1; i < argc; i++) {
        script += argv[i];
        script += ' ';
    }

    std::vector<Command> commands;
    try {
        commands = ParseScript(script);
    } catch (const Failure &failure) {
        std::printf("FAIL: %s\n", failure.message.c_str());
        return 2;
    }
    if (commands.empty()) {
        std::printf("usage: zor-driver COMMAND [ARG...] [; COMMAND ...]\n");
        return 2;
    }

    Driver driver;
    DWORD start = GetTickCount();
    for (const auto &command : commands) {
        std::printf("driver: [%5lu ms] %s\n", static_cast<unsigned long>(GetTickCount() - start),
                    Describe(command).c_str());
        std::fflush(stdout);
        try {
            driver.Run(command);
        } catch (const Failure &failure) {
            std::printf("FAIL: %s: %s\n", command[0].c_str(), failure.message.c_str());
            std::fflush(stdout);
            return 1;
        }
    }
    std::printf("driver: [%5lu ms] done\n", static_cast<unsigned long>(GetTickCount() - start));
    return 0;
}
