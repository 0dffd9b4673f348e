# Compiler warnings for our own targets; third-party headers are included as system headers.
# clang has no -Wshadow=local (its -Wshadow covers members and globals as well).
function(vantrel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wnon-virtual-dtor -Wcast-align
    -Woverloaded-virtual -Wimplicit-fallthrough -Wconversion -Wsign-conversion -Wold-style-cast
    $<$<CXX_COMPILER_ID:GNU>:-Wshadow=local>)
  if(VANTREL_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
