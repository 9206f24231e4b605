// The SZDD decoder against hand-made streams and a plain reference decoder,
// and the encoder through the decoder.

#include "src/platform/logic/szdd_decoder.h"
#include "src/platform/logic/szdd_encoder.h"
#include "src/platform/logic/szdd_format.h"
#include "szdd_reference.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using namespace zor::szdd;
using Bytes = std::vector<std::uint8_t>;

Bytes ToBytes(const std::string &text)
{
    return Bytes(text.begin(), text.end());
}

// A match item: copy `length` bytes from ring position `position`.
void PutMatch(Bytes &stream, unsigned position, unsigned length)
{
    stream.push_back(static_cast<std::uint8_t>(position & 0xFF));
    stream.push_back(static_cast<std::uint8_t>(((position >> 4) & 0xF0) | (length - 3)));
}

std::span<const std::uint8_t> StreamOf(const Bytes &file)
{
    return std::span<const std::uint8_t>(file).subspan(kHeaderSize);
}

TEST(SzddHeader, ReadsAndWritesTheFourteenBytes)
{
    Header header;
    header.missingChar = 'e';
    header.length = 0x01020304;
    auto bytes = MakeHeader(header);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.end()),
              (Bytes{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'e', 0x04, 0x03, 0x02, 0x01}));
    Header read;
    ASSERT_EQ(ParseHeader(bytes, read), HeaderStatus::Ok);
    EXPECT_EQ(read.missingChar, 'e');
    EXPECT_EQ(read.length, 0x01020304u);
}

TEST(SzddHeader, TellsOtherFilesTruncatedHeadersAndUnknownModes)
{
    Header header;
    auto bytes = MakeHeader(header);
    Bytes all(bytes.begin(), bytes.end());
    for (std::size_t size = 1; size < kHeaderSize; size++)
        EXPECT_EQ(ParseHeader(std::span(all).first(size), header), HeaderStatus::Truncated) << size;
    EXPECT_EQ(ParseHeader({}, header), HeaderStatus::NotCompressed);
    EXPECT_EQ(ParseHeader(ToBytes("MZ\x90"), header), HeaderStatus::NotCompressed);
    EXPECT_EQ(ParseHeader(ToBytes("SZDE"), header), HeaderStatus::NotCompressed);
    all[8] = 'B';
    EXPECT_EQ(ParseHeader(all, header), HeaderStatus::UnknownMode);
}

TEST(SzddDecoder, LiteralsAndMatchesIntoTheInitialSpaces)
{
    // Writing starts at ring position 4080: "ab" goes to 4080 and 4081.
    // Then three spaces from the start of the ring (all spaces), "ab " from
    // 4080, 'c' at 4088 and a run that copies itself from one byte back,
    // then three bytes from the position being written (the oldest byte of
    // the ring, still a space).
    Bytes stream = {0b0001'0011, 'a', 'b'};
    PutMatch(stream, 0, 3);
    PutMatch(stream, 4080, 3);
    stream.push_back('c');
    PutMatch(stream, 4088, 5);
    PutMatch(stream, 4094, 3);
    Bytes out;
    ASSERT_EQ(DecodeAll(stream, 17, out), DecodeStatus::Ok);
    EXPECT_EQ(std::string(out.begin(), out.end()), "ab   ab cccccc   ");
}

TEST(SzddDecoder, MatchAtTheWritePositionReadsTheByteWrittenAWindowAgo)
{
    // 4096 literals, then a match from the ring position being written: it
    // repeats the output from exactly 4096 bytes back.
    Bytes stream;
    Bytes expected;
    std::mt19937 random(7);
    for (int group = 0; group < 512; group++) {
        stream.push_back(0xFF);
        for (int k = 0; k < 8; k++) {
            auto byte = static_cast<std::uint8_t>(random());
            stream.push_back(byte);
            expected.push_back(byte);
        }
    }
    stream.push_back(0x00);
    PutMatch(stream, (4080 + 4096) & 4095, 18);
    expected.insert(expected.end(), expected.begin(), expected.begin() + 18);
    Bytes out;
    ASSERT_EQ(DecodeAll(stream, static_cast<std::uint32_t>(expected.size()), out), DecodeStatus::Ok);
    EXPECT_EQ(out, expected);
}

TEST(SzddDecoder, ReportsTruncationOverrunAndExactLength)
{
    Bytes stream = {0b0000'0111, 'x', 'y', 'z'};
    Bytes out;
    EXPECT_EQ(DecodeAll(stream, 3, out), DecodeStatus::Ok);
    out.clear();
    EXPECT_EQ(DecodeAll(stream, 4, out), DecodeStatus::Truncated);
    out.clear();
    EXPECT_EQ(DecodeAll(stream, 2, out), DecodeStatus::Overrun);
    EXPECT_LE(out.size(), 2u) << "nothing past the recorded length comes out";

    // A match that reaches past the recorded length.
    Bytes match = {0x00};
    PutMatch(match, 0, 18);
    out.clear();
    EXPECT_EQ(DecodeAll(match, 17, out), DecodeStatus::Overrun);
    EXPECT_TRUE(out.empty());

    // The stream ends after the first byte of a match.
    Bytes half = {0b0000'0001, 'x', 0x12};
    out.clear();
    EXPECT_EQ(DecodeAll(half, 1, out), DecodeStatus::Truncated);

    // A control byte with nothing after it adds nothing.
    Bytes trailing = {0xFF, '1', '2', '3', '4', '5', '6', '7', '8', 0xFF};
    out.clear();
    EXPECT_EQ(DecodeAll(trailing, 8, out), DecodeStatus::Ok);

    // An empty stream is whole for an empty file only.
    out.clear();
    EXPECT_EQ(DecodeAll({}, 0, out), DecodeStatus::Ok);
    EXPECT_EQ(DecodeAll({}, 1, out), DecodeStatus::Truncated);
}

// Random streams, decoded in random pieces into output blocks of random
// sizes, with recorded lengths around the true one, agree with the reference
// on bytes and verdict.
TEST(SzddDecoder, AgreesWithTheReferenceOnRandomStreams)
{
    std::mt19937 random(20261211);
    for (int round = 0; round < 600; round++) {
        std::size_t size = round < 20 ? 60000 + random() % 60000 : random() % 2000;
        Bytes stream(size);
        unsigned literalBias = random() % 256;
        for (std::size_t i = 0; i < size; i++)
            stream[i] = static_cast<std::uint8_t>(random());
        // Bias the control bytes of the first groups towards literals or matches.
        for (std::size_t i = 0; i < size; i += 12)
            stream[i] = static_cast<std::uint8_t>(random() % 256 < literalBias ? 0xFF : random() & 0x0F);

        zor::testing::ReferenceResult reference = zor::testing::ReferenceDecode(stream);
        std::size_t full = reference.output.size();
        for (std::int64_t delta : {-19, -1, 0, 0, 1, 40}) {
            std::int64_t expected = static_cast<std::int64_t>(full) + delta;
            if (expected < 0)
                continue;
            std::size_t piece = 1 + random() % (round % 3 == 0 ? 7 : 70000);
            std::size_t block = round % 2 == 0 ? Decoder::kBlockSize : Decoder::kMinBlockSize + random() % 5000;
            Bytes out;
            DecodeStatus status =
                zor::testing::DecodeInPieces(stream, static_cast<std::uint32_t>(expected), piece, block, out);
            SCOPED_TRACE("round " + std::to_string(round) + " delta " + std::to_string(delta) + " piece " +
                         std::to_string(piece) + " block " + std::to_string(block));
            if (delta < 0) {
                EXPECT_EQ(status, DecodeStatus::Overrun);
                ASSERT_LE(out.size(), static_cast<std::size_t>(expected));
            } else if (delta > 0 || reference.endsInsideMatch) {
                EXPECT_EQ(status, DecodeStatus::Truncated);
                ASSERT_LE(out.size(), full);
            } else {
                EXPECT_EQ(status, DecodeStatus::Ok);
                ASSERT_EQ(out.size(), full);
            }
            ASSERT_TRUE(std::equal(out.begin(), out.end(), reference.output.begin()));
        }
    }
}

// Inputs for the encoder, each with a name.
std::vector<std::pair<std::string, Bytes>> EncoderInputs()
{
    std::vector<std::pair<std::string, Bytes>> inputs;
    inputs.emplace_back("empty", Bytes{});
    inputs.emplace_back("one byte", Bytes{'Z'});
    inputs.emplace_back("one space", Bytes{' '});
    inputs.emplace_back("spaces then text", ToBytes(std::string(40, ' ') + "ZOR"));
    std::mt19937 random(99);
    Bytes noise(300000);
    for (auto &b : noise)
        b = static_cast<std::uint8_t>(random());
    inputs.emplace_back("incompressible", noise);
    // A 5000-byte block repeated: every match reaches across the window.
    Bytes block(5000);
    for (auto &b : block)
        b = static_cast<std::uint8_t>(random() % 7);
    Bytes far;
    for (int i = 0; i < 20; i++)
        far.insert(far.end(), block.begin(), block.end());
    inputs.emplace_back("repeats a window apart", far);
    // A run that repeats exactly 4096 bytes back.
    Bytes window(4096);
    for (auto &b : window)
        b = static_cast<std::uint8_t>(random());
    Bytes twice = window;
    twice.insert(twice.end(), window.begin(), window.end());
    twice.insert(twice.end(), window.begin(), window.begin() + 1000);
    inputs.emplace_back("repeats 4096 back", twice);
    inputs.emplace_back("zeros", Bytes(1 << 20, 0));
    // Text-like data of a few megabytes.
    std::string text;
    const char *words[] = {"setup ", "ZOR ", "install ", "folder ", "the ", "payload ", "\n", "expand "};
    while (text.size() < 3'000'000)
        text += words[random() % 8];
    inputs.emplace_back("text", ToBytes(text));
    return inputs;
}

TEST(SzddEncoder, RoundTripsThroughTheDecoder)
{
    for (const auto &[name, data] : EncoderInputs()) {
        SCOPED_TRACE(name);
        std::optional<Bytes> packed = Compress(data, 'e');
        ASSERT_TRUE(packed);
        Header header;
        ASSERT_EQ(ParseHeader(*packed, header), HeaderStatus::Ok);
        EXPECT_EQ(header.missingChar, 'e');
        EXPECT_EQ(header.length, data.size());
        Bytes out;
        ASSERT_EQ(DecodeAll(StreamOf(*packed), header.length, out), DecodeStatus::Ok);
        ASSERT_TRUE(out == data);
        zor::testing::ReferenceResult reference = zor::testing::ReferenceDecode(StreamOf(*packed));
        ASSERT_TRUE(reference.output == data);
    }
}

TEST(SzddEncoder, FindsMatchesWhereThereAreSome)
{
    // Runs and repeats must shrink to a fraction; noise grows by at most
    // one control byte in eight.
    Bytes zeros(1 << 20, 0);
    EXPECT_LT(Compress(zeros, 0)->size(), zeros.size() / 8);
    Bytes spaces(100, ' ');
    EXPECT_LT(Compress(spaces, 0)->size(), kHeaderSize + 16) << "the initial window already holds spaces";
    std::mt19937 random(5);
    Bytes noise(80000);
    for (auto &b : noise)
        b = static_cast<std::uint8_t>(random());
    EXPECT_LE(Compress(noise, 0)->size(), kHeaderSize + noise.size() + noise.size() / 8 + 1);
}

} // namespace
