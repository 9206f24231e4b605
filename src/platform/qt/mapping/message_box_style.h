// What a message-box style asks for: the icon, the buttons in order, the
// default button and the answer that Escape or closing the box gives.
#pragma once

#include <vector>

namespace zor::host {

enum class MessageBoxIcon { None, Error, Question, Warning, Information };

struct MessageBoxLayout {
    MessageBoxIcon icon = MessageBoxIcon::None;
    std::vector<int> buttons; // IDOK, IDCANCEL, IDYES, ... in the order shown
    int defaultButton = 0;    // one of buttons
    int escapeAnswer = 0;     // what Escape or closing answers; 0 when the box cannot be dismissed
};

MessageBoxLayout LayoutForStyle(unsigned style);

// The answer given when nobody answers (a scripted box whose answers ran
// out): the escape answer, or the default button of a box without one.
int UnansweredResult(const MessageBoxLayout &layout);

} // namespace zor::host
