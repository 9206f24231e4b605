#include "system_fixture.h"

#include "src/platform/qt/test_access.h"

#include <QObject>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <cstdlib>
#include <ostream>

namespace zor::system_test {
namespace {

// A message of the test's own, posted to mark how far the queue was served.
constexpr UINT kSentinel = WM_USER + 0x5e7;

} // namespace

void SystemTest::SetUp()
{
    ASSERT_FALSE(work_.path().empty());
    ASSERT_FALSE(drive_.path().empty());
    std::filesystem::create_directory(drive_.path() / "Program Files");
    setenv("ZOR_SETUP_DRIVE_C", drive_.path().c_str(), 1);
    e2e::CopyDemoPayload(work_.path());
    previousDirectory_ = std::filesystem::current_path();
    std::filesystem::current_path(work_.path());
    scopedScript_ = std::make_unique<host::ScopedScript>(script_);
    g_hSetupDlg = nullptr;
}

void SystemTest::TearDown()
{
    host::test::DestroyAllWindows();
    g_hSetupDlg = nullptr;
    if (classRegistered_)
        UnregisterClassA(SETUP_CLASS_NAME, GetModuleHandleA(nullptr));
    scopedScript_.reset();
    std::filesystem::current_path(previousDirectory_);
}

HWND SystemTest::CreateBackdrop(DWORD style, int width, int height, int show)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    if (!classRegistered_) {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = BackdropWndProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = SETUP_CLASS_NAME;
        classRegistered_ = RegisterClassExA(&windowClass) != 0;
    }
    const int x = width == CW_USEDEFAULT ? CW_USEDEFAULT : 0;
    backdrop_ = CreateWindowExA(0, SETUP_CLASS_NAME, SETUP_TITLE, style, x, x, width, height, nullptr, nullptr,
                                instance, nullptr);
    if (backdrop_ != nullptr)
        ShowWindow(backdrop_, show);
    return backdrop_;
}

// The sentinel is posted from a zero timer, that is, once the host waits for
// events. A quit message that is already there comes first; one that comes
// with the last messages is taken in the second round.
std::optional<int> SystemTest::Settle()
{
    HWND target = backdrop_ != nullptr ? backdrop_ : g_hSetupDlg;
    if (target == nullptr) {
        ADD_FAILURE() << "nothing to settle: no window";
        return std::nullopt;
    }
    for (int round = 0; round < 2; round++) {
        const int mark = ++sentinel_;
        QObject context;
        QTimer::singleShot(0, &context, [target, mark] { PostMessageA(target, kSentinel, mark, 0); });
        for (;;) {
            MSG message{};
            BOOL got = GetMessageA(&message, nullptr, 0, 0);
            if (got == 0)
                return static_cast<int>(message.wParam);
            if (got < 0) {
                ADD_FAILURE() << "GetMessageA failed";
                return std::nullopt;
            }
            if (message.message == kSentinel) {
                if (static_cast<int>(message.wParam) == mark)
                    break;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return std::nullopt;
}

std::optional<int> SystemTest::Press(int id)
{
    QWidget *widget = host::test::WidgetOf(GetDlgItem(g_hSetupDlg, id));
    if (widget == nullptr) {
        ADD_FAILURE() << "no button " << id;
        return std::nullopt;
    }
    QTest::mouseClick(widget, Qt::LeftButton);
    return Settle();
}

std::string SystemTest::FolderText() const
{
    char text[MAX_PATH] = "(unread)";
    GetDlgItemTextA(g_hSetupDlg, IDC_INSTALL_PATH, text, MAX_PATH);
    return text;
}

void SystemTest::SetFolderText(const std::string &text) const
{
    SetDlgItemTextA(g_hSetupDlg, IDC_INSTALL_PATH, text.c_str());
}

bool SystemTest::DialogVisible() const
{
    return g_hSetupDlg != nullptr && IsWindowVisible(g_hSetupDlg);
}

std::vector<Box> BoxesOf(const host::Script &script)
{
    std::vector<Box> boxes;
    for (const host::MessageBoxCall &call : script.messageBoxes)
        boxes.push_back({call.text, call.caption, call.style});
    return boxes;
}

void PrintTo(const Box &box, std::ostream *out)
{
    *out << "{\"" << box.text << "\", \"" << box.caption << "\", 0x" << std::hex << box.style << std::dec << "}";
}

} // namespace zor::system_test
