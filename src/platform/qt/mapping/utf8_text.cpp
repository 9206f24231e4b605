#include "utf8_text.h"

#include <cstring>

namespace zor::host {
namespace {

bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}

// How many bytes a sequence that starts with `lead` claims, or 1 when the
// byte cannot start one.
std::size_t SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

} // namespace

std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes)
{
    if (text.size() <= maxBytes)
        return text.size();

    // The byte at maxBytes is the first one left out. If it continues a
    // sequence that started before it, the whole sequence is left out.
    std::size_t cut = maxBytes;
    std::size_t start = cut;
    while (start > 0 && cut - start < 3 && IsContinuation(static_cast<unsigned char>(text[start])))
        --start;
    if (start == cut)
        return cut;
    unsigned char lead = static_cast<unsigned char>(text[start]);
    if (IsContinuation(lead) || start + SequenceLength(lead) <= cut)
        return cut; // stray continuation bytes: not a character to keep whole
    return start;
}

std::size_t CopyUtf8Cut(char *buffer, std::size_t capacity, std::string_view text)
{
    if (buffer == nullptr || capacity == 0)
        return 0;
    std::size_t length = Utf8PrefixLength(text, capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length;
}

} // namespace zor::host
