// Truncated and lying resource files and templates: every one is a ParseError
// with a one-line message, never a read out of bounds (the sanitizer build
// checks the latter).
#include "resource_bytes.h"
#include "src/platform/resources/res_file.h"

#include <gtest/gtest.h>

namespace zor::resources {
namespace {

using testing::Bytes;
using testing::ReadBytes;

template <typename Result>
std::string ErrorOf(const std::variant<Result, ParseError> &parsed)
{
    if (const auto *error = std::get_if<ParseError>(&parsed))
        return error->message;
    return {};
}

void ExpectOneLineError(const std::string &message, std::string_view context)
{
    EXPECT_FALSE(message.empty()) << "parsed without an error";
    EXPECT_EQ(message.find('\n'), std::string::npos) << message;
    EXPECT_TRUE(message.starts_with(context)) << message;
}

TEST(MalformedResFile, EveryPrefixOfTheSetupResourcesButTheLeadingEntryIsAnError)
{
    const auto bytes = ReadBytes(ZOR_SETUP_RES);
    ASSERT_EQ(std::holds_alternative<std::vector<ResourceEntry>>(ParseResFile(bytes)), true);
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
        // A copy of exactly that length, so that the sanitizer sees any read
        // beyond it.
        const std::vector<std::byte> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
        auto parsed = ParseResFile(prefix);
        if (length == 32) {
            // The leading empty entry alone is a resource file without resources.
            ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed)) << ErrorOf(parsed);
            EXPECT_TRUE(std::get<std::vector<ResourceEntry>>(parsed).empty());
            continue;
        }
        ExpectOneLineError(ErrorOf(parsed), "resource file");
    }
}

TEST(MalformedDialogTemplate, EveryPrefixOfTheSetupTemplateIsAnError)
{
    const auto bytes = ReadBytes(ZOR_SETUP_RES);
    const std::vector<std::byte> dialog(bytes.begin() + 64, bytes.end());
    ASSERT_EQ(std::holds_alternative<DialogTemplate>(ParseDialogTemplate(dialog)), true);
    for (std::size_t length = 0; length < dialog.size(); ++length) {
        SCOPED_TRACE("prefix of " + std::to_string(length) + " bytes");
        const std::vector<std::byte> prefix(dialog.begin(), dialog.begin() + static_cast<std::ptrdiff_t>(length));
        ExpectOneLineError(ErrorOf(ParseDialogTemplate(prefix)), "dialog template");
    }
}

struct Case {
    const char *name;
    Bytes bytes;
    const char *said;  // part of the message
};

// A template header: style, no extended style, `count` items, 0,0 10x10.
Bytes Header(std::uint16_t count, std::uint32_t style = 0x80000000)
{
    Bytes t;
    t.Dword(style).Dword(0).Word(count).Word(0).Word(0).Word(10).Word(10);
    return t;
}

// An item header with the given id, before its class.
Bytes &Item(Bytes &t, std::uint16_t id)
{
    return t.AlignToDword().Dword(0x50000000).Dword(0).Word(1).Word(1).Word(5).Word(5).Word(id);
}

std::vector<Case> LyingTemplates()
{
    std::vector<Case> cases;
    {
        Bytes t = Header(0);
        t.Word(0xFFFF);
        cases.push_back({"menu ordinal without its id", t, "menu"});
    }
    {
        Bytes t = Header(0);
        t.Word(0).Word(0).Word('Z').Word('O').Word('R');
        cases.push_back({"caption without terminator", t, "caption"});
    }
    {
        Bytes t = Header(0, 0x80000040);
        t.Word(0).Word(0).Word(0);
        cases.push_back({"font without its point size", t, "font point size"});
    }
    {
        Bytes t = Header(0, 0x80000040);
        t.Word(0).Word(0).Word(0).Word(8).Word('M').Word('S');
        cases.push_back({"face name without terminator", t, "font face name"});
    }
    {
        Bytes t = Header(2);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Ordinal(kButtonAtom).Sz(u"OK").Word(0);
        cases.push_back({"count larger than the items", t, "item 2 of 2"});
    }
    {
        Bytes t = Header(0xFFFF);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Ordinal(kButtonAtom).Sz(u"OK").Word(0).Word(0);
        cases.push_back({"count of 65535 with one item", t, "item 2 of 65535"});
    }
    {
        Bytes t = Header(1);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Ordinal(kButtonAtom).Sz(u"OK").Word(0xFFFF).Word(1).Word(2);
        cases.push_back({"creation data longer than the data", t, "creation data"});
    }
    {
        Bytes t = Header(1);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Word(0xFFFF);
        cases.push_back({"class ordinal without its atom", t, "class"});
    }
    {
        Bytes t = Header(1);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Word('B').Word('U');
        cases.push_back({"class name without terminator", t, "class"});
    }
    {
        Bytes t = Header(1);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Ordinal(kButtonAtom).Word('O');
        cases.push_back({"title without terminator", t, "title"});
    }
    {
        Bytes t = Header(1);
        t.Word(0).Word(0).Word(0);
        Item(t, 1).Ordinal(kButtonAtom).Sz(u"OK");
        cases.push_back({"no creation data size", t, "creation data size"});
    }
    {
        // The header ends two bytes short of a DWORD boundary, where the data
        // ends too: the item's start lies beyond the end.
        Bytes t = Header(1);
        t.Word(0).Word(0).Sz(u"A");
        cases.push_back({"item start past the end", t, "item 1 of 1 start"});
    }
    {
        Bytes t;
        t.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(0);
        cases.push_back({"extended template", t, "extended"});
    }
    return cases;
}

TEST(MalformedDialogTemplate, LyingCountsAndLengthsAreErrors)
{
    for (const Case &c : LyingTemplates()) {
        SCOPED_TRACE(c.name);
        const std::vector<std::byte> exact = c.bytes.data;
        const std::string message = ErrorOf(ParseDialogTemplate(exact));
        ExpectOneLineError(message, "dialog template");
        EXPECT_NE(message.find(c.said), std::string::npos) << message;
    }
}

std::vector<Case> LyingResFiles()
{
    using testing::ResFileStart;
    std::vector<Case> cases;
    {
        Bytes f;
        f.Dword(0).Dword(32).Ordinal(1).Ordinal(0).Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"leading entry of another type", f, "empty 32-byte entry"});
    }
    {
        Bytes f;
        f.Word(0x05FF).Word(0x65FF);
        cases.push_back({"a 16-bit resource file", f, "too few"});
    }
    {
        Bytes f = ResFileStart();
        f.Dword(4).Dword(0x1000).Ordinal(5).Ordinal(101);
        cases.push_back({"header size past the end", f, "header size of 4096"});
    }
    {
        Bytes f = ResFileStart();
        f.Dword(0).Dword(0).Dword(0).Dword(0).Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"header size of zero", f, "entry 1"});
    }
    {
        // The names fit the data, not the header size.
        Bytes f = ResFileStart();
        f.Dword(0).Dword(20).Ordinal(5).Ordinal(101).Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"header size too small for its fields", f, "header"});
    }
    {
        Bytes f = ResFileStart();
        f.Dword(0).Dword(16).Ordinal(5).Word('N').Word('A').Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"name running past the header", f, "name"});
    }
    {
        Bytes f = ResFileStart();
        f.Dword(0xFFFFFFFF).Dword(32).Ordinal(5).Ordinal(101).Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"data size of 4 GiB", f, "data size of 4294967295"});
    }
    {
        Bytes f = ResFileStart();
        f.Dword(8).Dword(32).Ordinal(5).Ordinal(101).Dword(0).Dword(0).Dword(0).Dword(0).Dword(0);
        cases.push_back({"data one DWORD short", f, "data size of 8"});
    }
    {
        // A good entry, then a second whose header is cut short.
        Bytes f = ResFileStart();
        f.Dword(0).Dword(32).Ordinal(5).Ordinal(101).Dword(0).Dword(0).Dword(0).Dword(0);
        f.Dword(0).Dword(32).Ordinal(5);
        cases.push_back({"second entry cut", f, "entry 2"});
    }
    return cases;
}

TEST(MalformedResFile, LyingSizesAndNamesAreErrors)
{
    for (const Case &c : LyingResFiles()) {
        SCOPED_TRACE(c.name);
        const std::vector<std::byte> exact = c.bytes.data;
        const std::string message = ErrorOf(ParseResFile(exact));
        ExpectOneLineError(message, "resource file");
        EXPECT_NE(message.find(c.said), std::string::npos) << message;
    }
}

}  // namespace
}  // namespace zor::resources
