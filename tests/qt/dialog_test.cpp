// Dialogs built from the test's compiled templates: layout in dialog units,
// WM_INITDIALOG, the controls, clicks and keys, texts, ending and failing.
#include "host_test_support.h"

#include "src/platform/resources/module_resources.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <cstring>

namespace zor::host::testing {
namespace {

constexpr int kDialog = 300;
constexpr int kStatic = 10, kEdit = 11, kContinue = 12, kCancel = 13, kBrowse = 14, kHidden = 15, kDisabled = 16;

class DialogTest : public HostTest {
  protected:
    HWND owner_ = nullptr;

    void SetUp() override
    {
        HostTest::SetUp();
        owner_ = CreateTestWindow("owner", 640, 480);
        ASSERT_NE(owner_, nullptr);
    }

    HWND CreateDialog(int id = kDialog, LPARAM parameter = 0)
    {
        return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), owner_, TestDlgProc, parameter);
    }

    static QWidget *Control(HWND dlg, int id) { return test::WidgetOf(GetDlgItem(dlg, id)); }

    static std::vector<WORD> CommandIds()
    {
        std::vector<WORD> ids;
        for (const Delivered &d : DeliveredOf(WM_COMMAND))
            ids.push_back(LOWORD(d.wParam));
        return ids;
    }
};

TEST_F(DialogTest, WmInitDialogArrivesInsideCreateDialog)
{
    bool inside = false;
    g_dialogHook = [&](HWND dlg, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
        if (message != WM_INITDIALOG)
            return FALSE;
        inside = true;
        // The first visible, enabled tab stop: the edit (the static is no tab stop).
        EXPECT_EQ(reinterpret_cast<HWND>(wParam), GetDlgItem(dlg, kEdit));
        EXPECT_EQ(lParam, 1234);
        // The controls exist; the dialog is not shown yet.
        EXPECT_NE(GetDlgItem(dlg, kBrowse), nullptr);
        EXPECT_FALSE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, kEdit, "C:\\Program Files\\ZOR\\");
        return TRUE;
    };
    HWND dlg = CreateDialog(kDialog, 1234);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(inside);
    // WS_VISIBLE in the template: shown after WM_INITDIALOG.
    EXPECT_TRUE(IsWindowVisible(dlg));
    // TRUE from WM_INITDIALOG: the edit gets the focus, its text selected.
    auto *edit = qobject_cast<QLineEdit *>(Control(dlg, kEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(test::WidgetOf(dlg)->focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QString::fromUtf8("C:\\Program Files\\ZOR\\"));
}

TEST_F(DialogTest, BuiltFromTheTemplate)
{
    HWND dlg = CreateDialog();
    ASSERT_NE(dlg, nullptr);
    QWidget *widget = test::WidgetOf(dlg);
    EXPECT_EQ(widget->windowTitle(), QStringLiteral("Host Test"));
    EXPECT_EQ(FindWindowA("#32770", "Host Test"), dlg);
    EXPECT_EQ(GetParent(dlg), owner_);

    // Not a QDialog; owned by (transient for) the owner; a caption without a
    // close button.
    EXPECT_EQ(qobject_cast<QDialog *>(widget), nullptr);
    EXPECT_EQ(widget->parentWidget(), test::WidgetOf(owner_));
    Qt::WindowFlags flags = widget->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowTitleHint));
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowSystemMenuHint));

    // Sized in dialog units of the template's font and centred on the screen.
    QFontMetrics metrics(widget->font());
    int baseX =
        (metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 26 + 1) /
        2;
    int baseY = metrics.height();
    auto px = [](int units, int base, int divisor) { return (units * base * 2 + divisor) / (divisor * 2); };
    EXPECT_EQ(widget->width(), px(171, baseX, 4));
    EXPECT_EQ(widget->height(), px(122, baseY, 8));
    EXPECT_EQ(widget->font().pointSize(), 8);
    QRect work = widget->screen()->availableGeometry();
    EXPECT_EQ(widget->pos(), QPoint(work.x() + (work.width() - widget->width()) / 2,
                                    work.y() + (work.height() - widget->height()) / 2));

    QWidget *browse = Control(dlg, kBrowse);
    EXPECT_EQ(browse->geometry(), QRect(px(121, baseX, 4), px(80, baseY, 8), px(121 + 43, baseX, 4) - px(121, baseX, 4),
                                        px(80 + 12, baseY, 8) - px(80, baseY, 8)));

    // The controls, their kinds and their texts, in template order.
    auto *label = qobject_cast<QLabel *>(Control(dlg, kStatic));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->wordWrap());
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignLeft));
    EXPECT_TRUE(label->alignment().testFlag(Qt::AlignTop));
    auto *edit = qobject_cast<QLineEdit *>(Control(dlg, kEdit));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->hasFrame());
    auto *continueButton = qobject_cast<QPushButton *>(Control(dlg, kContinue));
    auto *cancelButton = qobject_cast<QPushButton *>(Control(dlg, kCancel));
    ASSERT_NE(continueButton, nullptr);
    ASSERT_NE(cancelButton, nullptr);
    EXPECT_EQ(continueButton->text(), QStringLiteral("Continue"));
    EXPECT_TRUE(continueButton->isDefault());
    EXPECT_FALSE(cancelButton->isDefault());
    EXPECT_FALSE(Control(dlg, kHidden)->isVisible());
    EXPECT_FALSE(Control(dlg, kDisabled)->isEnabled());
    EXPECT_TRUE(Control(dlg, kBrowse)->isVisible());
    EXPECT_EQ(GetDlgCtrlID(GetDlgItem(dlg, kBrowse)), kBrowse);
    EXPECT_EQ(GetDlgItem(dlg, 999), nullptr);

    // Tab order follows the template.
    EXPECT_EQ(edit->nextInFocusChain(), continueButton);
    EXPECT_EQ(continueButton->nextInFocusChain(), cancelButton);
}

TEST_F(DialogTest, AMouseClickReachesTheDialogProcedureThroughTheLoop)
{
    HWND dlg = CreateDialog();
    ASSERT_NE(dlg, nullptr);
    g_delivered.clear();
    QTest::mouseClick(Control(dlg, kBrowse), Qt::LeftButton);
    // Posted, not called from inside the toolkit's mouse handling.
    EXPECT_TRUE(DeliveredOf(WM_COMMAND).empty());
    ASSERT_TRUE(PumpUntil([] { return !DeliveredOf(WM_COMMAND).empty(); }));
    Delivered command = DeliveredOf(WM_COMMAND).front();
    EXPECT_EQ(command.hwnd, dlg);
    EXPECT_EQ(command.wParam, MAKEWPARAM(kBrowse, BN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(command.lParam), GetDlgItem(dlg, kBrowse));

    // A disabled button takes no click.
    g_delivered.clear();
    QTest::mouseClick(Control(dlg, kDisabled), Qt::LeftButton);
    EXPECT_EQ(test::PostedMessageCount(), 0u);
}

TEST_F(DialogTest, BmClickIsSynchronous)
{
    HWND dlg = CreateDialog();
    g_delivered.clear();
    SendMessageA(GetDlgItem(dlg, kCancel), BM_CLICK, 0, 0);
    EXPECT_EQ(CommandIds(), std::vector<WORD>({kCancel}));
    SendMessageA(GetDlgItem(dlg, kDisabled), BM_CLICK, 0, 0);
    EXPECT_EQ(CommandIds(), std::vector<WORD>({kCancel}));
}

TEST_F(DialogTest, EnterEscapeAndTabPressNothingAndCloseNothing)
{
    g_dialogHook = [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR { return message == WM_INITDIALOG; };
    HWND dlg = CreateDialog();
    ASSERT_NE(dlg, nullptr);
    QWidget *widget = test::WidgetOf(dlg);
    QWidget *edit = Control(dlg, kEdit);
    QWidget *continueButton = Control(dlg, kContinue);
    g_delivered.clear();

    // In the edit, and with the default button itself focused.
    for (QWidget *focus : {edit, continueButton}) {
        focus->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_Tab}) {
            QTest::keyClick(focus, key);
            EXPECT_EQ(widget->focusWidget(), focus) << "key " << key;
        }
    }
    QTest::keyClick(widget, Qt::Key_Escape);
    PumpUntil([] { return false; }, 100);
    EXPECT_TRUE(CommandIds().empty());
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_TRUE(IsWindow(dlg));

    // The space bar is the button's own key: it clicks.
    continueButton->setFocus();
    QTest::keyClick(continueButton, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([] { return !CommandIds().empty(); }));
    EXPECT_EQ(CommandIds(), std::vector<WORD>({kContinue}));
}

TEST_F(DialogTest, TypingInTheEditNotifiesItsChange)
{
    HWND dlg = CreateDialog();
    g_delivered.clear();
    QWidget *edit = Control(dlg, kEdit);
    edit->setFocus();
    QTest::keyClicks(edit, "ab");
    ASSERT_TRUE(PumpUntil([] { return CommandIds().size() == 2; }));
    for (const Delivered &d : DeliveredOf(WM_COMMAND)) {
        EXPECT_EQ(d.wParam, MAKEWPARAM(kEdit, EN_CHANGE));
        EXPECT_EQ(reinterpret_cast<HWND>(d.lParam), GetDlgItem(dlg, kEdit));
    }
    // The program's own change is sent at once.
    g_delivered.clear();
    SetDlgItemTextA(dlg, kEdit, "x");
    EXPECT_EQ(CommandIds(), std::vector<WORD>({kEdit}));
}

TEST_F(DialogTest, DialogItemTextIsCutOnACharacterBoundary)
{
    HWND dlg = CreateDialog();
    // "C:\Grüße": the ü and ß take two bytes each.
    ASSERT_TRUE(SetDlgItemTextA(dlg, kEdit, "C:\\Grüße"));
    EXPECT_EQ(qobject_cast<QLineEdit *>(Control(dlg, kEdit))->text(), QString::fromUtf8("C:\\Grüße"));
    struct Case {
        int capacity;
        const char *expected;
    };
    const Case cases[] = {{1, ""},        {5, "C:\\G"},     {6, "C:\\Gr"},     {7, "C:\\Gr"},     {8, "C:\\Grü"},
                          {9, "C:\\Grü"}, {10, "C:\\Grüß"}, {11, "C:\\Grüße"}, {260, "C:\\Grüße"}};
    for (const Case &c : cases) {
        char buffer[260];
        std::memset(buffer, 'x', sizeof buffer);
        UINT copied = GetDlgItemTextA(dlg, kEdit, buffer, c.capacity);
        EXPECT_STREQ(buffer, c.expected) << "capacity " << c.capacity;
        EXPECT_EQ(copied, std::strlen(c.expected)) << "capacity " << c.capacity;
    }
    // A 300-byte text comes back as 259 bytes and a terminator.
    std::string longText(300, 'a');
    SetDlgItemTextA(dlg, kEdit, longText.c_str());
    char buffer[MAX_PATH];
    EXPECT_EQ(GetDlgItemTextA(dlg, kEdit, buffer, MAX_PATH), 259u);
    EXPECT_EQ(std::strlen(buffer), 259u);

    // A missing control gives an empty text.
    buffer[0] = 'x';
    EXPECT_EQ(GetDlgItemTextA(dlg, 999, buffer, MAX_PATH), 0u);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_FALSE(SetDlgItemTextA(dlg, 999, "x"));

    // Statics and buttons take their text the same way.
    SetDlgItemTextA(dlg, kStatic, "Fish && Chips");
    EXPECT_EQ(qobject_cast<QLabel *>(Control(dlg, kStatic))->text(), QStringLiteral("Fish & Chips"));
    GetDlgItemTextA(dlg, kStatic, buffer, MAX_PATH);
    EXPECT_STREQ(buffer, "Fish && Chips");
    SetDlgItemTextA(dlg, kBrowse, "Pick...");
    EXPECT_EQ(qobject_cast<QPushButton *>(Control(dlg, kBrowse))->text(), QStringLiteral("Pick..."));
}

TEST_F(DialogTest, EndDialogHidesWithoutDestroying)
{
    HWND dlg = CreateDialog();
    ASSERT_TRUE(IsWindowVisible(dlg));
    EXPECT_TRUE(EndDialog(dlg, 0));
    EXPECT_FALSE(IsWindowVisible(dlg));
    EXPECT_TRUE(IsWindow(dlg));
    EXPECT_FALSE(EndDialog(owner_, 0)); // not a dialog
}

TEST_F(DialogTest, ADialogThatShowsItselfAndOneThatDoesNot)
{
    // 301 has no WS_VISIBLE: hidden unless its procedure shows it.
    HWND hidden = CreateDialog(301);
    ASSERT_NE(hidden, nullptr);
    EXPECT_FALSE(IsWindowVisible(hidden));

    g_dialogHook = [](HWND dlg, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            ShowWindow(dlg, SW_SHOW);
            return TRUE;
        }
        return FALSE;
    };
    HWND shown = CreateDialog(301);
    EXPECT_TRUE(IsWindowVisible(shown));
    // A system menu gives it a close button; a face that is not installed
    // falls back to an installed one.
    QWidget *widget = test::WidgetOf(shown);
    EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(QFontInfo(widget->font()).family().isEmpty());
    // Placed 10,20 dialog units from its owner's client area.
    QPoint origin = test::WidgetOf(owner_)->mapToGlobal(QPoint(0, 0));
    EXPECT_GT(widget->x(), origin.x());
    EXPECT_GT(widget->y(), origin.y());
}

TEST_F(DialogTest, ACloseRequestIsTheCancelCommand)
{
    g_dialogHook = [](HWND dlg, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG)
            ShowWindow(dlg, SW_SHOW);
        return message == WM_INITDIALOG;
    };
    HWND dlg = CreateDialog(301);
    g_delivered.clear();
    EXPECT_FALSE(test::WidgetOf(dlg)->close());
    ASSERT_TRUE(PumpUntil([] { return !DeliveredOf(WM_COMMAND).empty(); }));
    EXPECT_EQ(DeliveredOf(WM_CLOSE).size(), 1u);
    Delivered command = DeliveredOf(WM_COMMAND).front();
    EXPECT_EQ(command.wParam, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(command.lParam), GetDlgItem(dlg, IDCANCEL));
    EXPECT_TRUE(IsWindowVisible(dlg));
}

TEST_F(DialogTest, SendMessageToADialogGoesToItsProcedure)
{
    HWND dlg = CreateDialog();
    std::vector<WORD> handled;
    g_dialogHook = [&](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == kCancel) {
            handled.push_back(LOWORD(wParam));
            return TRUE;
        }
        return FALSE;
    };
    SendMessageA(dlg, WM_COMMAND, kCancel, 0);
    EXPECT_EQ(handled, std::vector<WORD>({kCancel}));
    // Window text goes through the dialog procedure to the default handling.
    EXPECT_TRUE(SetWindowTextA(dlg, "Renamed"));
    EXPECT_EQ(test::WidgetOf(dlg)->windowTitle(), QStringLiteral("Renamed"));
}

TEST_F(DialogTest, TheOwnersDestructionTakesTheDialogAlong)
{
    HWND dlg = CreateDialog();
    HWND edit = GetDlgItem(dlg, kEdit);
    ASSERT_TRUE(DestroyWindow(owner_));
    EXPECT_FALSE(IsWindow(dlg));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(DeliveredOf(WM_DESTROY).front().hwnd, dlg);
}

TEST_F(DialogTest, ByNameAndByNumberText)
{
    HWND named = CreateDialogParamA(nullptr, "named", owner_, TestDlgProc, 0);
    ASSERT_NE(named, nullptr);
    EXPECT_EQ(test::WidgetOf(named)->windowTitle(), QStringLiteral("Named"));
    HWND numbered = CreateDialogParamA(nullptr, "#300", owner_, TestDlgProc, 0);
    ASSERT_NE(numbered, nullptr);
    EXPECT_EQ(test::WidgetOf(numbered)->windowTitle(), QStringLiteral("Host Test"));
}

TEST_F(DialogTest, FailuresGiveNullAndOneLine)
{
    struct Case {
        const char *name;
        HINSTANCE module;
        int id;
        const char *mentions;
    };
    const Case cases[] = {
        {"missing template", nullptr, 999, "dialog 999"},
        {"unsupported control", nullptr, 302, "SysListView32"},
        {"another module", reinterpret_cast<HINSTANCE>(0x1234), kDialog, "module"},
    };
    for (const Case &c : cases) {
        ::testing::internal::CaptureStderr();
        HWND dlg = CreateDialogParamA(c.module, MAKEINTRESOURCEA(c.id), owner_, TestDlgProc, 0);
        std::string errors = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(dlg, nullptr) << c.name;
        EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << c.name << ": " << errors;
        EXPECT_NE(errors.find(c.mentions), std::string::npos) << c.name << ": " << errors;
    }
    EXPECT_TRUE(DeliveredOf(WM_INITDIALOG).empty());
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

TEST_F(DialogTest, MalformedResourcesGiveNullAndOneLine)
{
    // A resource file cut short in its first header.
    static const std::byte truncated[] = {std::byte{0},    std::byte{0}, std::byte{0}, std::byte{0},
                                          std::byte{0x20}, std::byte{0}, std::byte{0}};
    zor::resources::RegisterProgramResources(truncated);
    ::testing::internal::CaptureStderr();
    HWND dlg = CreateDialog();
    std::string errors = ::testing::internal::GetCapturedStderr();
    RegisterTestResources();
    EXPECT_EQ(dlg, nullptr);
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
}

} // namespace
} // namespace zor::host::testing
