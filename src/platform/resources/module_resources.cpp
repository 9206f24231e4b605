// The program's own resources: the .res bytes that the build embeds, parsed
// the first time they are asked for.
#include "module_resources.h"

#include <cstdio>
#include <mutex>
#include <optional>

namespace zor::resources {
namespace {

struct Registry {
    std::mutex mutex;
    std::span<const std::byte> bytes;
    bool registered = false;
    std::optional<std::vector<ResourceEntry>> parsed;
    bool reported = false;
};

// Registration runs during static initialisation, so the registry is made on
// first use rather than being a namespace-scope object.
Registry &TheRegistry()
{
    static Registry registry;
    return registry;
}

}  // namespace

void RegisterProgramResources(std::span<const std::byte> resFile)
{
    Registry &registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    registry.bytes = resFile;
    registry.registered = true;
    registry.parsed.reset();
    registry.reported = false;
}

const std::vector<ResourceEntry> *ProgramResources()
{
    Registry &registry = TheRegistry();
    std::lock_guard lock(registry.mutex);
    if (registry.parsed)
        return &*registry.parsed;
    if (!registry.registered) {
        if (!registry.reported)
            std::fprintf(stderr, "zor-setup: the program has no embedded resources\n");
        registry.reported = true;
        return nullptr;
    }
    auto result = ParseResFile(registry.bytes);
    if (auto *error = std::get_if<ParseError>(&result)) {
        if (!registry.reported)
            std::fprintf(stderr, "zor-setup: the program's embedded resources are unreadable: %s\n",
                         error->message.c_str());
        registry.reported = true;
        return nullptr;
    }
    registry.parsed = std::move(std::get<std::vector<ResourceEntry>>(result));
    return &*registry.parsed;
}

}  // namespace zor::resources
