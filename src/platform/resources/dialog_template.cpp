// The classic dialog template: a DLGTEMPLATE header, its menu, class, caption
// and (with DS_SETFONT) font, then the items, each starting on a DWORD boundary
// counted from the start of the template.
#include "dialog_template.h"

#include "byte_reader.h"

#include <algorithm>

namespace zor::resources {
namespace {

using detail::ByteReader;

constexpr std::uint32_t kDsSetFont = 0x40;
// The first DWORD of an extended template: version 1, signature 0xFFFF.
constexpr std::uint32_t kExtendedSignature = 0xFFFF0001;

DialogItem ReadItem(ByteReader &reader, std::size_t index, std::size_t count)
{
    const std::string label = "item " + std::to_string(index + 1) + " of " + std::to_string(count);
    auto field = [&label](const char *name) { return label + " " + name; };

    reader.AlignToDword(field("start"));
    DialogItem item;
    item.style = reader.Dword(field("style"));
    item.exStyle = reader.Dword(field("extended style"));
    item.x = reader.Short(field("x"));
    item.y = reader.Short(field("y"));
    item.cx = reader.Short(field("width"));
    item.cy = reader.Short(field("height"));
    item.id = reader.Word(field("id"));
    item.windowClass = reader.NameOrOrdinal(field("class"), false);
    item.title = reader.NameOrOrdinal(field("title"), false);
    const std::uint16_t extra = reader.Word(field("creation data size"));
    const auto bytes = reader.Bytes(extra, field("creation data"));
    item.creationData.assign(bytes.begin(), bytes.end());
    return item;
}

DialogTemplate Read(std::span<const std::byte> data)
{
    ByteReader reader(data, "dialog template");
    DialogTemplate dialog;
    dialog.style = reader.Dword("style");
    if (dialog.style == kExtendedSignature)
        detail::Fail("dialog template: extended (DIALOGEX) templates are not supported");
    dialog.exStyle = reader.Dword("extended style");
    const std::uint16_t count = reader.Word("item count");
    dialog.x = reader.Short("x");
    dialog.y = reader.Short("y");
    dialog.cx = reader.Short("width");
    dialog.cy = reader.Short("height");
    dialog.menu = reader.NameOrOrdinal("menu", true);
    dialog.windowClass = reader.NameOrOrdinal("class", true);
    dialog.caption = reader.String("caption");
    if (dialog.style & kDsSetFont) {
        dialog.pointSize = reader.Word("font point size");
        dialog.faceName = reader.String("font face name");
    }
    dialog.items.reserve(std::min<std::size_t>(count, reader.Remaining() / 18 + 1));
    for (std::size_t i = 0; i < count; ++i)
        dialog.items.push_back(ReadItem(reader, i, count));
    return dialog;
}

}  // namespace

std::variant<DialogTemplate, ParseError> ParseDialogTemplate(std::span<const std::byte> data)
{
    return detail::Guarded<DialogTemplate>([data] { return Read(data); });
}

}  // namespace zor::resources
