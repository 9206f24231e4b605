// Streams kept as files: hand-made edge cases and what the fuzzer found.
// The name of each file starts with what it must give: ok-, truncated-,
// overrun- or header- (the header is not whole).

#include "src/platform/logic/szdd_decoder.h"
#include "src/platform/logic/szdd_format.h"
#include "szdd_reference.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

using namespace zor::szdd;

std::string Verdict(DecodeStatus status)
{
    switch (status) {
    case DecodeStatus::Ok:
        return "ok";
    case DecodeStatus::Truncated:
        return "truncated";
    case DecodeStatus::Overrun:
        return "overrun";
    }
    return "?";
}

TEST(SzddFixtures, EachGivesTheVerdictItsNameStates)
{
    int seen = 0;
    for (const auto &entry : std::filesystem::directory_iterator(ZOR_FIXTURE_DIR)) {
        std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        std::ifstream in(entry.path(), std::ios::binary);
        std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string expected = name.substr(0, name.find('-'));
        Header header;
        if (ParseHeader(file, header) != HeaderStatus::Ok) {
            EXPECT_EQ(expected, "header");
            seen++;
            continue;
        }
        std::span<const std::uint8_t> stream = std::span<const std::uint8_t>(file).subspan(kHeaderSize);
        std::vector<std::uint8_t> out;
        DecodeStatus status = DecodeAll(stream, header.length, out);
        EXPECT_EQ(Verdict(status), expected);
        zor::testing::ReferenceResult reference = zor::testing::ReferenceDecode(stream);
        ASSERT_LE(out.size(), reference.output.size());
        EXPECT_TRUE(std::equal(out.begin(), out.end(), reference.output.begin()));
        seen++;
    }
    EXPECT_GE(seen, 6);
}

} // namespace
