// The compiled resources embedded in a program, found by module handle.
#pragma once

#include "res_file.h"

namespace zor::resources {

// Registers the .res bytes embedded in the program, for the handle that
// GetModuleHandleA(NULL) returns. The bytes must live as long as the process.
void RegisterProgramResources(std::span<const std::byte> resFile);

// The parsed resources of a module: the program's (for the handle of
// GetModuleHandleA(NULL)), or nullptr when the module has none or they are
// malformed (then a line on stderr says why, once).
const std::vector<ResourceEntry> *ModuleResources(const void *module);

// A helper whose constructor registers the program's resources; the embedded
// resource file defines one.
struct ProgramResourcesRegistration {
    explicit ProgramResourcesRegistration(std::span<const std::byte> resFile) { RegisterProgramResources(resFile); }
};

}  // namespace zor::resources
