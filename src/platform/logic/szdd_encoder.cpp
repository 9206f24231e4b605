#include "szdd_encoder.h"

#include "szdd_format.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace zor::szdd {

namespace {

constexpr int kHashBits = 15;
constexpr std::size_t kHashSize = std::size_t{1} << kHashBits;
constexpr int kMaxChain = 32;                // candidates looked at per position
constexpr std::size_t kParseBlock = 1 << 16; // positions per optimal-parse block
constexpr std::size_t kPadding = 32;         // readable bytes after the data
constexpr unsigned kLiteralCost = 9;
constexpr unsigned kMatchCost = 17;

inline std::uint64_t Load64(const std::uint8_t *p)
{
    std::uint64_t value;
    std::memcpy(&value, p, sizeof value);
    return value;
}

inline std::uint32_t Hash3(const std::uint8_t *p)
{
    std::uint32_t value = static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
                          static_cast<std::uint32_t>(p[2]) << 16;
    return (value * 2654435761u) >> (32 - kHashBits);
}

// Length of the common start of a and b, at most limit (<= kMaxMatch). Reads
// up to 24 bytes from each.
inline std::size_t CommonLength(const std::uint8_t *a, const std::uint8_t *b, std::size_t limit)
{
    std::size_t length = 0;
    while (length < limit) {
        std::uint64_t diff = Load64(a + length) ^ Load64(b + length);
        if (diff != 0) {
            length += static_cast<std::size_t>(__builtin_ctzll(diff)) >> 3;
            break;
        }
        length += 8;
    }
    return std::min(length, limit);
}

// The text to compress, after the 4096 spaces the window starts with, and
// hash chains over it. Position p of the text is index p + kWindowSize.
class MatchFinder {
  public:
    explicit MatchFinder(std::span<const std::uint8_t> data)
        : text_(kWindowSize + data.size() + kPadding, 0), head_(kHashSize, -1), prev_(kWindowSize, -1)
    {
        std::memset(text_.data(), kWindowFill, kWindowSize);
        if (!data.empty())
            std::memcpy(text_.data() + kWindowSize, data.data(), data.size());
        end_ = kWindowSize + data.size();
        // The last spaces of the window: enough to match any run of spaces
        // at the start of the data, and the run of spaces followed by the
        // first bytes of the data.
        for (std::size_t i = kWindowSize - kMaxMatch - 2; i < kWindowSize; i++)
            Insert(i);
    }

    // Longest match for index i (i >= kWindowSize), then inserts i.
    void FindAndInsert(std::size_t i, std::uint8_t &length, std::uint16_t &distance)
    {
        std::size_t limit = std::min(kMaxMatch, end_ - i);
        std::size_t best = 0;
        std::size_t bestDistance = 0;
        if (limit >= kMinMatch) {
            const std::uint8_t *here = text_.data() + i;
            std::uint32_t hash = Hash3(here);
            long candidate = head_[hash];
            long lowest = static_cast<long>(i) - static_cast<long>(kWindowSize);
            int chain = kMaxChain;
            while (candidate >= lowest && candidate >= 0 && chain-- > 0) {
                const std::uint8_t *there = text_.data() + candidate;
                if (there[best] == here[best]) {
                    std::size_t found = CommonLength(there, here, limit);
                    if (found > best) {
                        best = found;
                        bestDistance = i - static_cast<std::size_t>(candidate);
                        if (best == limit)
                            break;
                    }
                }
                long next = prev_[static_cast<std::size_t>(candidate) & (kWindowSize - 1)];
                if (next >= candidate)
                    break;
                candidate = next;
            }
            Insert(i, hash);
        }
        if (best < kMinMatch)
            best = 0;
        length = static_cast<std::uint8_t>(best);
        distance = static_cast<std::uint16_t>(bestDistance);
    }

    const std::uint8_t *Text() const { return text_.data(); }
    std::size_t End() const { return end_; }

  private:
    void Insert(std::size_t i) { Insert(i, Hash3(text_.data() + i)); }
    void Insert(std::size_t i, std::uint32_t hash)
    {
        prev_[i & (kWindowSize - 1)] = head_[hash];
        head_[hash] = static_cast<long>(i);
    }

    std::vector<std::uint8_t> text_;
    std::vector<long> head_;
    std::vector<long> prev_;
    std::size_t end_ = 0;
};

// Collects items into groups of eight behind their control byte.
class StreamWriter {
  public:
    explicit StreamWriter(std::vector<std::uint8_t> &out) : out_(out) {}

    void Literal(std::uint8_t byte)
    {
        StartItem(true);
        out_.push_back(byte);
    }

    // A match of length bytes from distance back, written at output position
    // `position` (counted from the start of the data).
    void Match(std::size_t position, std::size_t distance, std::size_t length)
    {
        StartItem(false);
        std::size_t ring = (kWindowStart + position - distance) & (kWindowSize - 1);
        out_.push_back(static_cast<std::uint8_t>(ring & 0xFF));
        out_.push_back(static_cast<std::uint8_t>(((ring >> 4) & 0xF0) | (length - kMinMatch)));
    }

  private:
    void StartItem(bool literal)
    {
        if (items_ == 8) {
            controlAt_ = out_.size();
            out_.push_back(0);
            items_ = 0;
        }
        if (literal)
            out_[controlAt_] = static_cast<std::uint8_t>(out_[controlAt_] | (1u << items_));
        items_++;
    }

    std::vector<std::uint8_t> &out_;
    std::size_t controlAt_ = 0;
    unsigned items_ = 8;
};

} // namespace

std::optional<std::vector<std::uint8_t>> Compress(std::span<const std::uint8_t> data, std::uint8_t missingChar)
{
    if (data.size() > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;

    Header header;
    header.missingChar = missingChar;
    header.length = static_cast<std::uint32_t>(data.size());
    std::array<std::uint8_t, kHeaderSize> headerBytes = MakeHeader(header);

    std::vector<std::uint8_t> out;
    out.reserve(kHeaderSize + data.size() + data.size() / 8 + 16);
    out.insert(out.end(), headerBytes.begin(), headerBytes.end());
    StreamWriter writer(out);

    MatchFinder finder(data);
    std::vector<std::uint8_t> lengths(kParseBlock);
    std::vector<std::uint16_t> distances(kParseBlock);
    std::vector<std::uint32_t> cost(kParseBlock + 1);
    std::vector<std::uint8_t> choice(kParseBlock); // 0 for a literal, else a match length

    const std::uint8_t *text = finder.Text();
    for (std::size_t start = 0; start < data.size(); start += kParseBlock) {
        std::size_t count = std::min(kParseBlock, data.size() - start);
        for (std::size_t k = 0; k < count; k++)
            finder.FindAndInsert(kWindowSize + start + k, lengths[k], distances[k]);

        // Cheapest cost from each position to the end of the block; a match
        // that would reach past the block is shortened to end with it.
        cost[count] = 0;
        for (std::size_t k = count; k-- > 0;) {
            std::uint32_t best = cost[k + 1] + kLiteralCost;
            std::uint8_t bestChoice = 0;
            std::size_t longest = std::min<std::size_t>(lengths[k], count - k);
            for (std::size_t length = kMinMatch; length <= longest; length++) {
                std::uint32_t c = cost[k + length] + kMatchCost;
                if (c < best) {
                    best = c;
                    bestChoice = static_cast<std::uint8_t>(length);
                }
            }
            cost[k] = best;
            choice[k] = bestChoice;
        }

        for (std::size_t k = 0; k < count;) {
            if (choice[k] == 0) {
                writer.Literal(text[kWindowSize + start + k]);
                k++;
            } else {
                writer.Match(start + k, distances[k], choice[k]);
                k += choice[k];
            }
        }
    }
    return out;
}

} // namespace zor::szdd
