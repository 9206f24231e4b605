// Fuzz target: arbitrary bytes as a compressed file.
//
// The first byte chooses the size of the pieces the decoder is fed and of
// its output block; the rest is the file. The decoder must agree with the plain reference decoder on
// every byte and on the verdict, and LZ32 (LZOpenFileA and LZCopy on the same
// bytes) must give the matching result.

#include "src/platform/logic/szdd_decoder.h"
#include "src/platform/logic/szdd_format.h"
#include "src/platform/win32.h"
#include "tests/logic/szdd_reference.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

using namespace zor::szdd;

void Check(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "mismatch: %s\n", what);
        std::abort();
    }
}


// What LZ32 makes of the file.
LONG ThroughLz32(std::span<const std::uint8_t> file)
{
    int memory = memfd_create("szdd", MFD_CLOEXEC);
    if (memory < 0)
        return 1;
    if (!file.empty() && write(memory, file.data(), file.size()) != static_cast<ssize_t>(file.size())) {
        close(memory);
        return 1;
    }
    std::string path = "/proc/self/fd/" + std::to_string(memory);
    char nowhere[] = "/dev/null";
    OFSTRUCT info;
    INT in = LZOpenFileA(path.data(), &info, OF_READ);
    LONG result = in;
    if (in >= 0) {
        INT out = LZOpenFileA(nowhere, &info, OF_CREATE | OF_WRITE);
        Check(out >= 0, "cannot open /dev/null");
        result = LZCopy(in, out);
        LZClose(out);
        LZClose(in);
    }
    close(memory);
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    std::size_t piece = data[0] == 0 ? size : 1 + static_cast<std::size_t>(data[0]) * data[0];
    std::size_t block = Decoder::kMinBlockSize + static_cast<std::size_t>(data[0] % 16) * 300;
    std::span<const std::uint8_t> file(data + 1, size - 1);

    Header header;
    HeaderStatus headerStatus = ParseHeader(file, header);
    LONG lz = ThroughLz32(file);
    switch (headerStatus) {
    case HeaderStatus::NotCompressed:
        Check(lz == static_cast<LONG>(file.size()), "an uncompressed file is copied whole");
        return 0;
    case HeaderStatus::Truncated:
        Check(lz == LZERROR_READ, "a cut header is a read error");
        return 0;
    case HeaderStatus::UnknownMode:
        Check(lz == LZERROR_UNKNOWNALG, "an unknown mode is refused");
        return 0;
    case HeaderStatus::Ok:
        break;
    }

    std::span<const std::uint8_t> stream = file.subspan(kHeaderSize);
    std::vector<std::uint8_t> out;
    DecodeStatus status = zor::testing::DecodeInPieces(stream, header.length, piece, block, out);
    zor::testing::ReferenceResult reference = zor::testing::ReferenceDecode(stream);

    Check(out.size() <= header.length, "nothing past the recorded length");
    Check(out.size() <= reference.output.size(), "no more than the reference");
    Check(std::equal(out.begin(), out.end(), reference.output.begin()), "same bytes as the reference");
    if (reference.output.size() > header.length)
        Check(status == DecodeStatus::Overrun, "overrun seen");
    else if (reference.output.size() < header.length || reference.endsInsideMatch)
        Check(status == DecodeStatus::Truncated, "truncation seen");
    else
        Check(status == DecodeStatus::Ok && out.size() == header.length, "whole stream accepted");

    if (status == DecodeStatus::Ok)
        Check(lz == static_cast<LONG>(std::min<std::uint32_t>(header.length, 0x7FFFFFFF)), "LZCopy gives the length");
    else
        Check(lz == LZERROR_READ, "LZCopy refuses a bad stream");
    return 0;
}
