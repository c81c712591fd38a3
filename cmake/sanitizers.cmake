# The sanitized builds are for finding faults, not for speed: -O1, as the
# sanitizers' guides advise, and line tables only (-g1), which is all a
# report needs to name file and line and far cheaper to compile than full
# debugging information.
if(ZERA_SANITIZE OR ZERA_FUZZ)
  foreach(_lang C CXX)
    set(CMAKE_${_lang}_FLAGS_RELWITHDEBINFO "-O1 -g1 -DNDEBUG")
  endforeach()
endif()
if(ZERA_SANITIZE)
  set(_san -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${_san})
  add_link_options(${_san})
endif()
# The fuzz build: every library instrumented for libFuzzer's coverage, under
# the same sanitizers; the fuzz targets add libFuzzer's main when they link.
if(ZERA_FUZZ)
  set(_fuzz -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_compile_options(${_fuzz})
  add_link_options(-fsanitize=address,undefined)
endif()
