// The compiled resources embedded in the program.
#pragma once

#include "res_file.h"

namespace zor::resources {

// Registers the .res bytes embedded in the program, for the handle that
// GetModuleHandleA(NULL) returns. The bytes must live as long as the process.
// A later registration replaces an earlier one (tests use this) and makes the
// entries that ProgramResources returned before invalid.
void RegisterProgramResources(std::span<const std::byte> resFile);

// The program's parsed resources, or nullptr when none are registered or they
// are malformed (then a line on stderr says why, once). The dialog manager
// uses them for the module handle that GetModuleHandleA(NULL) returns.
const std::vector<ResourceEntry> *ProgramResources();

// A helper whose constructor registers the program's resources; the embedded
// resource file defines one.
struct ProgramResourcesRegistration {
    explicit ProgramResourcesRegistration(std::span<const std::byte> resFile) { RegisterProgramResources(resFile); }
};

}  // namespace zor::resources
