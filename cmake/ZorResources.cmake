# How a program gets its start-up code and its compiled resources on each host.
#
# zor_add_program_entry(target)
#   Windows: a GUI-subsystem program entered through WinMain, with no extra DLLs.
#   Linux:   the host's main(), which calls WinMain.
# zor_add_resources(target rc-file)
#   Windows: the .rc goes through windres and is linked in.
#   Linux:   the .rc is compiled into a .res and embedded in the program, where
#            the host's resource loader finds it for GetModuleHandleA(NULL).

if(WIN32)
  function(zor_add_program_entry target)
    set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    # WinMain lives in a static library, which the linker scans before the
    # start-up code that calls it: ask for it up front so that it is pulled in.
    target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -Wl,--undefined=WinMain)
  endfunction()

  function(zor_add_resources target rc)
    target_sources(${target} PRIVATE ${rc})
  endfunction()
else()
  # TODO(host): filled in with the Qt host.
  function(zor_add_program_entry target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/qt/program_main.cpp)
  endfunction()

  function(zor_add_resources target rc)
  endfunction()
endif()
