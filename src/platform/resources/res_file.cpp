// A compiled resource file: entries one after the other, each a header
// (DataSize, HeaderSize, TYPE, NAME, DWORD padding, DataVersion, MemoryFlags,
// LanguageId, Version, Characteristics) followed by its data, each entry
// starting on a DWORD boundary. A 32-bit resource file starts with an empty
// 32-byte entry of type 0 and name 0.
#include "res_file.h"

#include "byte_reader.h"

#include <algorithm>
#include <array>

namespace zor::resources {
namespace {

using detail::ByteReader;
using detail::Fail;

constexpr std::size_t kLeadingEntrySize = 32;
// DataSize 0, HeaderSize 32, TYPE 0xFFFF 0, NAME 0xFFFF 0, then zeros.
constexpr std::array<unsigned char, 16> kLeadingEntryStart = {0, 0, 0, 0, 0x20, 0, 0, 0,
                                                              0xFF, 0xFF, 0, 0, 0xFF, 0xFF, 0, 0};

void CheckLeadingEntry(std::span<const std::byte> data)
{
    if (data.size() < kLeadingEntrySize)
        Fail("resource file: " + std::to_string(data.size()) +
             " bytes are too few to hold the empty 32-byte entry a resource file starts with");
    if (!std::equal(kLeadingEntryStart.begin(), kLeadingEntryStart.end(), data.begin(),
                    [](unsigned char expected, std::byte actual) { return std::byte{expected} == actual; }))
        Fail("resource file: does not start with the empty 32-byte entry of a 32-bit resource file");
}

ResourceEntry ReadEntry(std::span<const std::byte> data, std::size_t start, std::size_t index)
{
    const std::string label = "entry " + std::to_string(index) + " at offset " + detail::Hex(start);
    ByteReader file(data, "resource file");
    file.Seek(start, label);
    const std::uint32_t dataSize = file.Dword(label + " data size");
    const std::uint32_t headerSize = file.Dword(label + " header size");
    const std::size_t available = data.size() - start;
    if (headerSize > available)
        Fail("resource file: " + label + " has a header size of " + std::to_string(headerSize) + " but only " +
             std::to_string(available) + " bytes remain");

    // The rest of the header is read within the bytes it claims, so that a
    // name cannot run on into the data.
    ByteReader header(data.subspan(start, headerSize), "resource file " + label + " header");
    header.Seek(8, "type");
    ResourceEntry entry;
    entry.type = header.NameOrOrdinal("type", false);
    entry.name = header.NameOrOrdinal("name", false);
    header.AlignToDword("data version");
    header.Dword("data version");
    header.Word("memory flags");
    entry.language = header.Word("language");
    header.Dword("version");
    header.Dword("characteristics");

    const std::size_t dataStart = start + headerSize;
    if (dataSize > data.size() - dataStart)
        Fail("resource file: " + label + " has a data size of " + std::to_string(dataSize) + " but only " +
             std::to_string(data.size() - dataStart) + " bytes remain");
    entry.data = data.subspan(dataStart, dataSize);
    return entry;
}

std::vector<ResourceEntry> Read(std::span<const std::byte> data)
{
    CheckLeadingEntry(data);
    std::vector<ResourceEntry> entries;
    std::size_t offset = kLeadingEntrySize;
    for (std::size_t index = 1; offset < data.size(); ++index) {
        ResourceEntry entry = ReadEntry(data, offset, index);
        // The next entry starts on a DWORD boundary; the last one may lack its
        // padding.
        const std::size_t end = static_cast<std::size_t>(entry.data.data() - data.data()) + entry.data.size();
        offset = end + ((4 - end % 4) % 4);
        entries.push_back(std::move(entry));
    }
    return entries;
}

bool SameName(const NameOrId &a, const NameOrId &b)
{
    if (a.index() != b.index())
        return false;
    if (const auto *id = std::get_if<std::uint16_t>(&a))
        return *id == std::get<std::uint16_t>(b);
    // Names compare without regard to ASCII case, as the resource compilers
    // store them in upper case.
    const auto &left = std::get<std::string>(a);
    const auto &right = std::get<std::string>(b);
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [&lower](char l, char r) { return lower(l) == lower(r); });
}

}  // namespace

std::variant<std::vector<ResourceEntry>, ParseError> ParseResFile(std::span<const std::byte> data)
{
    return detail::Guarded<std::vector<ResourceEntry>>([data] { return Read(data); });
}

const ResourceEntry *FindResource(const std::vector<ResourceEntry> &entries, const NameOrId &type,
                                  const NameOrId &name, std::uint16_t language)
{
    const ResourceEntry *anyLanguage = nullptr;
    for (const ResourceEntry &entry : entries) {
        if (!SameName(entry.type, type) || !SameName(entry.name, name))
            continue;
        if (entry.language == language)
            return &entry;
        if (!anyLanguage)
            anyLanguage = &entry;
    }
    return anyLanguage;
}

}  // namespace zor::resources
