// zor-pack: compresses a file into the SZDD format of the payload.
//
//     zor-pack INPUT [OUTPUT]
//
// The last character of the output's name is replaced by an underscore, and
// the header records the character it replaced, so that expansion gives the
// file back its name: ZOR.exe is packed into ZOR.ex_ recording 'e'. Without
// OUTPUT the name is derived from INPUT that way.

#include "src/platform/logic/szdd_encoder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The name of the file, after its folder.
std::string BaseName(const std::string &path)
{
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

int Fail(const std::string &message)
{
    std::fprintf(stderr, "zor-pack: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3)
        return Fail("usage: zor-pack INPUT [OUTPUT]");
    std::string input = argv[1];
    std::string name = BaseName(input);
    if (name.empty())
        return Fail("no file name in '" + input + "'");

    std::string output;
    if (argc == 3) {
        output = argv[2];
    } else {
        output = input;
        output.back() = '_';
        if (output == input)
            return Fail("cannot derive an output name from '" + input + "': it already ends in '_'");
    }

    // The character that the name of the packed file loses: the last of the
    // input's name, unless that is an underscore already.
    auto missing = static_cast<std::uint8_t>(name.back() == '_' ? 0 : name.back());

    std::FILE *in = std::fopen(input.c_str(), "rb");
    if (in == nullptr)
        return Fail("cannot open '" + input + "': " + std::strerror(errno));
    std::vector<std::uint8_t> data;
    std::uint8_t chunk[1 << 16];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, in)) > 0)
        data.insert(data.end(), chunk, chunk + got);
    bool readFailed = std::ferror(in) != 0;
    std::fclose(in);
    if (readFailed)
        return Fail("cannot read '" + input + "': " + std::strerror(errno));

    std::optional<std::vector<std::uint8_t>> packed = zor::szdd::Compress(data, missing);
    if (!packed)
        return Fail("'" + input + "' is too large (4 GiB at most)");

    std::FILE *out = std::fopen(output.c_str(), "wb");
    if (out == nullptr)
        return Fail("cannot create '" + output + "': " + std::strerror(errno));
    bool written = std::fwrite(packed->data(), 1, packed->size(), out) == packed->size();
    written = (std::fclose(out) == 0) && written;
    if (!written) {
        std::remove(output.c_str());
        return Fail("cannot write '" + output + "'");
    }
    return 0;
}
