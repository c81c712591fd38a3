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

# utime and stime of the monitor in clock ticks. Other processes may end at
# any moment; only the monitor's own end is a failure.
ticks_of_monitor() {
  local fields
  read -r -a fields < <(sed 's/.*) //' "/proc/$monitor/stat" 2>/dev/null) || true
  [ "${#fields[@]}" -gt 12 ] || { echo "drvwatch ended early" >&2; exit 1; }
  # After the command name, utime and stime are the 12th and 13th fields.
  echo "${fields[11]} ${fields[12]}"
}
count_processes() {
  local n=0 entry
  for entry in /proc/[0-9]*; do [ -d "$entry" ] && n=$((n + 1)); done
  echo "$n"
}

sleep 1
processes=$(count_processes)
ticks=$(ticks_of_monitor)
read -r user_before system_before <<< "$ticks"
start=$(date +%s.%N)
sleep "$seconds"
ticks=$(ticks_of_monitor)
read -r user_after system_after <<< "$ticks"
end=$(date +%s.%N)
wait "$monitor" || true
monitor=

awk -v u="$((user_after - user_before))" -v k="$((system_after - system_before))" -v hz="$(getconf CLK_TCK)" \
    -v s="$start" -v e="$end" -v n="$processes" 'BEGIN {
  wall = e - s; cpu = (u + k) / hz;
  printf "drvwatch waiting among %d processes for %.1f s:\n", n, wall
  printf "  user %.3f s, system %.3f s, total %.3f s of CPU = %.3f%% of one core\n", u / hz, k / hz, cpu, 100 * cpu / wall
}'
