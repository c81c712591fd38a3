#!/usr/bin/env bash
# How much CPU drvwatch takes while it waits for the installer on a machine
# with a few hundred processes: its poll opens every process of its snapshot
# twice a second. Not a test; it prints the figures of one run.
#   bench/drvwatch_cpu.sh [build dir] [extra processes] [seconds]
# The build folder may be relative to the repository or absolute.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

build="${1:-build}"
extra="${2:-300}"
seconds="${3:-30}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
drvwatch="$build/bin/drvwatch"
installer="$build/bin/fake_installer"
[ -x "$drvwatch" ] && [ -x "$installer" ] || { echo "build $build first" >&2; exit 2; }

work="$(mktemp -d)"
sleepers=()
monitor=
cleanup() {
  for pid in "${sleepers[@]}" $monitor; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

for _ in $(seq "$extra"); do
  sleep $(( seconds + 60 )) &
  sleepers+=("$!")
done

cp "$installer" "$work/DPInstx86.exe"
echo "run_ms $(( (seconds + 3) * 1000 ))" > "$work/DPInstx86.cfg"
(cd "$work" && exec "$drvwatch" > /dev/null < /dev/null) &
monitor=$!

# The monitor's CPU time: in nanoseconds from schedstat (clock ticks of
# 10 ms are too coarse for a few hundred milliseconds), then utime and
# stime in ticks. Other processes may end at any moment; only the
# monitor's own end is a failure.
times_of_monitor() {
  local fields schedstat
  read -r -a fields < <(sed 's/.*) //' "/proc/$monitor/stat" 2>/dev/null) || true
  read -r schedstat _ 2>/dev/null < "/proc/$monitor/schedstat" || true
  [ "${#fields[@]}" -gt 12 ] && [ -n "${schedstat:-}" ] || { echo "drvwatch ended early" >&2; exit 1; }
  # After the command name, utime and stime are the 12th and 13th fields.
  echo "$schedstat ${fields[11]} ${fields[12]}"
}
count_processes() {
  local n=0 entry
  for entry in /proc/[0-9]*; do [ -d "$entry" ] && n=$((n + 1)); done
  echo "$n"
}

sleep 1
processes=$(count_processes)
times=$(times_of_monitor)
read -r cpu_before user_before system_before <<< "$times"
start=$(date +%s.%N)
sleep "$seconds"
times=$(times_of_monitor)
read -r cpu_after user_after system_after <<< "$times"
end=$(date +%s.%N)
wait "$monitor" || true
monitor=

awk -v ns="$((cpu_after - cpu_before))" -v u="$((user_after - user_before))" -v k="$((system_after - system_before))" \
    -v hz="$(getconf CLK_TCK)" -v s="$start" -v e="$end" -v n="$processes" 'BEGIN {
  wall = e - s; cpu = ns / 1e9;
  printf "drvwatch waiting among %d processes for %.1f s:\n", n, wall
  printf "  %.4f s of CPU = %.3f%% of one core (user %.2f s, system %.2f s in clock ticks)\n", cpu, 100 * cpu / wall, u / hz, k / hz
}'
