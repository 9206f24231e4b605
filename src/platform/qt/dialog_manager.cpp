// Dialogs: finding the template among the program's resources, building
// the dialog from it, and the dialog manager's default message processing.

#include "dialog_manager.h"

#include "app_instance.h"
#include "controls.h"
#include "host_state.h"
#include "host_widgets.h"
#include "mapping/dialog_units.h"
#include "window_manager.h"
#include "window_text.h"

#include "src/platform/api/kernel32.h"
#include "src/platform/resources/module_resources.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>

#include <cctype>
#include <string>
#include <vector>

namespace zor::host {
namespace {

using zor::resources::DialogTemplate;
using zor::resources::NameOrId;

constexpr const char *kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

QFont DialogFont(const DialogTemplate &dialogTemplate)
{
    QFont font = QApplication::font();
    if ((dialogTemplate.style & DS_SETFONT) != 0 && !dialogTemplate.faceName.empty()) {
        // A face that is not installed falls back to a sans-serif one.
        font.setFamily(QString::fromStdString(dialogTemplate.faceName));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSize(dialogTemplate.pointSize > 0 ? dialogTemplate.pointSize : 8);
    }
    return font;
}

QRect ToQRect(const PixelRect &rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

// The template name as the resource file records it: an ordinal, "#123" as
// an ordinal, or the name in upper case.
NameOrId TemplateName(LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return static_cast<std::uint16_t>(LOWORD(name));
    std::string text = name;
    if (text.size() > 1 && text[0] == '#') {
        bool digits = true;
        for (std::size_t i = 1; i < text.size(); ++i)
            digits = digits && std::isdigit(static_cast<unsigned char>(text[i])) != 0;
        if (digits)
            return static_cast<std::uint16_t>(std::stoul(text.substr(1)) & 0xFFFF);
    }
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

std::string Describe(LPCSTR name)
{
    if (name == nullptr)
        return "dialog (none)";
    if (IS_INTRESOURCE(name))
        return "dialog " + std::to_string(LOWORD(name));
    return "dialog \"" + std::string(name) + "\"";
}

// The first control that WM_INITDIALOG offers the focus to: visible,
// enabled and a tab stop.
HWND FirstTabStop(const std::vector<HWND> &controls)
{
    for (HWND control : controls) {
        const Window *window = State().windows.Find(control);
        if (window != nullptr && (window->style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE))
            return control;
    }
    return nullptr;
}

void FocusControl(HWND control)
{
    QWidget *widget = WidgetOfWindow(control);
    if (widget == nullptr)
        return;
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        edit->selectAll();
    widget->setFocus(Qt::OtherFocusReason);
}

} // namespace

HWND CreateDialogFromTemplate(const DialogTemplate &dialogTemplate, HWND owner, DLGPROC procedure, LPARAM parameter,
                              std::string_view what)
{
    std::string failure = "cannot create " + std::string(what);
    std::string why;
    if (EnsureApplication(&why) == nullptr) {
        ReportFailure("CreateDialogParamA", failure + ": " + why);
        return nullptr;
    }
    HostState &state = State();
    Window *ownerWindow = owner == nullptr ? nullptr : state.windows.Find(owner);
    if (owner != nullptr && ownerWindow == nullptr) {
        ReportFailure("CreateDialogParamA", failure + ": the owner is not a window");
        return nullptr;
    }
    std::vector<ControlKind> kinds;
    for (const auto &item : dialogTemplate.items) {
        std::optional<ControlKind> kind = ControlKindOf(item, &why);
        if (!kind) {
            ReportFailure("CreateDialogParamA", failure + ": " + why);
            return nullptr;
        }
        kinds.push_back(*kind);
    }
    // A dialog belongs to the top-level window of its owner.
    QWidget *ownerWidget = ownerWindow == nullptr ? nullptr : ownerWindow->widget.data();
    if (ownerWidget != nullptr) {
        ownerWidget = ownerWidget->window();
        ownerWidget->winId(); // so that the dialog can be made transient for it
    }

    auto record = std::make_unique<Window>();
    record->kind = WindowKind::Dialog;
    record->className = kDialogClassName;
    record->dialogProcedure = procedure;
    record->owner = owner;
    record->style = dialogTemplate.style;
    record->exStyle = dialogTemplate.exStyle;
    HWND dialog = state.windows.Add(std::move(record));

    auto *widget = new DialogWidget(dialog, ownerWidget, WindowFlagsForStyle(dialogTemplate.style, true));
    state.windows.Attach(dialog, widget);
    WatchWidget(dialog, widget);
    SetWindowTextOf(*state.windows.Find(dialog), dialogTemplate.caption);

    QFont font = DialogFont(dialogTemplate);
    widget->setFont(font);
    QFontMetrics metrics(font);
    DialogBaseUnits units = BaseUnitsFromFont(metrics.horizontalAdvance(QLatin1String(kAlphabet)), metrics.height());

    PixelRect client = MapDialogRect(0, 0, dialogTemplate.cx, dialogTemplate.cy, units);
    if ((dialogTemplate.style & WS_THICKFRAME) != 0)
        widget->resize(client.Width(), client.Height());
    else
        widget->setFixedSize(client.Width(), client.Height());
    QRect work = ScreenFor(ownerWidget)->availableGeometry();
    if ((dialogTemplate.style & DS_CENTER) != 0) {
        PixelPoint corner =
            CentreIn({work.left(), work.top(), work.right() + 1, work.bottom() + 1}, client.Width(), client.Height());
        widget->move(corner.x, corner.y);
    } else {
        PixelRect offset = MapDialogRect(dialogTemplate.x, dialogTemplate.y, 0, 0, units);
        QPoint origin = ownerWidget != nullptr && (dialogTemplate.style & DS_ABSALIGN) == 0
                            ? ownerWidget->mapToGlobal(QPoint(0, 0))
                            : work.topLeft();
        widget->move(origin + QPoint(offset.left, offset.top));
    }

    std::vector<HWND> controls;
    QWidget *previousTabStop = nullptr;
    for (std::size_t i = 0; i < dialogTemplate.items.size(); ++i) {
        const auto &item = dialogTemplate.items[i];
        HWND control = CreateControl(dialog, widget, kinds[i], item,
                                     ToQRect(MapDialogRect(item.x, item.y, item.cx, item.cy, units)));
        controls.push_back(control);
        QWidget *controlWidget = WidgetOfWindow(control);
        if ((item.style & WS_TABSTOP) != 0 && controlWidget->focusPolicy() != Qt::NoFocus) {
            if (previousTabStop != nullptr)
                QWidget::setTabOrder(previousTabStop, controlWidget);
            previousTabStop = controlWidget;
        }
    }

    HWND focus = FirstTabStop(controls);
    INT_PTR setFocus = Deliver(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(focus), parameter);
    if (state.windows.Find(dialog) == nullptr)
        return nullptr; // the procedure destroyed it
    if (setFocus != FALSE && focus != nullptr)
        FocusControl(focus);
    if ((dialogTemplate.style & WS_VISIBLE) != 0 && !widget->isVisible())
        widget->show();
    if ((dialogTemplate.style & DS_SETFOREGROUND) != 0 && widget->isVisible())
        SetForegroundWindow(dialog);
    return dialog;
}

LRESULT DeliverToDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const Window *window = State().windows.Find(dialog);
    if (window == nullptr)
        return 0;
    DLGPROC procedure = window->dialogProcedure;
    INT_PTR handled = procedure != nullptr ? procedure(dialog, message, wParam, lParam) : FALSE;
    if (handled != FALSE) {
        // WM_INITDIALOG answers with the procedure's own result; for the
        // others the result is the dialog's message result, which this host
        // keeps at 0.
        return message == WM_INITDIALOG ? handled : 0;
    }
    if (State().windows.Find(dialog) == nullptr)
        return 0;

    switch (message) {
    case WM_CLOSE: {
        // Closing a dialog is its Cancel command, unless Cancel is disabled.
        HWND cancel = GetDlgItem(dialog, IDCANCEL);
        QWidget *cancelWidget = WidgetOfWindow(cancel);
        if (cancelWidget != nullptr && !cancelWidget->isEnabled()) {
            MessageBeep(0);
            return 0;
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel));
        return 0;
    }
    default:
        return DefWindowProcA(dialog, message, wParam, lParam);
    }
}

} // namespace zor::host

using namespace zor::host;

extern "C" HWND WINAPI CreateDialogParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    std::string what = Describe(lpTemplateName);
    if (lpTemplateName == nullptr) {
        ReportFailure("CreateDialogParamA", "no template name");
        return nullptr;
    }
    if (hInstance != nullptr && hInstance != GetModuleHandleA(nullptr)) {
        ReportFailure("CreateDialogParamA", "cannot create " + what + ": the module is not the program");
        return nullptr;
    }
    const std::vector<zor::resources::ResourceEntry> *resources = zor::resources::ProgramResources();
    if (resources == nullptr)
        return nullptr; // the resource reader has said why, on standard error
    const zor::resources::ResourceEntry *entry = zor::resources::FindResource(
        *resources, NameOrId(zor::resources::kDialogType), TemplateName(lpTemplateName), 0x0409);
    if (entry == nullptr) {
        ReportFailure("CreateDialogParamA", "cannot create " + what + ": it is not among the program's resources");
        return nullptr;
    }
    auto parsed = zor::resources::ParseDialogTemplate(entry->data);
    if (const auto *error = std::get_if<zor::resources::ParseError>(&parsed)) {
        ReportFailure("CreateDialogParamA", "cannot create " + what + ": " + error->message);
        return nullptr;
    }
    return CreateDialogFromTemplate(std::get<zor::resources::DialogTemplate>(parsed), hWndParent, lpDialogFunc,
                                    dwInitParam, what);
}

extern "C" BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    Window *window = State().windows.Find(hDlg);
    if (window == nullptr || window->kind != WindowKind::Dialog)
        return FALSE;
    // A modeless dialog is only hidden; it stays until it is destroyed.
    window->dialogEnded = true;
    window->dialogResult = nResult;
    if (window->widget)
        window->widget->hide();
    return TRUE;
}

extern "C" HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    HostState &state = State();
    for (HWND dependant : state.windows.Dependants(hDlg)) {
        const Window *window = state.windows.Find(dependant);
        if (window->kind == WindowKind::Control && window->id == nIDDlgItem)
            return dependant;
    }
    return nullptr;
}

extern "C" UINT WINAPI GetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPSTR lpString, int cchMax)
{
    if (lpString == nullptr || cchMax <= 0)
        return 0;
    lpString[0] = '\0';
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    if (control == nullptr)
        return 0;
    return static_cast<UINT>(GetWindowTextA(control, lpString, cchMax));
}

extern "C" BOOL WINAPI SetDlgItemTextA(HWND hDlg, int nIDDlgItem, LPCSTR lpString)
{
    HWND control = GetDlgItem(hDlg, nIDDlgItem);
    return control == nullptr ? FALSE : SetWindowTextA(control, lpString);
}
