# The pad control for Windows: sigplus.dll, an in-process COM server, from
# the same sources as libsigplus.so; the Windows-only pieces are in
# src/win32/. Included by windows/CMakeLists.txt, which gives ZERA_ROOT and
# ZERA_STATIC_RUNTIME. Its libraries are static builds for mingw:
# libsodium and libpng under ZERA_MINGW_DEPS (include/, lib/), zlib from
# the system's mingw folder.
if(NOT ZERA_MINGW_DEPS)
  message(STATUS "sigplus.dll left out: no ZERA_MINGW_DEPS")
  return()
endif()
find_library(ZERA_MINGW_SODIUM NAMES libsodium.a PATHS ${ZERA_MINGW_DEPS}/lib
  NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_library(ZERA_MINGW_PNG NAMES libpng16.a PATHS ${ZERA_MINGW_DEPS}/lib NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_library(ZERA_MINGW_ZLIB NAMES libz.a REQUIRED)

set(SIGPLUS_SRC ${ZERA_ROOT}/platform/sigplus/src)
add_library(sigplus MODULE
  ${SIGPLUS_SRC}/canvas.cpp
  ${SIGPLUS_SRC}/gif_encoder.cpp
  ${SIGPLUS_SRC}/ink.cpp
  ${SIGPLUS_SRC}/render.cpp
  ${SIGPLUS_SRC}/saved_state.cpp
  ${SIGPLUS_SRC}/signature_codec.cpp
  ${SIGPLUS_SRC}/control_events.cpp
  ${SIGPLUS_SRC}/control_members.cpp
  ${SIGPLUS_SRC}/control_object.cpp
  ${SIGPLUS_SRC}/control_persistence.cpp
  ${SIGPLUS_SRC}/dispatch.cpp
  ${SIGPLUS_SRC}/event_point.cpp
  ${SIGPLUS_SRC}/ink_view.cpp
  ${SIGPLUS_SRC}/journal.cpp
  ${SIGPLUS_SRC}/members.cpp
  ${SIGPLUS_SRC}/module.cpp
  ${SIGPLUS_SRC}/pad.cpp
  ${SIGPLUS_SRC}/pad_screen.cpp
  ${SIGPLUS_SRC}/pen_record.cpp
  ${SIGPLUS_SRC}/screen_pictures.cpp
  ${SIGPLUS_SRC}/win32/control_ole.cpp
  ${SIGPLUS_SRC}/win32/control_window.cpp
  ${SIGPLUS_SRC}/win32/server.cpp
  ${SIGPLUS_SRC}/win32/sigplus.def)
target_include_directories(sigplus PRIVATE ${ZERA_ROOT}/platform/sigplus/include ${SIGPLUS_SRC}
  ${ZERA_MINGW_DEPS}/include)
target_compile_definitions(sigplus PRIVATE SODIUM_STATIC)
# Renders are compared byte for byte with the other builds: the 32-bit
# build does its floating point in SSE2 as the 64-bit ones do, not in the
# x87's wider registers, and keeps its stack aligned for the SSE2 code
# whoever calls it.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  target_compile_options(sigplus PRIVATE -msse2 -mfpmath=sse -mstackrealign)
endif()
set_target_properties(sigplus PROPERTIES PREFIX "" SUFFIX ".dll")
target_link_libraries(sigplus PRIVATE platform_common ${ZERA_MINGW_PNG} ${ZERA_MINGW_SODIUM} ${ZERA_MINGW_ZLIB}
  ole32 oleaut32 uuid shlwapi user32 gdi32 advapi32)
target_link_options(sigplus PRIVATE ${ZERA_STATIC_RUNTIME} -s -Wl,--exclude-libs,ALL -Wl,--no-undefined
  -Wl,--enable-stdcall-fixup)
