# Cross-compiles for x86_64 Windows with the posix thread model of Debian's
# mingw-w64 toolchain: GoogleTest needs std::mutex, which the win32 model
# lacks. The plug-in built with it is the one the wine tests run.
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-x86_64.cmake)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
