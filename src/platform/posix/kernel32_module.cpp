// KERNEL32 on POSIX: the module handle of the program.

#include "../win32.h"

#include <cerrno>
#include <string>
#include <strings.h>

namespace {

// Stands for the program; only its address matters.
char programModule;

// The program's file name, without its folder.
std::string ProgramName()
{
    std::string name = program_invocation_short_name;
    return name;
}

bool NamesProgram(const char *moduleName)
{
    std::string name = moduleName;
    std::size_t separator = name.find_last_of("\\/");
    if (separator != std::string::npos)
        name.erase(0, separator + 1);
    std::string program = ProgramName();
    if (strcasecmp(name.c_str(), program.c_str()) == 0)
        return true;
    std::string withExtension = program + ".exe";
    return strcasecmp(name.c_str(), withExtension.c_str()) == 0;
}

} // namespace

extern "C" HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName)
{
    if (lpModuleName == nullptr || NamesProgram(lpModuleName))
        return reinterpret_cast<HMODULE>(&programModule);
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}
