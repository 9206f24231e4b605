// The dialog manager: modeless dialogs built from classic templates.
#pragma once

#include "src/platform/api/user32.h"
#include "src/platform/resources/dialog_template.h"

#include <string_view>

namespace zor::host {

// Builds a dialog from a parsed template, as CreateDialogParamA does once it
// has found and parsed the template: the widget with the caption and font,
// the controls in template order, WM_INITDIALOG before returning. `what`
// names the template in failure messages ("dialog 101"). nullptr (and one
// line on standard error) when it cannot be made.
HWND CreateDialogFromTemplate(const zor::resources::DialogTemplate &dialogTemplate, HWND owner, DLGPROC procedure,
                              LPARAM parameter, std::string_view what);

} // namespace zor::host
