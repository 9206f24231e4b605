// The setup dialog's template, compiled from res/setup.rc, reads back exactly
// as the dialog is meant to be: from the .res file and from the copy embedded
// in the program.
#include "resource_bytes.h"
#include "src/platform/resources/module_resources.h"

#include <gtest/gtest.h>

namespace zor::resources {
namespace {

using testing::ReadBytes;

constexpr std::uint16_t kSetupDialogId = 101;
constexpr std::uint16_t kEnglishUs = 1033;

struct ExpectedItem {
    std::uint16_t id;
    std::uint16_t classAtom;
    std::int16_t x, y, cx, cy;
    std::uint32_t style;
    const char *text;
};

const ExpectedItem kSetupItems[] = {
    {1005, kStaticAtom, 7, 7, 157, 50, 0x50020000,
     "Welcome to ZOR! This program will copy the ZOR executable files into a directory of your choice. It will "
     "then start ZOR itself, which will complete setup."},
    {1001, kEditAtom, 7, 80, 112, 12, 0x50810080, ""},
    {1003, kStaticAtom, 7, 60, 150, 17, 0x50020000, "Enter the directory to which you would like to install."},
    {1004, kButtonAtom, 32, 100, 52, 15, 0x50010001, "Continue"},
    {1006, kButtonAtom, 87, 100, 52, 15, 0x50010000, "Cancel"},
    {1002, kButtonAtom, 121, 80, 43, 12, 0x50010000, "Browse..."},
};

void ExpectSetupDialog(const ResourceEntry &entry)
{
    EXPECT_EQ(entry.language, kEnglishUs);
    auto parsed = ParseDialogTemplate(entry.data);
    if (auto *error = std::get_if<ParseError>(&parsed))
        FAIL() << error->message;
    const DialogTemplate &dialog = std::get<DialogTemplate>(parsed);

    EXPECT_EQ(dialog.style, 0x90C00AC0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.x, 0);
    EXPECT_EQ(dialog.y, 0);
    EXPECT_EQ(dialog.cx, 171);
    EXPECT_EQ(dialog.cy, 122);
    EXPECT_EQ(dialog.menu, NameOrId(std::uint16_t{0}));
    EXPECT_EQ(dialog.windowClass, NameOrId(std::uint16_t{0}));
    EXPECT_EQ(dialog.caption, "ZOR Setup");
    EXPECT_EQ(dialog.pointSize, 8);
    EXPECT_EQ(dialog.faceName, "MS Sans Serif");

    ASSERT_EQ(dialog.items.size(), std::size(kSetupItems));
    for (std::size_t i = 0; i < dialog.items.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const DialogItem &item = dialog.items[i];
        const ExpectedItem &expected = kSetupItems[i];
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.windowClass, NameOrId(expected.classAtom));
        EXPECT_EQ(item.x, expected.x);
        EXPECT_EQ(item.y, expected.y);
        EXPECT_EQ(item.cx, expected.cx);
        EXPECT_EQ(item.cy, expected.cy);
        EXPECT_EQ(item.style, expected.style);
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.title, NameOrId(std::string(expected.text)));
        EXPECT_TRUE(item.creationData.empty());
    }
}

TEST(SetupResource, CompiledFileHoldsOnlyTheSetupDialog)
{
    const auto bytes = ReadBytes(ZOR_SETUP_RES);
    auto parsed = ParseResFile(bytes);
    ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed)) << std::get<ParseError>(parsed).message;
    const auto &entries = std::get<std::vector<ResourceEntry>>(parsed);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].type, NameOrId(kDialogType));
    EXPECT_EQ(entries[0].name, NameOrId(kSetupDialogId));
    // The template fills the file after the two headers.
    EXPECT_EQ(entries[0].data.data(), bytes.data() + 64);
    EXPECT_EQ(entries[0].data.size(), bytes.size() - 64);
}

TEST(SetupResource, CompiledDialogMatchesTheTemplateTable)
{
    const auto bytes = ReadBytes(ZOR_SETUP_RES);
    auto parsed = ParseResFile(bytes);
    ASSERT_TRUE(std::holds_alternative<std::vector<ResourceEntry>>(parsed)) << std::get<ParseError>(parsed).message;
    const ResourceEntry *entry = FindResource(std::get<std::vector<ResourceEntry>>(parsed), kDialogType,
                                              kSetupDialogId, kEnglishUs);
    ASSERT_NE(entry, nullptr);
    ExpectSetupDialog(*entry);
}

TEST(SetupResource, EmbeddedDialogMatchesTheTemplateTable)
{
    const std::vector<ResourceEntry> *entries = ProgramResources();
    ASSERT_NE(entries, nullptr);
    const ResourceEntry *entry = FindResource(*entries, kDialogType, kSetupDialogId, kEnglishUs);
    ASSERT_NE(entry, nullptr);
    ExpectSetupDialog(*entry);

    // The embedded bytes are the compiled file's.
    const auto bytes = ReadBytes(ZOR_SETUP_RES);
    const std::vector<std::byte> embedded(entry->data.begin(), entry->data.end());
    const std::vector<std::byte> compiled(bytes.begin() + 64, bytes.end());
    EXPECT_EQ(embedded, compiled);
}

TEST(ProgramResourcesRegistry, MalformedResourcesAreReportedOnceAndReplaceable)
{
    static const auto good = ReadBytes(ZOR_SETUP_RES);
    static const std::vector<std::byte> bad(good.begin(), good.begin() + 40);

    ::testing::internal::CaptureStderr();
    RegisterProgramResources(bad);
    EXPECT_EQ(ProgramResources(), nullptr);
    EXPECT_EQ(ProgramResources(), nullptr);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_NE(said.find("resource"), std::string::npos) << said;

    RegisterProgramResources(good);
    const std::vector<ResourceEntry> *entries = ProgramResources();
    ASSERT_NE(entries, nullptr);
    const ResourceEntry *entry = FindResource(*entries, kDialogType, kSetupDialogId, kEnglishUs);
    ASSERT_NE(entry, nullptr);
    ExpectSetupDialog(*entry);
}

}  // namespace
}  // namespace zor::resources
