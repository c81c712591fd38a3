# Cross-compiles for i686 Windows with the posix thread model of Debian's
# mingw-w64 toolchain, as the x86_64 build does: the pad-script reader and
# GoogleTest need std::mutex, which the win32 model lacks.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-i686.cmake)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
