// The widget application behind every window, created on first need.
#pragma once

#include <string>
#include <string_view>

class QApplication;

namespace zor::host {

// The running QApplication, creating one when there is none. Before creating
// it, the windowing platform is chosen and checked (see
// mapping/platform_choice.h), so that a missing display is reported instead
// of ending the process. nullptr when no application can be had; `why` then
// says why, in a few words.
QApplication *EnsureApplication(std::string *why = nullptr);

// One line on standard error: "<program>: <call>: <message>".
void ReportFailure(std::string_view call, std::string_view message);

} // namespace zor::host
