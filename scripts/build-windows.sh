#!/usr/bin/env bash
# Builds the Windows programs of drvwatch with the mingw-w64 cross compilers,
# apart from the rest of the tree (the ordinary build makes them too, in
# build/windows/):
#   build-windows/i686/drvwatch.exe     the 32-bit program that is shipped
#   build-windows/x86_64/drvwatch.exe   the 64-bit build the wine tests run
# Each folder also holds fake_installer.exe, the tests' stand-in installer.
set -euo pipefail
cd "$(dirname "$0")/.."

for arch in i686 x86_64; do
  cmake -S drvwatch/windows -B "build-windows/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/toolchain-mingw-$arch.cmake"
  cmake --build "build-windows/$arch"
done
echo "build-windows: $(ls build-windows/*/drvwatch.exe | tr '\n' ' ')"
