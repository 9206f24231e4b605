#include "message_box_style.h"

#include "src/platform/api/user32.h"

namespace zor::host {

MessageBoxLayout LayoutForStyle(unsigned style)
{
    MessageBoxLayout layout;
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND:
        layout.icon = MessageBoxIcon::Error;
        break;
    case MB_ICONQUESTION:
        layout.icon = MessageBoxIcon::Question;
        break;
    case MB_ICONEXCLAMATION:
        layout.icon = MessageBoxIcon::Warning;
        break;
    case MB_ICONASTERISK:
        layout.icon = MessageBoxIcon::Information;
        break;
    default:
        break;
    }

    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        layout.buttons = {IDOK, IDCANCEL};
        layout.escapeAnswer = IDCANCEL;
        break;
    case MB_ABORTRETRYIGNORE:
        layout.buttons = {IDABORT, IDRETRY, IDIGNORE};
        layout.escapeAnswer = 0;
        break;
    case MB_YESNOCANCEL:
        layout.buttons = {IDYES, IDNO, IDCANCEL};
        layout.escapeAnswer = IDCANCEL;
        break;
    case MB_YESNO:
        layout.buttons = {IDYES, IDNO};
        layout.escapeAnswer = IDNO;
        break;
    case MB_RETRYCANCEL:
        layout.buttons = {IDRETRY, IDCANCEL};
        layout.escapeAnswer = IDCANCEL;
        break;
    case MB_CANCELTRYCONTINUE:
        layout.buttons = {IDCANCEL, IDTRYAGAIN, IDCONTINUE};
        layout.escapeAnswer = IDCANCEL;
        break;
    default: // MB_OK, and types this host does not know
        layout.buttons = {IDOK};
        layout.escapeAnswer = IDOK;
        break;
    }

    unsigned defaultIndex = (style & MB_DEFMASK) >> 8;
    layout.defaultButton = layout.buttons[defaultIndex < layout.buttons.size() ? defaultIndex : 0];
    return layout;
}

int UnansweredResult(const MessageBoxLayout &layout)
{
    return layout.escapeAnswer != 0 ? layout.escapeAnswer : layout.defaultButton;
}

} // namespace zor::host
