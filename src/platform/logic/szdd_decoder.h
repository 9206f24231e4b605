// Streaming decoder of the SZDD LZSS stream (the part after the header).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace zor::szdd {

enum class DecodeStatus {
    Ok,        // the stream gave exactly the expected length
    Truncated, // the stream ended before the expected length, or inside a match
    Overrun,   // the stream decodes past the expected length
};

// Decodes a stream fed in pieces of any size into an output block of fixed
// size, so that memory does not depend on the length of the data. Decoding
// stops before the first byte past the expected length, which is an error.
//
//     Decoder decoder(header.length);
//     for each piece of input:
//         while (!piece.empty()) {
//             piece = piece.subspan(decoder.Feed(piece));
//             if (decoder.Overrun()) fail;
//             if (decoder.OutputFull()) { write decoder.Output(); decoder.TakeOutput(); }
//         }
//     write decoder.Output(); decoder.Finish() tells whether the stream was whole.
class Decoder {
  public:
    static constexpr std::size_t kBlockSize = 512 * 1024;
    static constexpr std::size_t kMinBlockSize = 256;

    // The output block holds blockSize bytes (kMinBlockSize to kBlockSize).
    explicit Decoder(std::uint32_t expectedLength, std::size_t blockSize = kBlockSize);

    // Decodes from the input and returns how many of its bytes were used.
    // Uses all of them unless the output block fills up or the stream runs
    // past the expected length.
    std::size_t Feed(std::span<const std::uint8_t> input);

    // The decoded bytes that have not been taken yet.
    std::span<const std::uint8_t> Output() const;
    // Frees the output block for more (the caller has written Output()).
    void TakeOutput();

    // True when Feed stopped because the output block is full.
    bool OutputFull() const { return full_; }
    // True once the stream has run past the expected length.
    bool Overrun() const { return overrun_; }
    // Bytes decoded so far.
    std::uint64_t Produced() const { return blockBase_ + (out_ - kHistory); }
    // The verdict once all input has been fed.
    DecodeStatus Finish() const;

  private:
    static constexpr std::size_t kHistory = 4096;
    static constexpr std::size_t kSlack = 64;

    std::size_t blockSize_;
    std::unique_ptr<std::uint8_t[]> buffer_; // history, block, slack
    std::size_t out_ = kHistory;             // next output position in buffer_
    std::uint64_t blockBase_ = 0;            // bytes decoded before the block
    std::uint32_t expected_;
    unsigned flags_ = 0;     // control bits not used yet, next one lowest
    unsigned bitsLeft_ = 0;  // how many of them
    bool haveFirst_ = false; // the first byte of a match has been read
    std::uint8_t first_ = 0;
    bool full_ = false;
    bool overrun_ = false;
};

// Decodes a whole stream held in memory, appending to `out`.
DecodeStatus DecodeAll(std::span<const std::uint8_t> stream, std::uint32_t expectedLength,
                       std::vector<std::uint8_t> &out);

} // namespace zor::szdd
