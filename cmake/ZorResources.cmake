# How a program gets its start-up code and its compiled resources on each host.
#
# zor_add_program_entry(target)
#   Windows: a GUI-subsystem program entered through WinMain, with no extra DLLs.
#   Linux:   the host's main(), which calls WinMain.
# zor_add_resources(target rc-file)
#   Windows: the .rc goes through windres and is linked in.
#   Linux:   the .rc is compiled into a .res and embedded in the program, where
#            the host's resource loader finds it for GetModuleHandleA(NULL).
# zor_compile_res(target rc-file out-var)   (Linux)
#   Compiles the .rc into a .res file in the build tree before `target` is
#   built and sets out-var to its path.

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
  function(zor_add_program_entry target)
    target_sources(${target} PRIVATE ${PROJECT_SOURCE_DIR}/src/platform/qt/program_main.cpp)
  endfunction()

  # The resource compiler: llvm-rc, else MinGW-w64's windres in .res mode. Both
  # run the C preprocessor over the script, so #include and #define work. The
  # script is read as UTF-8, the ANSI code page of the Linux host.
  find_program(ZOR_LLVM_RC NAMES llvm-rc llvm-rc-14 DOC "LLVM resource compiler")
  find_program(ZOR_WINDRES NAMES x86_64-w64-mingw32-windres windres DOC "GNU resource compiler")
  set(ZOR_EMBED_RESOURCES_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/ZorEmbedResources.cmake)

  # Adds the rule that compiles `rc` into the .res file `out`. It is rebuilt
  # when the script or a header beside it changes.
  function(_zor_res_rule rc out)
    get_filename_component(rc_abs "${rc}" ABSOLUTE)
    get_filename_component(rc_dir "${rc_abs}" DIRECTORY)
    file(GLOB rc_headers CONFIGURE_DEPENDS "${rc_dir}/*.h")
    if(ZOR_LLVM_RC)
      # llvm-rc takes options with a slash as well as a dash, so an input path
      # such as /ci/... or /data/... would be read as /C or /D: "--" ends the
      # options before the script's path.
      set(compile ${ZOR_LLVM_RC} /C 65001 -I ${rc_dir} -fo ${out} -- ${rc_abs})
    elseif(ZOR_WINDRES)
      set(compile ${ZOR_WINDRES} -c 65001 -I ${rc_dir} -O res -o ${out} ${rc_abs})
    else()
      message(FATAL_ERROR "Compiling ${rc} needs llvm-rc or windres; neither is on the PATH")
    endif()
    get_filename_component(out_dir "${out}" DIRECTORY)
    get_filename_component(out_name "${out}" NAME)
    add_custom_command(
      OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${out_dir}
      COMMAND ${compile}
      DEPENDS ${rc_abs} ${rc_headers}
      COMMENT "Compiling resources ${out_name}"
      VERBATIM)
  endfunction()

  # zor_compile_res(target rc out_var): compiles `rc` into a .res in the build
  # tree before `target` is built, and sets `out_var` to its path (for tests
  # that read compiled resources).
  function(zor_compile_res target rc out_var)
    get_filename_component(rc_name "${rc}" NAME_WE)
    set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_res/${rc_name}.res)
    _zor_res_rule(${rc} ${out})
    add_custom_target(${target}_${rc_name}_res DEPENDS ${out})
    add_dependencies(${target} ${target}_${rc_name}_res)
    set(${out_var} ${out} PARENT_SCOPE)
  endfunction()

  # The .res becomes a generated source of the target: the bytes as an array
  # and a static object that registers them. Being a source of the target
  # itself, not of a library, the registration cannot be dropped by the linker.
  function(zor_add_resources target rc)
    get_filename_component(rc_name "${rc}" NAME_WE)
    set(dir ${CMAKE_CURRENT_BINARY_DIR}/${target}_embedded)
    set(res ${dir}/${rc_name}.res)
    set(cpp ${dir}/${rc_name}_res.cpp)
    _zor_res_rule(${rc} ${res})
    add_custom_command(
      OUTPUT ${cpp}
      COMMAND ${CMAKE_COMMAND} -DRES=${res} -DOUT=${cpp} -P ${ZOR_EMBED_RESOURCES_SCRIPT}
      DEPENDS ${res} ${ZOR_EMBED_RESOURCES_SCRIPT}
      COMMENT "Embedding resources ${rc_name}.res"
      VERBATIM)
    target_sources(${target} PRIVATE ${cpp})
    target_link_libraries(${target} PRIVATE zor_resources)
  endfunction()
endif()
