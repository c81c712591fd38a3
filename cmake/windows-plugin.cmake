# The plug-in for Windows, built with the ordinary build as separate
# projects (windows/CMakeLists.txt) with the mingw-w64 toolchains: the files
# land in <build>/windows/<arch>/ beside drvwatch.exe. The i686 module is the
# one that is shipped; the x86_64 build is what the wine tests run.
set(ZERA_WINDOWS_PLUGIN_ARCHES)
if(ZERA_WINDOWS_PROGRAMS AND ZERA_MINGW_I686 AND ZERA_MINGW_X86_64)
  include(ExternalProject)
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
  foreach(arch i686 x86_64)
    set(_out ${CMAKE_BINARY_DIR}/windows/${arch})
    # Both make the wine programs too, which need the posix thread model.
    set(_toolchain toolchain-mingw-${arch}-posix.cmake)
    ExternalProject_Add(zera_windows_${arch}
      SOURCE_DIR ${PROJECT_SOURCE_DIR}/windows
      BINARY_DIR ${CMAKE_BINARY_DIR}/windows-plugin/${arch}
      CMAKE_GENERATOR Ninja
      CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${PROJECT_SOURCE_DIR}/cmake/${_toolchain}
        -DCMAKE_BUILD_TYPE=Release
        -DZERA_WINDOWS_OUTPUT=${_out}
        -DZERA_MINGW_DEPS=${ZERA_MINGW_DEPS}/${arch}
      BUILD_ALWAYS ON
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS ${_out}/ZERA_VirOrar.fmx ${_out}/ZERA_VirOrar.fmx64 ${_out}/ZERA_VirOrar.map)
    # The test programs depend on the module, whose sources this build
    # does not see: it runs the inner build every time.
    list(APPEND ZERA_WINDOWS_PLUGIN_ARCHES ${arch})
  endforeach()
endif()
