// A bounds-checked little-endian reader over resource bytes. Every read checks
// that the data holds what is asked for; a read past the end throws a
// ReadFailure, which the parsers turn into a ParseError.
#pragma once

#include "dialog_template.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace zor::resources::detail {

struct ReadFailure {
    std::string message;
};

[[noreturn]] void Fail(std::string message);

// "0x1a4"
std::string Hex(std::size_t value);

class ByteReader {
public:
    // `context` names what is read ("dialog template", "resource file"), for
    // the messages.
    ByteReader(std::span<const std::byte> data, std::string context) : data_(data), context_(std::move(context)) {}

    std::size_t Offset() const { return offset_; }
    std::size_t Remaining() const { return data_.size() - offset_; }
    bool AtEnd() const { return offset_ == data_.size(); }

    // Moves to an absolute offset within (or just at the end of) the data.
    void Seek(std::size_t offset, std::string_view what);
    // Moves to the next multiple of four bytes from the start of the data;
    // `what` names what must start there.
    void AlignToDword(std::string_view what);

    std::uint16_t Word(std::string_view what);
    std::uint32_t Dword(std::string_view what);
    std::int16_t Short(std::string_view what) { return static_cast<std::int16_t>(Word(what)); }
    std::span<const std::byte> Bytes(std::size_t count, std::string_view what);

    // A zero-terminated UTF-16 string, converted to UTF-8.
    std::string String(std::string_view what);
    // An ordinal (0xFFFF and a WORD) or a zero-terminated UTF-16 string. With
    // `zeroIsNone`, a lone zero WORD is the ordinal 0 ("none") rather than an
    // empty string.
    NameOrId NameOrOrdinal(std::string_view what, bool zeroIsNone);

    [[noreturn]] void Truncated(std::string_view what, std::size_t needed) const;

private:
    std::span<const std::byte> data_;
    std::string context_;
    std::size_t offset_ = 0;
};

// Runs `parse` and turns a ReadFailure into a ParseError.
template <typename Result, typename Parse>
std::variant<Result, ParseError> Guarded(Parse &&parse)
{
    try {
        return parse();
    } catch (ReadFailure &failure) {
        return ParseError{std::move(failure.message)};
    }
}

}  // namespace zor::resources::detail
