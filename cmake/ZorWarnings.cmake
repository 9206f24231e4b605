# Warnings for the project's own targets.
function(zor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion)
  if(WIN32)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
