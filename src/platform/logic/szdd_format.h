// The SZDD compressed-file format: header and constants.
//
// A file is the 14-byte header followed by an LZSS stream. The stream is a
// series of groups: a control byte whose bits, lowest first, say what each of
// the next (up to) eight items is: 1 for a literal byte, 0 for a match of two
// bytes b0 b1 that copies (b1 & 0x0F) + 3 bytes from window position
// b0 | ((b1 & 0xF0) << 4). The window is a 4096-byte ring that starts filled
// with spaces, and writing starts at position 4096 - 16.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace zor::szdd {

inline constexpr std::array<std::uint8_t, 8> kSignature = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
inline constexpr std::size_t kHeaderSize = 14;
inline constexpr std::uint8_t kModeLzss = 'A';

inline constexpr std::size_t kWindowSize = 4096;
inline constexpr std::size_t kWindowStart = kWindowSize - 16;
inline constexpr std::uint8_t kWindowFill = 0x20;
inline constexpr std::size_t kMinMatch = 3;
inline constexpr std::size_t kMaxMatch = 18;

struct Header {
    std::uint8_t mode = kModeLzss;
    std::uint8_t missingChar = 0; // the character the name lost, 0 when none is recorded
    std::uint32_t length = 0;     // length of the expanded data
};

enum class HeaderStatus {
    Ok,
    NotCompressed, // the bytes do not start with the signature
    Truncated,     // the signature, or a start of it, and then the end of the file
    UnknownMode,   // the signature with a mode other than LZSS
};

// Reads the header from the first bytes of a file (all of them when the file
// is shorter than the header). A non-empty file that holds nothing but a
// start of the signature counts as a truncated compressed file.
HeaderStatus ParseHeader(std::span<const std::uint8_t> bytes, Header &header);

// Writes the header into its 14 bytes.
std::array<std::uint8_t, kHeaderSize> MakeHeader(const Header &header);

} // namespace zor::szdd
