# The Windows files, built with the ordinary build: this same tree
# configured per width with the mingw-w64 toolchains, as external projects
# (the modules and programs; drvwatch apart, see ZERA_WINDOWS_PART), writing
# to <build>/windows/<arch>/. The i686 files are the
# ones shipped to 32-bit FileMaker Pro; the x86_64 files are shipped to
# 64-bit FileMaker Pro and are what the wine suites run.
#   ZERA_WINDOWS_ARCHES  the widths built (empty without the cross compilers)
#   ZERA_WINDOWS_DIR     <build>/windows
option(ZERA_WINDOWS_PROGRAMS "Cross-build the Windows files with mingw-w64" ON)
set(ZERA_WINDOWS_ARCHES)
set(ZERA_WINDOWS_DIR ${CMAKE_BINARY_DIR}/windows)
if(NOT ZERA_WINDOWS_PROGRAMS)
  return()
endif()
find_program(ZERA_MINGW_I686 i686-w64-mingw32-g++-posix)
find_program(ZERA_MINGW_X86_64 x86_64-w64-mingw32-g++-posix)
if(NOT ZERA_MINGW_I686 OR NOT ZERA_MINGW_X86_64)
  if("$ENV{CI}" STREQUAL "true")
    message(FATAL_ERROR "The mingw-w64 cross compilers are missing; scripts/setup.sh installs them.")
  endif()
  message(WARNING "No mingw-w64 cross compilers: the Windows files and their wine tests are not built.")
  return()
endif()

# The pad control's libraries for mingw, cross-built from Debian's source
# packages and cached outside the build (scripts/mingw-deps.sh): built
# here if the setup script has not made them yet.
execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/mingw-deps.sh
  OUTPUT_VARIABLE ZERA_MINGW_DEPS OUTPUT_STRIP_TRAILING_WHITESPACE
  RESULT_VARIABLE _deps_result)
if(NOT _deps_result EQUAL 0)
  message(FATAL_ERROR "The mingw builds of libsodium and libpng are missing and could not be made; "
                      "run scripts/setup.sh")
endif()

include(ExternalProject)
foreach(arch i686 x86_64)
  set(_out ${ZERA_WINDOWS_DIR}/${arch})
  ExternalProject_Add(zera_windows_${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-build/${arch}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-${arch}.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DZERA_OUTPUT_DIR=${_out}
      -DZERA_MINGW_DEPS=${ZERA_MINGW_DEPS}/${arch}
      -DZERA_WERROR=${ZERA_WERROR}
    # Ninja in the inner build decides what is out of date.
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_out}/ZERA_VirOrar.fmx ${_out}/ZERA_VirOrar.fmx64)
  # drvwatch.exe and the fake installer, with the win32 thread model.
  ExternalProject_Add(zera_windows_drvwatch_${arch}
    SOURCE_DIR ${PROJECT_SOURCE_DIR}
    BINARY_DIR ${CMAKE_BINARY_DIR}/windows-build/drvwatch-${arch}
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
      -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/toolchain-mingw-${arch}-win32-threads.cmake
      -DCMAKE_BUILD_TYPE=Release
      -DZERA_OUTPUT_DIR=${_out}
      -DZERA_WINDOWS_PART=drvwatch
      -DZERA_WERROR=${ZERA_WERROR}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS ${_out}/drvwatch.exe ${_out}/fake_installer.exe)
  add_dependencies(zera_windows_${arch} zera_windows_drvwatch_${arch})
  list(APPEND ZERA_WINDOWS_ARCHES ${arch})
endforeach()
