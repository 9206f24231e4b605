// Cutting UTF-8 text to fit a fixed buffer without splitting a character.
#pragma once

#include <cstddef>
#include <string_view>

namespace zor::host {

// The length of the longest prefix of `text` that holds at most `maxBytes`
// bytes and ends on a character boundary. Bytes that are not valid UTF-8 count
// as characters of their own, so a malformed text is still cut close to
// `maxBytes`.
std::size_t Utf8PrefixLength(std::string_view text, std::size_t maxBytes);

// Copies `text` into `buffer`, which holds `capacity` bytes terminator
// included: at most capacity - 1 bytes, cut on a character boundary, then a
// terminator. Returns the number of bytes copied, without the terminator.
// A capacity of 0 writes nothing.
std::size_t CopyUtf8Cut(char *buffer, std::size_t capacity, std::string_view text);

} // namespace zor::host
