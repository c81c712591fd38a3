#!/usr/bin/env bash
# Builds only the Windows files, with the mingw-w64 cross compilers: the
# tree configured once per width with cmake/toolchain-mingw-<arch>.cmake,
# as the ordinary build does into build/windows/:
#   build-windows/x86_64/ZERA_VirOrar.fmx64  the plug-in for 64-bit FileMaker Pro
#   build-windows/i686/ZERA_VirOrar.fmx      the plug-in for 32-bit FileMaker Pro
#   build-windows/i686/drvwatch.exe          the 32-bit program that is shipped
# Each folder also holds sigplus.dll, the pad control, and what the wine
# tests run: fake_installer.exe (the tests' stand-in installer),
# FMWrapper.dll, fmhost.exe, table_host.exe and the test programs.
set -euo pipefail
cd "$(dirname "$0")/.."

# The pad control's libraries, cross-built once and cached.
deps=$(bash scripts/mingw-deps.sh)

for arch in i686 x86_64; do
  out="$PWD/build-windows/$arch"
  cmake -S . -B "build-windows/build-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw-$arch.cmake" -DZERA_WERROR=ON \
    -DZERA_OUTPUT_DIR="$out" -DZERA_MINGW_DEPS="$deps/$arch"
  cmake --build "build-windows/build-$arch"
  # drvwatch for systems as old as Windows 2000: the win32 thread model.
  cmake -S . -B "build-windows/build-drvwatch-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw-$arch-win32-threads.cmake" -DZERA_WERROR=ON \
    -DZERA_OUTPUT_DIR="$out" -DZERA_WINDOWS_PART=drvwatch
  cmake --build "build-windows/build-drvwatch-$arch"
done
echo "build-windows: $(ls build-windows/*/drvwatch.exe build-windows/*/ZERA_VirOrar.fmx* | tr '\n' ' ')"
