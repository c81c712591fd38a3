#!/usr/bin/env bash
# Sets up the machine, builds the plug-in and the host program, and runs the
# bundled example in the host program: a capture from the bundled pad
# script, then rendering and saving. Everything it writes goes to out/: the
# pictures sig.gif, signature.gif and stored.gif, the pad's screens in
# out/screens/, and the diagnostic log in out/drive_c/PenviraLog.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build --target fmhost ZERA_VirOrar sigplus
mkdir -p out/drive_c
cd out
rm -f screens/screen-*.png
export WIN_DRIVE_C="$PWD/drive_c"
../build/bin/fmhost --pad ../examples/capture.pad --screens screens \
  ../build/bin/ZERA_VirOrar.fmx ../examples/example.fmcalc
