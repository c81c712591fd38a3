# One warning set for every target on both systems. Warnings are errors
# when ZERA_WERROR is on, as the test script and CI build; a target that
# needs an exception names it with its reason (win32_api on Windows, and
# zera_no_false_restrict below).
option(ZERA_WERROR "Treat compiler warnings as errors" OFF)
add_compile_options(
  -Wall -Wextra -Wpedantic
  -Wshadow -Wcast-align
  "$<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor;-Woverloaded-virtual>"
  -Wconversion -Wsign-conversion -Wnull-dereference
  -Wdouble-promotion -Wformat=2 -Wimplicit-fallthrough
)
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  add_compile_options(-Wduplicated-cond -Wlogical-op)
endif()
if(ZERA_WERROR)
  add_compile_options(-Werror)
endif()

# GCC 12 warns of overlapping copies inside inlined std::string
# concatenation at high optimisation, where there are none.
function(zera_no_false_restrict target)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
endfunction()
