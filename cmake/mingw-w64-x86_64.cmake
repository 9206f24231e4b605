# Cross build for 64-bit Windows with MinGW-w64 (the POSIX-threads compilers).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOR_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOR_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOR_MINGW_PREFIX}-windres)
set(CMAKE_AR ${ZOR_MINGW_PREFIX}-ar CACHE FILEPATH "Archiver")
set(CMAKE_RANLIB ${ZOR_MINGW_PREFIX}-ranlib CACHE FILEPATH "Archive indexer")
set(CMAKE_OBJDUMP ${ZOR_MINGW_PREFIX}-objdump CACHE FILEPATH "Object dumper")

# Headers and libraries come from the MinGW-w64 sysroot only; programs run
# during the build are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${ZOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The size build ships without symbols (the static start-up code carries
# debug sections that would otherwise make up most of the file).
set(CMAKE_EXE_LINKER_FLAGS_MINSIZEREL_INIT "-s")
