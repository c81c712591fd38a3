#!/usr/bin/env bash
# Renders the bundled signature through the plug-in's registered handler and
# with Pillow drawing the same strokes, and prints both figures and their
# ratio. Run after a build: bench/compare_render.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"

plugin_us=$("$build/bin/render_bench" --benchmark_format=json --benchmark_min_time=2 2>/dev/null |
  python3 -c 'import json,sys; b=json.load(sys.stdin)["benchmarks"][0]; print("%.1f" % b["real_time"])')
# Debian's interpreter, which has Debian's Pillow.
pillow_us=$(/usr/bin/python3 bench/pillow_render.py examples/signature.strokes 3000)
python3 - "$plugin_us" "$pillow_us" <<'PY'
import sys
plugin, pillow = map(float, sys.argv[1:])
print(f"plug-in render call: {plugin:.1f} us per image")
print(f"Pillow draw + GIF:   {pillow:.1f} us per image")
print(f"ratio:               {pillow / plugin:.1f} x")
PY
