# The i686 mingw-w64 toolchain in its win32 thread model, for drvwatch:
# its static runtime calls nothing newer than Windows 2000 has, where the
# posix model's thread library needs Windows Vista (GetTickCount64).
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
