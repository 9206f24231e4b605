// The dialog's controls: static text, single-line edit and push button.
#pragma once

#include "src/platform/resources/dialog_template.h"
#include "window_registry.h"

#include <optional>
#include <string>

namespace zor::host {

// Which control a template item asks for, or nullopt with `why` set when
// this host cannot make it.
std::optional<ControlKind> ControlKindOf(const zor::resources::DialogItem &item, std::string *why);

// Makes the widget of a control inside `dialog` and registers it. The
// geometry is given in pixels. Returns the control's handle.
HWND CreateControl(HWND dialog, QWidget *dialogWidget, ControlKind kind, const zor::resources::DialogItem &item,
                   const QRect &geometry);

} // namespace zor::host
