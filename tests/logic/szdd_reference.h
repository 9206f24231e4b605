// A plain transcription of the SZDD stream rules, for checking the fast
// decoder against: a 4096-byte ring of spaces, writing from 4096 - 16, one
// byte at a time, until the input ends.
#pragma once

#include "src/platform/logic/szdd_decoder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace zor::testing {

struct ReferenceResult {
    std::vector<std::uint8_t> output;
    bool endsInsideMatch = false;
};

inline ReferenceResult ReferenceDecode(std::span<const std::uint8_t> stream)
{
    ReferenceResult result;
    std::array<std::uint8_t, 4096> ring;
    ring.fill(' ');
    unsigned write = 4096 - 16;
    std::size_t i = 0;
    while (i < stream.size()) {
        unsigned control = stream[i++];
        for (int bit = 0; bit < 8 && i < stream.size(); bit++) {
            if (control & (1u << bit)) {
                std::uint8_t byte = stream[i++];
                result.output.push_back(byte);
                ring[write] = byte;
                write = (write + 1) & 4095;
            } else {
                if (i + 1 >= stream.size()) {
                    result.endsInsideMatch = true;
                    i = stream.size();
                    break;
                }
                unsigned position = stream[i] | ((stream[i + 1] & 0xF0u) << 4);
                unsigned length = (stream[i + 1] & 0x0Fu) + 3;
                i += 2;
                for (unsigned k = 0; k < length; k++) {
                    std::uint8_t byte = ring[(position + k) & 4095];
                    result.output.push_back(byte);
                    ring[write] = byte;
                    write = (write + 1) & 4095;
                }
            }
        }
    }
    return result;
}

// Feeds the fast decoder in pieces of the given size, taking its output
// whenever the block is full, as LZ32 does with its reads.
inline zor::szdd::DecodeStatus DecodeInPieces(std::span<const std::uint8_t> stream, std::uint32_t expected,
                                              std::size_t piece, std::size_t block, std::vector<std::uint8_t> &out)
{
    zor::szdd::Decoder decoder(expected, block);
    while (!stream.empty()) {
        std::span<const std::uint8_t> chunk = stream.first(std::min(piece, stream.size()));
        stream = stream.subspan(chunk.size());
        while (!chunk.empty()) {
            chunk = chunk.subspan(decoder.Feed(chunk));
            if (decoder.Overrun())
                return zor::szdd::DecodeStatus::Overrun;
            if (decoder.OutputFull()) {
                auto taken = decoder.Output();
                out.insert(out.end(), taken.begin(), taken.end());
                decoder.TakeOutput();
            }
        }
    }
    auto taken = decoder.Output();
    out.insert(out.end(), taken.begin(), taken.end());
    return decoder.Finish();
}

} // namespace zor::testing
