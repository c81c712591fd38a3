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
