// USER32: message boxes and the beep. With a script installed (see
// host_script.h) they show nothing: the call is recorded and answered from
// the script.

#include "app_instance.h"
#include "host_state.h"
#include "mapping/message_box_style.h"

#include "src/platform/host_script.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace zor::host {
namespace {

QMessageBox::Icon IconFor(MessageBoxIcon icon)
{
    switch (icon) {
    case MessageBoxIcon::Error:
        return QMessageBox::Critical;
    case MessageBoxIcon::Question:
        return QMessageBox::Question;
    case MessageBoxIcon::Warning:
        return QMessageBox::Warning;
    case MessageBoxIcon::Information:
        return QMessageBox::Information;
    case MessageBoxIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QAbstractButton *AddButton(QMessageBox &box, int id)
{
    switch (id) {
    case IDOK:
        return box.addButton(QMessageBox::Ok);
    case IDCANCEL:
        return box.addButton(QMessageBox::Cancel);
    case IDABORT:
        return box.addButton(QMessageBox::Abort);
    case IDRETRY:
        return box.addButton(QMessageBox::Retry);
    case IDIGNORE:
        return box.addButton(QMessageBox::Ignore);
    case IDYES:
        return box.addButton(QMessageBox::Yes);
    case IDNO:
        return box.addButton(QMessageBox::No);
    case IDTRYAGAIN:
        return box.addButton(QMessageBox::tr("&Try Again"), QMessageBox::AcceptRole);
    case IDCONTINUE:
        return box.addButton(QMessageBox::tr("&Continue"), QMessageBox::AcceptRole);
    default:
        return nullptr;
    }
}

int ScriptedAnswer(Script &script, MessageBoxCall call, const MessageBoxLayout &layout)
{
    script.messageBoxes.push_back(call);
    if (script.onMessageBox)
        return script.onMessageBox(call);
    if (!script.messageBoxAnswers.empty()) {
        int answer = script.messageBoxAnswers.front();
        script.messageBoxAnswers.pop_front();
        return answer;
    }
    ++script.unansweredBoxes;
    return UnansweredResult(layout);
}

} // namespace
} // namespace zor::host

using namespace zor::host;

extern "C" int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    std::string text = lpText == nullptr ? std::string() : std::string(lpText);
    std::string caption = lpCaption == nullptr ? std::string("Error") : std::string(lpCaption);
    MessageBoxLayout layout = LayoutForStyle(uType);
    if (Script *script = CurrentScript())
        return ScriptedAnswer(*script, MessageBoxCall{hWnd, text, caption, uType}, layout);

    std::string why;
    if (EnsureApplication(&why) == nullptr) {
        ReportFailure("MessageBoxA", "cannot show \"" + caption + "\": " + why);
        return 0;
    }
    QWidget *owner = WidgetOfWindow(hWnd);
    if (owner != nullptr)
        owner = owner->window();
    QMessageBox box(IconFor(layout.icon), QString::fromUtf8(caption.c_str()), QString::fromUtf8(text.c_str()),
                    QMessageBox::NoButton, owner);
    box.setTextFormat(Qt::PlainText);
    std::vector<std::pair<QAbstractButton *, int>> buttons;
    for (int id : layout.buttons)
        buttons.emplace_back(AddButton(box, id), id);
    for (const auto &[button, id] : buttons) {
        if (id == layout.defaultButton)
            box.setDefaultButton(qobject_cast<QPushButton *>(button));
        if (id == layout.escapeAnswer)
            box.setEscapeButton(button);
    }
    // Modal to its owner, as the owner is disabled while the box is up; a
    // box without an owner blocks every window.
    box.setWindowModality(owner != nullptr ? Qt::WindowModal : Qt::ApplicationModal);
    box.exec();

    QAbstractButton *clicked = box.clickedButton();
    for (const auto &[button, id] : buttons) {
        if (button == clicked)
            return id;
    }
    return layout.escapeAnswer != 0 ? layout.escapeAnswer : layout.defaultButton;
}

extern "C" BOOL WINAPI MessageBeep(UINT)
{
    if (Script *script = CurrentScript()) {
        ++script->beeps;
        return TRUE;
    }
    if (EnsureApplication() == nullptr)
        return FALSE;
    QApplication::beep();
    return TRUE;
}
