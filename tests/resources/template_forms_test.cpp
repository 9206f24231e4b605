// Templates and resource files in the forms the setup dialog does not use:
// fonts left out, menus and classes, names, creation data, ordinal titles,
// other languages.
#include "resource_bytes.h"
#include "src/platform/resources/res_file.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace zor::resources {
namespace {

using testing::Bytes;
using testing::ReadBytes;

DialogTemplate ParseOrFail(std::span<const std::byte> data)
{
    auto parsed = ParseDialogTemplate(data);
    if (auto *error = std::get_if<ParseError>(&parsed)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<DialogTemplate>(parsed);
}

bool SameText(const NameOrId &name, std::string_view text)
{
    const auto *s = std::get_if<std::string>(&name);
    return s && std::equal(s->begin(), s->end(), text.begin(), text.end(),
                           [](char a, char b) { return std::tolower(a) == std::tolower(b); });
}

class VarietyFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto parsed = ParseResFile(bytes);
        ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed))
            << std::get<ParseError>(parsed).message;
        entries = std::get<std::vector<ResourceEntry>>(parsed);
    }
    std::vector<std::byte> bytes = ReadBytes(ZOR_VARIETY_RES);
    std::vector<ResourceEntry> entries;
};

TEST_F(VarietyFile, DialogWithoutFontWithClassCustomControlAndOrdinalTitle)
{
    ASSERT_EQ(entries.size(), 4u);
    const ResourceEntry *entry = FindResource(entries, kDialogType, std::uint16_t{200}, 0x0409);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->language, 0x0409);
    const DialogTemplate dialog = ParseOrFail(entry->data);

    // The compiler adds WS_CAPTION for the CAPTION statement.
    EXPECT_EQ(dialog.style, 0x80C00000u);
    EXPECT_EQ(dialog.x, 10);
    EXPECT_EQ(dialog.y, 20);
    EXPECT_EQ(dialog.cx, 100);
    EXPECT_EQ(dialog.cy, 50);
    EXPECT_EQ(dialog.menu, NameOrId(std::uint16_t{0}));
    EXPECT_TRUE(SameText(dialog.windowClass, "MyDialogClass"));
    EXPECT_EQ(dialog.caption, "Gr\xC3\xBC\xC3\x9F" "e \xF0\x9F\x98\x80");
    EXPECT_EQ(dialog.pointSize, 0);
    EXPECT_EQ(dialog.faceName, "");

    ASSERT_EQ(dialog.items.size(), 2u);
    const DialogItem &custom = dialog.items[0];
    EXPECT_EQ(custom.id, 7);
    EXPECT_TRUE(SameText(custom.windowClass, "MyControl"));
    EXPECT_EQ(custom.title, NameOrId(std::string("Custom")));
    EXPECT_EQ(custom.style, 0x50000000u);
    EXPECT_EQ(custom.exStyle, 0x20u);
    EXPECT_EQ(custom.x, 1);
    EXPECT_EQ(custom.y, 2);
    EXPECT_EQ(custom.cx, 3);
    EXPECT_EQ(custom.cy, 4);

    const DialogItem &icon = dialog.items[1];
    EXPECT_EQ(icon.id, 8);
    EXPECT_EQ(icon.windowClass, NameOrId(kStaticAtom));
    EXPECT_EQ(icon.title, NameOrId(std::uint16_t{400}));
    EXPECT_EQ(icon.x, -5);
    EXPECT_EQ(icon.y, 5);
}

TEST_F(VarietyFile, LanguagesAndNamesAreFound)
{
    const ResourceEntry *german = FindResource(entries, kDialogType, std::uint16_t{200}, 0x0407);
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(german->language, 0x0407);
    EXPECT_EQ(ParseOrFail(german->data).caption, "Deutsch");

    // A language that is not there gives one of those that are.
    const ResourceEntry *other = FindResource(entries, kDialogType, std::uint16_t{200}, 0x0809);
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->language == 0x0407 || other->language == 0x0409);

    // The compilers keep names in upper case; a lookup ignores case.
    const ResourceEntry *named = FindResource(entries, kDialogType, std::string("named_dialog"), 0x0409);
    ASSERT_NE(named, nullptr);
    const DialogTemplate dialog = ParseOrFail(named->data);
    EXPECT_EQ(dialog.caption, "");
    EXPECT_EQ(dialog.pointSize, 9);
    EXPECT_EQ(dialog.faceName, "\xC3\x9Cn\xC3\xAF");
    EXPECT_TRUE(dialog.items.empty());

    EXPECT_EQ(FindResource(entries, kDialogType, std::uint16_t{202}, 0x0409), nullptr);
    EXPECT_EQ(FindResource(entries, std::uint16_t{4}, std::uint16_t{200}, 0x0409), nullptr);
}

TEST_F(VarietyFile, ExtendedTemplateIsRefused)
{
    const ResourceEntry *entry = FindResource(entries, kDialogType, std::uint16_t{201}, 0x0409);
    ASSERT_NE(entry, nullptr);
    auto parsed = ParseDialogTemplate(entry->data);
    ASSERT_TRUE(std::holds_alternative<ParseError>(parsed));
    EXPECT_NE(std::get<ParseError>(parsed).message.find("extended"), std::string::npos);
}

// A template written by hand, for the forms no resource script here produces:
// a menu, an ordinal class, creation data of odd length, items starting on a
// DWORD boundary after a header and an item that end between two.
TEST(DialogTemplateForms, MenuOrdinalClassCreationDataAndItemAlignment)
{
    Bytes t;
    t.Dword(0x80000000).Dword(0x8).Word(2).Word(0xFFFE).Word(3).Word(40).Word(30);
    t.Sz(u"MENU").Ordinal(0x7001).Sz(u"AB");  // the header ends at 18 + 10 + 4 + 6 = 38
    ASSERT_EQ(t.Size(), 38u);
    const std::byte extra[] = {std::byte{1}, std::byte{2}, std::byte{3}};
    // Item 1: a named class, an ordinal title, three bytes of creation data.
    t.AlignToDword().Dword(0x50000000).Dword(0).Word(1).Word(2).Word(3).Word(4).Word(11);
    t.Sz(u"Thing").Ordinal(5).Word(3).Raw(extra);
    // Item 2 starts on the next DWORD boundary, after the padding.
    ASSERT_NE(t.Size() % 4, 0u);
    t.AlignToDword().Dword(0x50010000).Dword(0).Word(5).Word(6).Word(7).Word(8).Word(12);
    t.Ordinal(kButtonAtom).Sz(u"OK").Word(0);

    const DialogTemplate dialog = ParseOrFail(t.Span());
    EXPECT_EQ(dialog.exStyle, 0x8u);
    EXPECT_EQ(dialog.x, -2);
    EXPECT_EQ(dialog.menu, NameOrId(std::string("MENU")));
    EXPECT_EQ(dialog.windowClass, NameOrId(std::uint16_t{0x7001}));
    EXPECT_EQ(dialog.caption, "AB");
    ASSERT_EQ(dialog.items.size(), 2u);
    EXPECT_EQ(dialog.items[0].id, 11);
    EXPECT_EQ(dialog.items[0].windowClass, NameOrId(std::string("Thing")));
    EXPECT_EQ(dialog.items[0].title, NameOrId(std::uint16_t{5}));
    EXPECT_EQ(dialog.items[0].creationData, std::vector<std::byte>(std::begin(extra), std::end(extra)));
    EXPECT_EQ(dialog.items[1].id, 12);
    EXPECT_EQ(dialog.items[1].x, 5);
    EXPECT_EQ(dialog.items[1].windowClass, NameOrId(kButtonAtom));
    EXPECT_EQ(dialog.items[1].title, NameOrId(std::string("OK")));
}

TEST(DialogTemplateForms, MenuOrdinalAndTrailingBytesAfterTheLastItem)
{
    Bytes t;
    t.Dword(0x80000000).Dword(0).Word(0).Word(0).Word(0).Word(10).Word(10);
    t.Ordinal(300).Word(0).Sz(u"").Dword(0xDEADBEEF);
    const DialogTemplate dialog = ParseOrFail(t.Span());
    EXPECT_EQ(dialog.menu, NameOrId(std::uint16_t{300}));
    EXPECT_EQ(dialog.windowClass, NameOrId(std::uint16_t{0}));
    EXPECT_TRUE(dialog.items.empty());
}

TEST(FindResource, PrefersTheLanguageElseTheFirstAndTellsOrdinalsFromNames)
{
    const std::byte one[] = {std::byte{1}};
    const std::byte two[] = {std::byte{2}};
    const std::byte three[] = {std::byte{3}};
    Bytes file = testing::ResFileStart();
    testing::AppendEntry(file, Bytes().Ordinal(5).Ordinal(101), 0x0407, one);
    testing::AppendEntry(file, Bytes().Ordinal(5).Ordinal(101), 0x0409, two);
    testing::AppendEntry(file, Bytes().Ordinal(5).Sz(u"101"), 0x0409, three);
    auto parsed = ParseResFile(file.Span());
    ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed)) << std::get<ParseError>(parsed).message;
    const auto &entries = std::get<std::vector<ResourceEntry>>(parsed);
    ASSERT_EQ(entries.size(), 3u);

    auto found = [&entries](NameOrId name, std::uint16_t language) {
        const ResourceEntry *entry = FindResource(entries, kDialogType, name, language);
        return entry && entry->data.size() == 1 ? std::to_integer<int>(entry->data[0]) : 0;
    };
    EXPECT_EQ(found(std::uint16_t{101}, 0x0409), 2);
    EXPECT_EQ(found(std::uint16_t{101}, 0x0407), 1);
    EXPECT_EQ(found(std::uint16_t{101}, 0x040C), 1);
    EXPECT_EQ(found(std::string("101"), 0x0407), 3);
    EXPECT_EQ(found(std::uint16_t{102}, 0x0409), 0);
}

TEST(ResFile, LastEntryMayLackItsPadding)
{
    const std::byte data[] = {std::byte{7}, std::byte{8}, std::byte{9}};
    Bytes file = testing::ResFileStart();
    testing::AppendEntry(file, Bytes().Ordinal(10).Sz(u"RAW"), 0, data);
    file.data.pop_back();  // the one byte of padding
    auto parsed = ParseResFile(file.Span());
    ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed)) << std::get<ParseError>(parsed).message;
    const auto &entries = std::get<std::vector<ResourceEntry>>(parsed);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, NameOrId(std::uint16_t{10}));
    EXPECT_EQ(entries[0].name, NameOrId(std::string("RAW")));
    EXPECT_EQ(entries[0].data.size(), 3u);
    EXPECT_EQ(entries[0].data[2], std::byte{9});
}

}  // namespace
}  // namespace zor::resources
