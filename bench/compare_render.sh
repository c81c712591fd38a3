#!/usr/bin/env bash
# Renders the bundled signature through the plug-in's registered handler and
# with Pillow drawing the same strokes, and compares the CPU time each takes
# per image. The two sides take turns, several rounds, so that a change in
# the machine's load touches both; each round gives a ratio (Pillow's time
# over the plug-in's), and the minimum and median of the rounds are printed.
#   bench/compare_render.sh [BUILD_DIR] [ROUNDS]      (build, 7)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
rounds="${2:-7}"
[ -x "$build/bin/render_bench" ] || { echo "build $build first (target render_bench)" >&2; exit 2; }

results=()
for round in $(seq "$rounds"); do
  plugin_us=$("$build/bin/render_bench" --benchmark_format=json --benchmark_min_time=1 2>/dev/null |
    python3 -c 'import json,sys; b=json.load(sys.stdin)["benchmarks"][0]; print("%.2f" % b["cpu_time"])')
  # Debian's interpreter, which has Debian's Pillow.
  pillow_us=$(/usr/bin/python3 bench/pillow_render.py examples/signature.strokes 2000)
  echo "round $round: plug-in $plugin_us us, Pillow $pillow_us us (CPU per image)"
  results+=("$plugin_us $pillow_us")
done

printf '%s\n' "${results[@]}" | python3 -c '
import statistics, sys
rows = [tuple(map(float, line.split())) for line in sys.stdin if line.strip()]
plugin = [p for p, _ in rows]
pillow = [q for _, q in rows]
ratios = [q / p for p, q in rows]
print(f"plug-in render call: min {min(plugin):.1f} us, median {statistics.median(plugin):.1f} us per image")
print(f"Pillow draw + GIF:   min {min(pillow):.1f} us, median {statistics.median(pillow):.1f} us per image")
print(f"ratio Pillow / plug-in over {len(rows)} rounds: min {min(ratios):.2f} x, median {statistics.median(ratios):.2f} x")
'
