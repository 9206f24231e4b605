// Helpers for the resource tests: reading fixture files and writing template
// and resource-file bytes by hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zor::resources::testing {

inline std::vector<std::byte> ReadBytes(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path);
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::byte> bytes(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i)
        bytes[i] = static_cast<std::byte>(chars[i]);
    return bytes;
}

// Little-endian bytes, written field by field.
class Bytes {
public:
    Bytes &Word(std::uint16_t value)
    {
        Put(value & 0xFF);
        Put(value >> 8);
        return *this;
    }
    Bytes &Dword(std::uint32_t value)
    {
        Word(static_cast<std::uint16_t>(value & 0xFFFF));
        return Word(static_cast<std::uint16_t>(value >> 16));
    }
    // UTF-16 code units and the terminating zero.
    Bytes &Sz(std::u16string_view text)
    {
        for (char16_t unit : text)
            Word(unit);
        return Word(0);
    }
    Bytes &Ordinal(std::uint16_t id) { return Word(0xFFFF).Word(id); }
    Bytes &Raw(std::span<const std::byte> bytes)
    {
        data.insert(data.end(), bytes.begin(), bytes.end());
        return *this;
    }
    Bytes &AlignToDword()
    {
        while (data.size() % 4)
            Put(0);
        return *this;
    }
    std::size_t Size() const { return data.size(); }
    // Overwrites the DWORD at `offset` (for sizes known only at the end).
    void PatchDword(std::size_t offset, std::uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.at(offset + i) = static_cast<std::byte>((value >> (8 * i)) & 0xFF);
    }
    std::span<const std::byte> Span() const { return data; }

    std::vector<std::byte> data;

private:
    void Put(unsigned value) { data.push_back(static_cast<std::byte>(value)); }
};

// The empty entry that starts every 32-bit resource file.
inline Bytes ResFileStart()
{
    Bytes bytes;
    bytes.Dword(0).Dword(32).Ordinal(0).Ordinal(0).Dword(0).Word(0).Word(0).Dword(0).Dword(0);
    return bytes;
}

// Appends one entry: header, data and the padding to the next DWORD.
inline void AppendEntry(Bytes &file, Bytes typeAndName, std::uint16_t language, std::span<const std::byte> data)
{
    const std::size_t start = file.Size();
    file.Dword(static_cast<std::uint32_t>(data.size())).Dword(0);
    file.Raw(typeAndName.Span()).AlignToDword();
    file.Dword(0).Word(0x1030).Word(language).Dword(0).Dword(0);
    file.PatchDword(start + 4, static_cast<std::uint32_t>(file.Size() - start));
    file.Raw(data).AlignToDword();
}

}  // namespace zor::resources::testing
