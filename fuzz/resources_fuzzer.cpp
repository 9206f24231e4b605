// libFuzzer target for the resource reader: the input is read both as a
// compiled resource file (and each entry as a dialog template) and as a dialog
// template on its own. Built and run by run_resources.sh.
#include "src/platform/resources/res_file.h"

#include <cstddef>
#include <cstdint>
#include <span>

using namespace zor::resources;

namespace {

// Touches everything a parsed template holds, so that a bad length or pointer
// shows up under the sanitizers.
std::size_t Consume(const DialogTemplate &dialog)
{
    std::size_t total = dialog.caption.size() + dialog.faceName.size();
    for (const DialogItem &item : dialog.items) {
        if (const auto *name = std::get_if<std::string>(&item.title))
            total += name->size();
        for (std::byte b : item.creationData)
            total += std::to_integer<std::size_t>(b);
    }
    return total;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const auto bytes = std::as_bytes(std::span(data, size));
    volatile std::size_t sink = 0;

    auto file = ParseResFile(bytes);
    if (auto *entries = std::get_if<std::vector<ResourceEntry>>(&file)) {
        for (const ResourceEntry &entry : *entries) {
            auto dialog = ParseDialogTemplate(entry.data);
            if (auto *parsed = std::get_if<DialogTemplate>(&dialog))
                sink = sink + Consume(*parsed);
        }
        if (const ResourceEntry *entry = FindResource(*entries, kDialogType, std::uint16_t{101}, 1033))
            sink = sink + entry->data.size();
    }

    auto dialog = ParseDialogTemplate(bytes);
    if (auto *parsed = std::get_if<DialogTemplate>(&dialog))
        sink = sink + Consume(*parsed);
    return 0;
}
