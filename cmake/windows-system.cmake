# What every Windows file of the tree shares, with one of the mingw-w64
# toolchain files in cmake/.

# Self-contained files: the compiler's runtime is linked in, no mingw DLLs.
add_link_options(-static -static-libgcc -static-libstdc++)

# Shipped code at -O2, as the Linux build has it; -O3's unrolling and
# vectorising find nothing to speed in code that waits on COM and the host,
# and cost a third more build time.
string(REPLACE "-O3" "-O2" CMAKE_C_FLAGS_RELEASE "${CMAKE_C_FLAGS_RELEASE}")
string(REPLACE "-O3" "-O2" CMAKE_CXX_FLAGS_RELEASE "${CMAKE_CXX_FLAGS_RELEASE}")

# The pad control's libraries for mingw, cross-built from Debian's source
# packages (scripts/mingw-deps.sh): include/ and lib/ with libsodium and
# libpng, static. zlib is Debian's libz-mingw-w64-dev. Without them the
# pad control is left out.
set(ZERA_MINGW_DEPS "" CACHE PATH "Prefix of the cross-built libsodium and libpng")

# FileMaker's names: .fmx for a 32-bit module, .fmx64 for a 64-bit one.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(ZERA_MODULE_SUFFIX .fmx64)
else()
  set(ZERA_MODULE_SUFFIX .fmx)
endif()

# GoogleTest from Debian's source package for the Windows test programs,
# built before the project's warning flags reach it: 64-bit only, since the
# plug-in's tests need host failures to pass out of the module as
# exceptions, which the 32-bit module stops at its boundary
# (plugin/host/ModuleBoundary.h).
set(ZERA_WINDOWS_TESTS OFF)
if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(ZERA_WINDOWS_TESTS ON)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  get_directory_property(_project_options COMPILE_OPTIONS)
  # The test framework needs no optimising; optimised, it is the build's
  # longest compile.
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "-O1")
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set_directory_properties(PROPERTIES COMPILE_OPTIONS "${_project_options}")
endif()
