#include "szdd_decoder.h"

#include "szdd_format.h"

#include <algorithm>
#include <cstring>

namespace zor::szdd {

namespace {

constexpr std::size_t kGroupInput = 1 + 8 * 2; // a control byte and eight matches
constexpr std::size_t kCopyWidth = 24;         // bytes the fast copies move at once
// Input the fast path needs: a whole group, and room to read kCopyWidth
// bytes from the last literal of it.
constexpr std::size_t kFastInput = kGroupInput + kCopyWidth;
constexpr std::size_t kGroupOutput = 8 * kMaxMatch; // eight longest matches
constexpr std::uint32_t kRingMask = kWindowSize - 1;

inline void Copy8(std::uint8_t *to, const std::uint8_t *from)
{
    std::uint64_t word;
    std::memcpy(&word, from, sizeof word);
    std::memcpy(to, &word, sizeof word);
}

// Copies a match of `length` bytes from `distance` bytes back. May write up to
// 24 bytes; the caller leaves room for that.
inline void CopyMatchFast(std::uint8_t *out, std::size_t distance, std::size_t length)
{
    const std::uint8_t *from = out - distance;
    if (distance >= 8) {
        // Each eight-byte step reads only bytes that are already final.
        Copy8(out, from);
        Copy8(out + 8, from + 8);
        Copy8(out + 16, from + 16);
    } else if (distance == 1) {
        std::memset(out, out[-1], kMaxMatch);
    } else {
        for (std::size_t i = 0; i < length; i++)
            out[i] = from[i];
    }
}

} // namespace

Decoder::Decoder(std::uint32_t expectedLength, std::size_t blockSize)
    : blockSize_(std::clamp(blockSize, kMinBlockSize, kBlockSize)),
      buffer_(new std::uint8_t[kHistory + blockSize_ + kSlack]), expected_(expectedLength)
{
    // Only the history needs a value: every other byte is written before it
    // is read, so that a short file touches only the pages it needs.
    std::memset(buffer_.get(), kWindowFill, kHistory);
}

std::span<const std::uint8_t> Decoder::Output() const
{
    return {buffer_.get() + kHistory, out_ - kHistory};
}

void Decoder::TakeOutput()
{
    blockBase_ += out_ - kHistory;
    std::memmove(buffer_.get(), buffer_.get() + out_ - kHistory, kHistory);
    out_ = kHistory;
    full_ = false;
}

DecodeStatus Decoder::Finish() const
{
    if (overrun_)
        return DecodeStatus::Overrun;
    if (haveFirst_ || Produced() != expected_)
        return DecodeStatus::Truncated;
    return DecodeStatus::Ok;
}

std::size_t Decoder::Feed(std::span<const std::uint8_t> input)
{
    if (overrun_ || full_)
        return 0;

    std::uint8_t *const base = buffer_.get();
    const std::uint8_t *in = input.data();
    const std::uint8_t *const inEnd = in + input.size();
    std::uint8_t *out = base + out_;

    // The ring position of buffer index q is (ringOffset + q) mod 4096.
    const auto ringOffset = static_cast<std::uint32_t>(blockBase_ + kWindowStart - kHistory);

    // Room for output: the end of the block, or the expected length if that
    // comes first. Nothing is ever written past it.
    std::uint64_t allowed = expected_ - blockBase_;
    std::size_t limitIndex = kHistory + static_cast<std::size_t>(std::min<std::uint64_t>(allowed, blockSize_));
    std::uint8_t *const outLimit = base + limitIndex;
    // The fast path decodes whole groups without checks while a group can
    // neither run out of input nor pass outLimit.
    std::uint8_t *const fastLimit = limitIndex >= kHistory + kGroupOutput ? outLimit - kGroupOutput : base;

    for (;;) {
        if (bitsLeft_ == 0) {
            while (static_cast<std::size_t>(inEnd - in) >= kFastInput && out <= fastLimit) {
                unsigned flags = *in++;
                // Literals and matches take the same steps, so that the
                // choice between them is made by selects, not by branches
                // the processor would mispredict on mixed data: a literal is
                // a copy of one byte from the input.
                for (int item = 0; item < 8; item++, flags >>= 1) {
                    const std::size_t literal = flags & 1;
                    const std::size_t literalMask = 0 - literal; // all ones for a literal
                    unsigned b1 = in[1];
                    std::uint32_t position = in[0] | ((b1 & 0xF0u) << 4);
                    auto here = static_cast<std::uint32_t>(out - base);
                    // 1 to 4096: the position being written is 4096 bytes back.
                    std::size_t distance = ((ringOffset + here - position - 1) & kRingMask) + 1;
                    std::size_t matchLength = (b1 & 0x0Fu) + kMinMatch;
                    std::size_t length = matchLength ^ ((matchLength ^ 1) & literalMask);
                    auto matchFrom = reinterpret_cast<std::uintptr_t>(out - distance);
                    auto literalFrom = reinterpret_cast<std::uintptr_t>(in);
                    auto from =
                        reinterpret_cast<const std::uint8_t *>(matchFrom ^ ((matchFrom ^ literalFrom) & literalMask));
                    in += 2 - literal;
                    if ((distance < 8) & (literal == 0)) {
                        CopyMatchFast(out, distance, length);
                    } else {
                        Copy8(out, from);
                        Copy8(out + 8, from + 8);
                        Copy8(out + 16, from + 16);
                    }
                    out += length;
                }
            }
            if (in == inEnd)
                break;
            flags_ = *in++;
            bitsLeft_ = 8;
        }

        // One item, with every check.
        if (flags_ & 1) {
            if (in == inEnd)
                break;
            if (out == outLimit) {
                if (limitIndex - kHistory == blockSize_ && allowed > blockSize_)
                    full_ = true;
                else
                    overrun_ = true;
                break;
            }
            *out++ = *in++;
        } else {
            if (!haveFirst_) {
                if (in == inEnd)
                    break;
                first_ = *in++;
                haveFirst_ = true;
            }
            if (in == inEnd)
                break;
            unsigned b1 = *in;
            std::size_t length = (b1 & 0x0Fu) + kMinMatch;
            if (static_cast<std::size_t>(outLimit - out) < length) {
                std::uint64_t total = blockBase_ + static_cast<std::uint64_t>(out - base - kHistory);
                if (total + length > expected_)
                    overrun_ = true;
                else
                    full_ = true;
                break;
            }
            in++;
            haveFirst_ = false;
            std::uint32_t position = first_ | ((b1 & 0xF0u) << 4);
            auto here = static_cast<std::uint32_t>(out - base);
            std::size_t distance = (ringOffset + here - position) & kRingMask;
            if (distance == 0)
                distance = kWindowSize;
            const std::uint8_t *from = out - distance;
            for (std::size_t i = 0; i < length; i++)
                out[i] = from[i];
            out += length;
        }
        flags_ >>= 1;
        bitsLeft_--;
    }

    out_ = static_cast<std::size_t>(out - base);
    return static_cast<std::size_t>(in - input.data());
}

DecodeStatus DecodeAll(std::span<const std::uint8_t> stream, std::uint32_t expectedLength,
                       std::vector<std::uint8_t> &out)
{
    Decoder decoder(expectedLength);
    while (!stream.empty()) {
        stream = stream.subspan(decoder.Feed(stream));
        if (decoder.Overrun())
            break;
        if (decoder.OutputFull()) {
            std::span<const std::uint8_t> block = decoder.Output();
            out.insert(out.end(), block.begin(), block.end());
            decoder.TakeOutput();
        }
    }
    std::span<const std::uint8_t> block = decoder.Output();
    out.insert(out.end(), block.begin(), block.end());
    return decoder.Finish();
}

} // namespace zor::szdd
