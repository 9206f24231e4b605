#include "window_text.h"

#include "host_state.h"
#include "mapping/utf8_text.h"
#include "mapping/window_style.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

namespace zor::host {

std::string WindowText(const Window &window)
{
    if (window.control == ControlKind::Edit) {
        if (auto *edit = qobject_cast<QLineEdit *>(window.widget.data()))
            return edit->text().toStdString();
    }
    return window.text;
}

void SetWindowTextOf(Window &window, std::string_view text)
{
    window.text = std::string(text);
    QWidget *widget = window.widget.data();
    if (widget == nullptr)
        return;
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    switch (window.control) {
    case ControlKind::None:
        widget->setWindowTitle(shown);
        break;
    case ControlKind::Static:
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            std::string display = StaticDisplayText(text, (window.style & SS_NOPREFIX) != 0);
            label->setText(QString::fromStdString(display));
        }
        break;
    case ControlKind::Edit:
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            edit->setText(shown);
        break;
    case ControlKind::Button:
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(shown);
        break;
    }
}

LRESULT CopyWindowText(const Window &window, WPARAM capacity, LPARAM buffer)
{
    if (buffer == 0 || capacity == 0)
        return 0;
    return static_cast<LRESULT>(CopyUtf8Cut(reinterpret_cast<char *>(buffer), capacity, WindowText(window)));
}

} // namespace zor::host

using zor::host::State;

extern "C" int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount)
{
    if (lpString == nullptr || nMaxCount <= 0)
        return 0;
    lpString[0] = '\0';
    if (State().windows.Find(hWnd) == nullptr)
        return 0;
    return static_cast<int>(
        SendMessageA(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

extern "C" BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString)
{
    if (State().windows.Find(hWnd) == nullptr)
        return FALSE;
    return SendMessageA(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) != 0 ? TRUE : FALSE;
}
