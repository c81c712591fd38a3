#!/usr/bin/env bash
# Builds the Windows files with the mingw-w64 cross compilers, apart from
# the rest of the tree (the ordinary build makes them too, in build/windows/):
#   build-windows/x86_64/ZERA_VirOrar.fmx64  the plug-in for 64-bit FileMaker Pro
#   build-windows/i686/ZERA_VirOrar.fmx      the plug-in for 32-bit FileMaker Pro
#   build-windows/i686/drvwatch.exe          the 32-bit program that is shipped
# Each folder also holds sigplus.dll, the pad control, and what the wine
# tests run: fake_installer.exe (the tests' stand-in installer),
# FMWrapper.dll, fmhost.exe, table_host.exe and plugin_wine_tests.exe.
set -euo pipefail
cd "$(dirname "$0")/.."

# The pad control's libraries, cross-built once and cached.
deps=$(bash scripts/mingw-deps.sh)

for arch in i686 x86_64; do
  cmake -S drvwatch/windows -B "build-windows/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw-$arch.cmake"
  cmake --build "build-windows/$arch"
  toolchain="toolchain-mingw-$arch-posix.cmake"
  cmake -S windows -B "build-windows/plugin-$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/$toolchain" -DZERA_WINDOWS_OUTPUT="$PWD/build-windows/$arch" \
    -DZERA_MINGW_DEPS="$deps/$arch"
  cmake --build "build-windows/plugin-$arch"
done
echo "build-windows: $(ls build-windows/*/drvwatch.exe build-windows/*/ZERA_VirOrar.fmx* | tr '\n' ' ')"
