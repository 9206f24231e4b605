// UTF-16 to UTF-8, for the texts of compiled resources.
#pragma once

#include <string>
#include <string_view>

namespace zor::resources {

// Converts UTF-16 code units to UTF-8. A surrogate pair becomes one character;
// a surrogate without its partner becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view units);

}  // namespace zor::resources
