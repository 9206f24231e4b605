// Top-level windows and the message queue on real widgets: creation,
// synchronous sends, posting, the quit message, close requests, finding and
// destroying windows.
#include "host_test_support.h"

#include <QCloseEvent>
#include <QWidget>

namespace zor::host::testing {
namespace {

TEST_F(HostTest, WmCreateArrivesInsideCreateWindowWithTheCreationRecord)
{
    RegisterTestClass();
    int marker = 0;
    bool sawCreate = false;
    g_windowHook = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message == WM_CREATE) {
            sawCreate = true;
            const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lParam);
            EXPECT_EQ(create->lpCreateParams, &marker);
            EXPECT_STREQ(create->lpszName, "Grüße");
            EXPECT_STREQ(create->lpszClass, kTestClass);
            EXPECT_EQ(create->style, static_cast<LONG>(WS_OVERLAPPEDWINDOW));
            EXPECT_EQ(create->cx, 300);
            EXPECT_EQ(create->cy, 200);
            // The window exists already, with its title, and is not shown yet.
            EXPECT_TRUE(IsWindow(hwnd));
            EXPECT_FALSE(IsWindowVisible(hwnd));
            char title[32];
            EXPECT_EQ(GetWindowTextA(hwnd, title, sizeof title), 7);
            EXPECT_STREQ(title, "Grüße");
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    };
    HWND hwnd = CreateWindowExA(0, kTestClass, "Grüße", WS_OVERLAPPEDWINDOW, 5, 6, 300, 200, nullptr, nullptr, nullptr,
                                &marker);
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(sawCreate);
    QWidget *widget = test::WidgetOf(hwnd);
    ASSERT_NE(widget, nullptr);
    EXPECT_EQ(widget->windowTitle(), QString::fromUtf8("Grüße"));
    EXPECT_EQ(widget->size(), QSize(300, 200));
    EXPECT_EQ(widget->cursor().shape(), Qt::ArrowCursor);
    EXPECT_FALSE(widget->isVisible());
}

TEST_F(HostTest, CreateFailsWhenWmCreateSaysSoOrTheClassIsUnknown)
{
    RegisterTestClass();
    g_windowHook = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_CREATE ? -1 : DefWindowProcA(hwnd, message, wParam, lParam);
    };
    EXPECT_EQ(CreateWindowExA(0, kTestClass, "refused", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_EQ(DeliveredOf(WM_DESTROY).size(), 1u);
    EXPECT_TRUE(test::AllWindows().empty());

    ::testing::internal::CaptureStderr();
    HWND none =
        CreateWindowExA(0, "No Such Class", "x", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_NE(errors.find("No Such Class"), std::string::npos) << errors;
}

TEST_F(HostTest, DefaultSizeAndMaximizing)
{
    RegisterTestClass();
    HWND hwnd = CreateWindowExA(0, kTestClass, "default", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    QRect work = QGuiApplication::primaryScreen()->availableGeometry();
    RECT client;
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, work.width() * 3 / 4);
    EXPECT_EQ(client.bottom, work.height() * 3 / 4);

    EXPECT_FALSE(ShowWindow(hwnd, SW_SHOWMAXIMIZED)); // it was hidden
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(test::WidgetOf(hwnd)->isMaximized());
    ASSERT_TRUE(GetClientRect(hwnd, &client));
    EXPECT_EQ(client.right, work.width());
    EXPECT_EQ(client.bottom, work.height());
    EXPECT_EQ(test::BackingImage(hwnd).size(), work.size());

    EXPECT_TRUE(ShowWindow(hwnd, SW_HIDE));
    EXPECT_FALSE(IsWindowVisible(hwnd));
    ShowWindow(hwnd, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(HostTest, SendMessageCallsTheProcedureBeforeReturning)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    std::vector<UINT> seen;
    g_windowHook = [&](HWND h, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        seen.push_back(message);
        if (message == WM_USER + 1)
            return static_cast<LRESULT>(wParam + static_cast<WPARAM>(lParam));
        return DefWindowProcA(h, message, wParam, lParam);
    };
    EXPECT_EQ(SendMessageA(hwnd, WM_USER + 1, 40, 2), 42);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(test::PostedMessageCount(), 0u);
    EXPECT_EQ(SendMessageA(reinterpret_cast<HWND>(0x7777), WM_USER + 1, 1, 1), 0); // not a window
}

TEST_F(HostTest, PostedMessagesAreDispatchedInOrderThenQuit)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(PostMessageA(hwnd, WM_USER + 1, 1, 0));
    PostQuitMessage(0);
    EXPECT_TRUE(PostMessageA(hwnd, WM_USER + 2, 2, 0)); // posted after the quit request, taken before it
    EXPECT_FALSE(PostMessageA(reinterpret_cast<HWND>(0x7777), WM_USER, 0, 0));

    std::vector<WPARAM> dispatched;
    g_windowHook = [&](HWND h, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (message >= WM_USER)
            dispatched.push_back(wParam);
        return DefWindowProcA(h, message, wParam, lParam);
    };
    MSG message;
    message.wParam = 99;
    int loops = 0;
    BOOL result;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        EXPECT_EQ(message.hwnd, hwnd);
        TranslateMessage(&message);
        DispatchMessageA(&message);
        ASSERT_LT(++loops, 10);
    }
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 0u);
    EXPECT_EQ(dispatched, std::vector<WPARAM>({1, 2}));
}

TEST_F(HostTest, GetMessageWaitsOnTheEventLoop)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    // Nothing is queued: GetMessageA must let timers run to get anything.
    QTimer::singleShot(30, [hwnd] { PostMessageA(hwnd, WM_USER + 5, 7, 0); });
    QTimer::singleShot(60, [] { PostQuitMessage(4); });
    MSG message;
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), TRUE);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(message.wParam, 7u);
    ASSERT_EQ(GetMessageA(&message, nullptr, 0, 0), FALSE);
    EXPECT_EQ(message.wParam, 4u);
}

TEST_F(HostTest, PeekMessageLeavesOrTakes)
{
    HWND hwnd = CreateTestWindow();
    PostMessageA(hwnd, WM_USER, 1, 0);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(test::PostedMessageCount(), 1u);
    EXPECT_TRUE(PeekMessageA(&message, hwnd, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(message.wParam, 1u);
    EXPECT_FALSE(PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(HostTest, CloseRequestReachesTheProcedureAndDoesNotCloseByItself)
{
    HWND hwnd = CreateTestWindow();
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);
    g_windowHook = [](HWND h, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return message == WM_CLOSE ? 0 : DefWindowProcA(h, message, wParam, lParam);
    };
    QWidget *widget = test::WidgetOf(hwnd);
    EXPECT_FALSE(widget->close());
    EXPECT_TRUE(widget->isVisible());
    ASSERT_TRUE(PumpUntil([] { return !DeliveredOf(WM_CLOSE).empty(); }));
    EXPECT_EQ(DeliveredOf(WM_CLOSE).front().hwnd, hwnd);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_TRUE(IsWindowVisible(hwnd));
}

TEST_F(HostTest, DefWindowProcDestroysOnClose)
{
    HWND hwnd = CreateTestWindow();
    ShowWindow(hwnd, SW_SHOW);
    QPointer<QWidget> widget = test::WidgetOf(hwnd);
    widget->close();
    ASSERT_TRUE(PumpUntil([hwnd] { return !IsWindow(hwnd); }));
    auto destroyed = DeliveredOf(WM_DESTROY);
    ASSERT_EQ(destroyed.size(), 1u);
    EXPECT_EQ(destroyed.front().hwnd, hwnd);
    EXPECT_TRUE(widget.isNull());
    EXPECT_FALSE(DestroyWindow(hwnd));
    // The handle is never handed out again.
    HWND next = CreateTestWindow();
    EXPECT_NE(next, hwnd);
}

TEST_F(HostTest, DestroyingAnOwnerDestroysWhatItOwnsFirst)
{
    HWND owner = CreateTestWindow("owner");
    HWND owned =
        CreateWindowExA(0, kTestClass, "owned", WS_OVERLAPPEDWINDOW, 0, 0, 50, 50, owner, nullptr, nullptr, nullptr);
    ASSERT_NE(owned, nullptr);
    EXPECT_EQ(test::WidgetOf(owned)->parentWidget(), test::WidgetOf(owner));
    PostMessageA(owned, WM_USER, 0, 0);
    EXPECT_TRUE(DestroyWindow(owner));
    auto destroyed = DeliveredOf(WM_DESTROY);
    ASSERT_EQ(destroyed.size(), 2u);
    EXPECT_EQ(destroyed[0].hwnd, owned);
    EXPECT_EQ(destroyed[1].hwnd, owner);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_EQ(test::PostedMessageCount(), 0u); // the dead window's messages went with it
}

TEST_F(HostTest, FindWindowByClassAndTitle)
{
    HWND first = CreateTestWindow("first");
    HWND second = CreateTestWindow("second");
    EXPECT_EQ(FindWindowA(kTestClass, nullptr), first);
    EXPECT_EQ(FindWindowA("host test window", "second"), second);
    EXPECT_EQ(FindWindowA(nullptr, "second"), second);
    EXPECT_EQ(FindWindowA(kTestClass, "third"), nullptr);
    EXPECT_EQ(FindWindowA("Other", nullptr), nullptr);
}

TEST_F(HostTest, UnregisteringAClassFailsWhileItHasWindows)
{
    HWND hwnd = CreateTestWindow();
    EXPECT_FALSE(UnregisterClassA(kTestClass, nullptr));
    EXPECT_EQ(RegisterTestClass(), 0); // still registered
    DestroyWindow(hwnd);
    EXPECT_TRUE(UnregisterClassA(kTestClass, nullptr));
    EXPECT_FALSE(UnregisterClassA(kTestClass, nullptr));
}

TEST_F(HostTest, WindowTextRoundTripsThroughTheProcedure)
{
    HWND hwnd = CreateTestWindow("before");
    g_delivered.clear();
    EXPECT_TRUE(SetWindowTextA(hwnd, "après"));
    EXPECT_EQ(test::WidgetOf(hwnd)->windowTitle(), QString::fromUtf8("après"));
    char buffer[5];
    EXPECT_EQ(GetWindowTextA(hwnd, buffer, sizeof buffer), 3); // "apr": the è would not fit
    EXPECT_STREQ(buffer, "apr");
    EXPECT_EQ(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0), 6);
    EXPECT_EQ(DeliveredOf(WM_SETTEXT).size(), 1u);
    EXPECT_EQ(DeliveredOf(WM_GETTEXT).size(), 1u);
}

TEST_F(HostTest, SetForegroundWindowRaisesAndActivates)
{
    HWND back = CreateTestWindow("back");
    HWND front = CreateTestWindow("front");
    ShowWindow(back, SW_SHOW);
    ShowWindow(front, SW_SHOW);
    EXPECT_TRUE(SetForegroundWindow(back));
    ASSERT_TRUE(PumpUntil([back] { return QApplication::activeWindow() == test::WidgetOf(back); }, 2000));
    EXPECT_FALSE(SetForegroundWindow(reinterpret_cast<HWND>(0x7777)));
}

TEST_F(HostTest, SystemMetrics)
{
    QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), screen.width());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), screen.height());
    int caption = GetSystemMetrics(SM_CYCAPTION);
    EXPECT_GE(caption, 12);
    EXPECT_LE(caption, 64);

    Script script;
    script.captionHeight = 19;
    ScopedScript scoped(script);
    EXPECT_EQ(GetSystemMetrics(SM_CYCAPTION), 19);
}

} // namespace
} // namespace zor::host::testing
