#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs each for a short while.
#   scripts/fuzz.sh [SECONDS]      default 30 seconds per target
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
seconds="${1:-30}"
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZERA_FUZZ=ON -DZERA_BENCH=OFF
targets=$(cmake --build "$dir" --target help | sed -n 's/^\([a-z_]*_fuzz\):.*/\1/p')
if [ -z "$targets" ]; then
  echo "fuzz: no targets" >&2
  exit 1
fi
cmake --build "$dir" --target $targets

# The resource reader starts from the plug-in's own compiled resources.
mkdir -p "$dir/corpus/res_file_fuzz"
res=$(find "$dir" -name 'ZERA_VirOrar.res' | head -n 1)
if [ -z "$res" ]; then
  cmake --build "$dir" --target ZERA_VirOrar
  res=$(find "$dir" -name 'ZERA_VirOrar.res' | head -n 1)
fi
cp "$res" "$dir/corpus/res_file_fuzz/"

for target in $targets; do
  corpus="$dir/corpus/$target"
  mkdir -p "$corpus"
  seeds="tests/fuzz/corpus/${target%_fuzz}"
  [ -d "$seeds" ] && cp -n "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "fuzz: $target for ${seconds}s"
  "$dir/bin/$target" -max_total_time="$seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
done
echo "fuzz: no crashes"
