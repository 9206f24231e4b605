# Writes a C++ source that embeds a compiled resource file and registers it as
# the program's resources.
#   cmake -DRES=<file.res> -DOUT=<file.cpp> -P ZorEmbedResources.cmake
if(NOT RES OR NOT OUT)
  message(FATAL_ERROR "usage: cmake -DRES=<file.res> -DOUT=<file.cpp> -P ZorEmbedResources.cmake")
endif()

file(READ "${RES}" hex HEX)
string(LENGTH "${hex}" hex_length)
if(hex_length EQUAL 0)
  message(FATAL_ERROR "${RES} is empty")
endif()
math(EXPR size "${hex_length} / 2")
# Sixteen bytes to a line.
set(bytes "")
set(offset 0)
while(offset LESS hex_length)
  string(SUBSTRING "${hex}" ${offset} 32 chunk)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," chunk "${chunk}")
  string(APPEND bytes "    ${chunk}\n")
  math(EXPR offset "${offset} + 32")
endwhile()
get_filename_component(res_name "${RES}" NAME)

file(WRITE "${OUT}.tmp" "// Generated from ${res_name} by ZorEmbedResources.cmake; do not edit.
#include \"src/platform/resources/module_resources.h\"

#include <cstddef>
#include <span>

namespace {

alignas(4) const unsigned char kProgramResources[${size}] = {
${bytes}};

const zor::resources::ProgramResourcesRegistration registration{
    std::as_bytes(std::span<const unsigned char>(kProgramResources, sizeof kProgramResources))};

}  // namespace
")
file(RENAME "${OUT}.tmp" "${OUT}")
