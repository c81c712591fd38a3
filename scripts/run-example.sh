#!/usr/bin/env bash
# Sets up the machine, builds the plug-in and the host program, and runs the
# bundled example script in the host program.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target fmhost ZERA_VirOrar
mkdir -p out
cd out
../build/bin/fmhost ../build/bin/ZERA_VirOrar.fmx ../examples/example.fmcalc
