#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the
# cross builds need. Safe to run again: packages already present are skipped.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  # resources: windres compiles the resource script into a .res file
  binutils-mingw-w64-i686
  # tests and benchmarks (libcgif: the GIF encoders compared)
  googletest libgtest-dev libgmock-dev libbenchmark-dev python3 libcgif-dev
  # signature strings and images
  libsodium-dev zlib1g-dev libgif-dev libpng-dev
  # image checks and the comparison benchmark
  imagemagick python3-pil
  # Windows builds of the console program, and wine to run the 64-bit one
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine64
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

echo "setup: installing ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
