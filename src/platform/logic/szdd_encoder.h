// SZDD compression, for the payload packer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace zor::szdd {

// Compresses `data` into a whole SZDD file (header and stream), recording
// `missingChar` (0 for none) as the character the compressed name lost.
//
// Matches are found with hash chains over the 4096-byte window, the initial
// spaces of the window included, and the items are chosen by an optimal
// parse: with fixed costs of 9 bits for a literal and 17 for a match, the
// cheapest path through each block follows from the longest match at every
// position. Returns nothing when the data is too long for the header (4 GiB).
std::optional<std::vector<std::uint8_t>> Compress(std::span<const std::uint8_t> data, std::uint8_t missingChar);

} // namespace zor::szdd
