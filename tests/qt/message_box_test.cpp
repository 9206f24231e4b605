// Message boxes and the beep: real boxes answered by clicking and by keys,
// and the scripted stand-in for the user.
#include "host_test_support.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTest>

namespace zor::host::testing {
namespace {

class MessageBoxTest : public HostTest {
  protected:
    HWND owner_ = nullptr;
    void SetUp() override
    {
        HostTest::SetUp();
        owner_ = CreateTestWindow("owner");
        ShowWindow(owner_, SW_SHOW);
    }
};

struct Seen {
    QString caption;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    std::vector<QMessageBox::StandardButton> buttons;
    Qt::WindowModality modality = Qt::NonModal;
    QWidget *parent = nullptr;
    bool seen = false;
};

// Records the box, then presses `press` on it with the mouse, or sends it
// `key` when press is NoButton.
void AnswerBox(Seen &seen, QMessageBox::StandardButton press, Qt::Key key = Qt::Key_unknown)
{
    WhenModal([&seen, press, key](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (box == nullptr)
            return;
        seen.seen = true;
        seen.caption = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *button : box->buttons())
            seen.buttons.push_back(box->standardButton(button));
        seen.modality = box->windowModality();
        seen.parent = box->parentWidget();
        if (press != QMessageBox::NoButton)
            QTest::mouseClick(box->button(press), Qt::LeftButton);
        else
            QTest::keyClick(box, key);
    });
}

TEST_F(MessageBoxTest, AYesNoQuestionAnsweredYesAndNo)
{
    Seen seen;
    AnswerBox(seen, QMessageBox::Yes);
    EXPECT_EQ(MessageBoxA(owner_, "Create it?", "ZOR Setup", 0x24), IDYES);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.caption, QStringLiteral("ZOR Setup"));
    EXPECT_EQ(seen.text, QStringLiteral("Create it?"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    ASSERT_EQ(seen.buttons.size(), 2u);
    EXPECT_EQ(seen.modality, Qt::WindowModal);
    EXPECT_EQ(seen.parent, test::WidgetOf(owner_));

    Seen second;
    AnswerBox(second, QMessageBox::No);
    EXPECT_EQ(MessageBoxA(owner_, "Cancel?", "ZOR Setup", 0x34), IDNO);
    EXPECT_EQ(second.icon, QMessageBox::Warning);
}

TEST_F(MessageBoxTest, EscapeOnAYesNoBoxIsNo)
{
    Seen seen;
    AnswerBox(seen, QMessageBox::NoButton, Qt::Key_Escape);
    EXPECT_EQ(MessageBoxA(owner_, "Cancel?", "ZOR Setup", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_TRUE(seen.seen);
}

TEST_F(MessageBoxTest, AnErrorBoxAnsweredOkWithUtf8Texts)
{
    Seen seen;
    AnswerBox(seen, QMessageBox::Ok);
    EXPECT_EQ(MessageBoxA(owner_, "Fehler: Größe <b>", "Ärger", 0x10), IDOK);
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.caption, QString::fromUtf8("Ärger"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Fehler: Größe <b>")); // plain text, not markup
    EXPECT_EQ(seen.buttons, std::vector<QMessageBox::StandardButton>({QMessageBox::Ok}));
}

TEST_F(MessageBoxTest, WithoutAnOwnerTheBoxBlocksTheApplication)
{
    Seen seen;
    AnswerBox(seen, QMessageBox::Cancel);
    EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_OKCANCEL | MB_ICONINFORMATION), IDCANCEL);
    EXPECT_EQ(seen.modality, Qt::ApplicationModal);
    EXPECT_EQ(seen.caption, QStringLiteral("Error")); // the caption when none is given
    EXPECT_EQ(seen.icon, QMessageBox::Information);
}

TEST_F(MessageBoxTest, AScriptAnswersWithoutShowingAnything)
{
    Script script;
    script.messageBoxAnswers = {IDYES};
    ScopedScript scoped(script);
    EXPECT_EQ(MessageBoxA(owner_, "first", "ZOR Setup", 0x24), IDYES);
    // Answers run out: the box's escape answer, counted.
    EXPECT_EQ(MessageBoxA(owner_, "second", "ZOR Setup", 0x34), IDNO);
    EXPECT_EQ(MessageBoxA(owner_, "third", "ZOR Setup Error", 0x10), IDOK);
    EXPECT_EQ(script.unansweredBoxes, 2);
    ASSERT_EQ(script.messageBoxes.size(), 3u);
    EXPECT_EQ(script.messageBoxes[1].owner, owner_);
    EXPECT_EQ(script.messageBoxes[1].text, "second");
    EXPECT_EQ(script.messageBoxes[2].caption, "ZOR Setup Error");
    EXPECT_EQ(script.messageBoxes[2].style, 0x10u);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

    script.onMessageBox = [](const MessageBoxCall &call) { return call.text == "ask" ? IDYES : IDNO; };
    EXPECT_EQ(MessageBoxA(owner_, "ask", "c", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxA(owner_, "other", "c", MB_YESNO), IDNO);

    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_TRUE(MessageBeep(0xFFFFFFFF));
    EXPECT_EQ(script.beeps, 2);
}

TEST_F(MessageBoxTest, ABoxCanBeOpenedFromAClickHandler)
{
    // The click is dispatched from the program's loop, so the handler's box
    // runs its own loop nested inside it.
    HWND dlg = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(300), owner_, TestDlgProc, 0);
    ASSERT_NE(dlg, nullptr);
    int answer = 0;
    g_dialogHook = [&](HWND d, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == 13) {
            answer = MessageBoxA(d, "Are you sure?", "ZOR Setup", 0x34);
            if (answer == IDYES) {
                PostQuitMessage(0);
                EndDialog(d, 0);
            }
            return TRUE;
        }
        return FALSE;
    };
    Seen seen;
    AnswerBox(seen, QMessageBox::Yes);
    QTest::mouseClick(test::WidgetOf(GetDlgItem(dlg, 13)), Qt::LeftButton);
    MSG message;
    int loops = 0;
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && ++loops < 20)
        DispatchMessageA(&message);
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(answer, IDYES);
    EXPECT_EQ(seen.parent, test::WidgetOf(dlg)); // modal to the dialog that asked
    EXPECT_FALSE(IsWindowVisible(dlg));
}

} // namespace
} // namespace zor::host::testing
