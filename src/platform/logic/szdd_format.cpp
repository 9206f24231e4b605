#include "szdd_format.h"

#include <algorithm>

namespace zor::szdd {

HeaderStatus ParseHeader(std::span<const std::uint8_t> bytes, Header &header)
{
    std::size_t compared = std::min(bytes.size(), kSignature.size());
    if (compared == 0 ||
        !std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(compared), kSignature.begin()))
        return HeaderStatus::NotCompressed;
    if (bytes.size() < kHeaderSize)
        return HeaderStatus::Truncated;
    header.mode = bytes[8];
    header.missingChar = bytes[9];
    header.length = static_cast<std::uint32_t>(bytes[10]) | static_cast<std::uint32_t>(bytes[11]) << 8 |
                    static_cast<std::uint32_t>(bytes[12]) << 16 | static_cast<std::uint32_t>(bytes[13]) << 24;
    if (header.mode != kModeLzss)
        return HeaderStatus::UnknownMode;
    return HeaderStatus::Ok;
}

std::array<std::uint8_t, kHeaderSize> MakeHeader(const Header &header)
{
    std::array<std::uint8_t, kHeaderSize> bytes{};
    std::copy(kSignature.begin(), kSignature.end(), bytes.begin());
    bytes[8] = header.mode;
    bytes[9] = header.missingChar;
    for (int i = 0; i < 4; i++)
        bytes[static_cast<std::size_t>(10 + i)] = static_cast<std::uint8_t>(header.length >> (8 * i));
    return bytes;
}

} // namespace zor::szdd
