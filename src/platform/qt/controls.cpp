#include "controls.h"

#include "host_state.h"
#include "host_widgets.h"
#include "mapping/window_classes.h"
#include "window_manager.h"
#include "window_text.h"

#include <QLabel>
#include <QLineEdit>

namespace zor::host {
namespace {

using zor::resources::DialogItem;
using zor::resources::NameOrId;

constexpr DWORD kButtonTypeMask = 0x0000000F;
constexpr DWORD kEditCentre = 0x0001;
constexpr DWORD kEditRight = 0x0002;
constexpr DWORD kEditMultiline = 0x0004;
constexpr DWORD kEditPassword = 0x0020;
constexpr DWORD kEditReadOnly = 0x0800;
constexpr DWORD kStaticTypeMask = 0x0000001F;
constexpr DWORD kStaticLeftNoWordWrap = 0x0000000C;

std::string ClassNameOf(const NameOrId &windowClass)
{
    if (const auto *atom = std::get_if<std::uint16_t>(&windowClass))
        return "#" + std::to_string(*atom);
    return std::get<std::string>(windowClass);
}

const char *ClassNameOf(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Static:
        return "Static";
    case ControlKind::Edit:
        return "Edit";
    case ControlKind::Button:
        return "Button";
    case ControlKind::None:
        break;
    }
    return "";
}

Qt::Alignment HorizontalAlignment(DWORD style)
{
    switch (style & 0x3) {
    case 1:
        return Qt::AlignHCenter;
    case 2:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

std::optional<ControlKind> ControlKindOf(const DialogItem &item, std::string *why)
{
    std::optional<ControlKind> kind;
    if (const auto *atom = std::get_if<std::uint16_t>(&item.windowClass)) {
        if (*atom == zor::resources::kButtonAtom)
            kind = ControlKind::Button;
        else if (*atom == zor::resources::kEditAtom)
            kind = ControlKind::Edit;
        else if (*atom == zor::resources::kStaticAtom)
            kind = ControlKind::Static;
    } else {
        const std::string &name = std::get<std::string>(item.windowClass);
        if (SameClassName(name, "Button"))
            kind = ControlKind::Button;
        else if (SameClassName(name, "Edit"))
            kind = ControlKind::Edit;
        else if (SameClassName(name, "Static"))
            kind = ControlKind::Static;
    }
    std::string problem;
    if (!kind) {
        problem = "control class " + ClassNameOf(item.windowClass) + " is not supported";
    } else if (*kind == ControlKind::Button && (item.style & kButtonTypeMask) > BS_DEFPUSHBUTTON) {
        problem = "only push buttons are supported";
    } else if (*kind == ControlKind::Edit && (item.style & kEditMultiline) != 0) {
        problem = "multi-line edit controls are not supported";
    } else if (*kind == ControlKind::Static && (item.style & kStaticTypeMask) > kStaticLeftNoWordWrap) {
        problem = "only text statics are supported";
    }
    if (!problem.empty()) {
        if (why != nullptr)
            *why = "control " + std::to_string(item.id) + ": " + problem;
        return std::nullopt;
    }
    return kind;
}

HWND CreateControl(HWND dialog, QWidget *dialogWidget, ControlKind kind, const DialogItem &item, const QRect &geometry)
{
    HostState &state = State();
    auto record = std::make_unique<Window>();
    record->kind = WindowKind::Control;
    record->control = kind;
    record->className = ClassNameOf(kind);
    record->owner = dialog;
    record->id = item.id;
    record->style = item.style;
    record->exStyle = item.exStyle;
    HWND handle = state.windows.Add(std::move(record));

    QWidget *widget = nullptr;
    switch (kind) {
    case ControlKind::Static: {
        auto *label = new QLabel(dialogWidget);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap((item.style & kStaticTypeMask) != kStaticLeftNoWordWrap);
        label->setAlignment(HorizontalAlignment(item.style) | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::Edit: {
        auto *edit = new QLineEdit(dialogWidget);
        edit->setFrame((item.style & WS_BORDER) != 0);
        edit->setAlignment(HorizontalAlignment(item.style & (kEditCentre | kEditRight)) | Qt::AlignVCenter);
        if ((item.style & kEditPassword) != 0)
            edit->setEchoMode(QLineEdit::Password);
        edit->setReadOnly((item.style & kEditReadOnly) != 0);
        // Only the user's edits are posted here; the program's own changes
        // are sent where it makes them (WM_SETTEXT).
        QObject::connect(edit, &QLineEdit::textEdited, [handle] { PostNotification(handle, EN_CHANGE); });
        widget = edit;
        break;
    }
    case ControlKind::Button: {
        auto *button = new DialogButton(dialogWidget);
        button->setAutoDefault(false);
        button->setDefault((item.style & kButtonTypeMask) == BS_DEFPUSHBUTTON);
        QObject::connect(button, &QPushButton::clicked, [handle] { PostNotification(handle, BN_CLICKED); });
        widget = button;
        break;
    }
    case ControlKind::None:
        break;
    }
    state.windows.Attach(handle, widget);
    WatchWidget(handle, widget);
    widget->setGeometry(geometry);
    widget->setEnabled((item.style & WS_DISABLED) == 0);
    if ((item.style & WS_VISIBLE) == 0)
        widget->hide();
    if (const auto *title = std::get_if<std::string>(&item.title))
        SetWindowTextOf(*state.windows.Find(handle), *title);
    return handle;
}

LRESULT DeliverToControl(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    Window *window = State().windows.Find(control);
    if (window == nullptr)
        return 0;
    switch (message) {
    case WM_SETTEXT:
        SetWindowTextOf(*window, lParam == 0 ? "" : reinterpret_cast<const char *>(lParam));
        if (window->control == ControlKind::Edit)
            SendNotification(control, EN_CHANGE);
        return TRUE;
    case WM_GETTEXT:
        return CopyWindowText(*window, wParam, lParam);
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(WindowText(*window).size());
    case BM_CLICK:
        // As a mouse click would, when the button takes clicks.
        if (window->control == ControlKind::Button && window->widget && window->widget->isEnabled())
            SendNotification(control, BN_CLICKED);
        return 0;
    default:
        return 0;
    }
}

} // namespace zor::host
