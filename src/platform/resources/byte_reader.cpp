#include "byte_reader.h"

#include "utf16.h"

#include <cstdio>

namespace zor::resources::detail {

void Fail(std::string message) { throw ReadFailure{std::move(message)}; }

std::string Hex(std::size_t value)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%zx", value);
    return text;
}

void ByteReader::Truncated(std::string_view what, std::size_t needed) const
{
    Fail(std::string(context_) + ": " + std::string(what) + " at offset " + Hex(offset_) + " needs " +
         std::to_string(needed) + " bytes but only " + std::to_string(Remaining()) + " remain");
}

void ByteReader::Seek(std::size_t offset, std::string_view what)
{
    if (offset > data_.size())
        Fail(std::string(context_) + ": " + std::string(what) + " at offset " + Hex(offset) +
             " lies past the end of the data (" + std::to_string(data_.size()) + " bytes)");
    offset_ = offset;
}

void ByteReader::AlignToDword(std::string_view what)
{
    const std::size_t aligned = offset_ + ((4 - offset_ % 4) % 4);
    Seek(aligned, what);
}

std::span<const std::byte> ByteReader::Bytes(std::size_t count, std::string_view what)
{
    if (count > Remaining())
        Truncated(what, count);
    auto bytes = data_.subspan(offset_, count);
    offset_ += count;
    return bytes;
}

std::uint16_t ByteReader::Word(std::string_view what)
{
    const auto bytes = Bytes(2, what);
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(bytes[0]) |
                                      (std::to_integer<unsigned>(bytes[1]) << 8));
}

std::uint32_t ByteReader::Dword(std::string_view what)
{
    const auto bytes = Bytes(4, what);
    return std::to_integer<std::uint32_t>(bytes[0]) | (std::to_integer<std::uint32_t>(bytes[1]) << 8) |
           (std::to_integer<std::uint32_t>(bytes[2]) << 16) | (std::to_integer<std::uint32_t>(bytes[3]) << 24);
}

std::string ByteReader::String(std::string_view what)
{
    const std::size_t start = offset_;
    std::u16string units;
    for (;;) {
        if (Remaining() < 2) {
            Fail(std::string(context_) + ": " + std::string(what) + " at offset " + Hex(start) +
                 " has no terminating zero before the end of the data");
        }
        const std::uint16_t unit = Word(what);
        if (unit == 0)
            break;
        units.push_back(static_cast<char16_t>(unit));
    }
    return Utf16ToUtf8(units);
}

NameOrId ByteReader::NameOrOrdinal(std::string_view what, bool zeroIsNone)
{
    const std::size_t start = offset_;
    const std::uint16_t first = Word(what);
    if (first == 0xFFFF)
        return Word(what);
    if (first == 0 && zeroIsNone)
        return std::uint16_t{0};
    offset_ = start;
    return String(what);
}

}  // namespace zor::resources::detail
