#!/usr/bin/env bash
# How much CPU drvwatch takes while it waits for the installer on a machine
# with a few hundred processes: its poll opens every process of its snapshot
# twice a second. Not a test; it prints one figure.
#   bench/drvwatch_cpu.sh [build dir] [extra processes] [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."

build="${1:-build}"
extra="${2:-300}"
seconds="${3:-10}"
drvwatch="$build/bin/drvwatch"
installer="$build/bin/fake_installer"
[ -x "$drvwatch" ] && [ -x "$installer" ] || { echo "build $build first" >&2; exit 2; }

work="$(mktemp -d)"
sleepers=()
cleanup() {
  for pid in "${sleepers[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq "$extra"); do
  sleep 600 &
  sleepers+=("$!")
done

cp "$installer" "$work/DPInstx86.exe"
echo "run_ms $(( (seconds + 2) * 1000 ))" > "$work/DPInstx86.cfg"
(cd "$work" && exec "$OLDPWD/$drvwatch" > /dev/null < /dev/null) &
monitor=$!

sleep 1
processes=$(ls -d /proc/[0-9]* | wc -l)
read -r -a before < <(sed 's/.*) //' "/proc/$monitor/stat")
start=$(date +%s.%N)
sleep "$seconds"
read -r -a after < <(sed 's/.*) //' "/proc/$monitor/stat")
end=$(date +%s.%N)
wait "$monitor"

# After the command name, utime and stime are the 12th and 13th fields.
ticks=$(( (after[11] + after[12]) - (before[11] + before[12]) ))
hz=$(getconf CLK_TCK)
awk -v t="$ticks" -v hz="$hz" -v s="$start" -v e="$end" -v n="$processes" 'BEGIN {
  cpu = t / hz; wall = e - s;
  printf "drvwatch waiting, %d processes: %.3f s of CPU in %.1f s = %.2f%% of one core\n", n, cpu, wall, 100 * cpu / wall
}'
