#!/usr/bin/env bash
# Builds the fuzz targets with clang and runs them.
#   scripts/fuzz.sh [SECONDS [NAME...]]       each target (or only those named)
#       for SECONDS (default 30)
#   scripts/fuzz.sh --long MINUTES [NAME...]  a long campaign: each target (or
#       only those named, e.g. parser) for MINUTES; what the corpus gained is
#       then minimised (-merge=1) and kept in tests/fuzz/corpus/<name>/, to be
#       committed
# Every run starts from the kept corpus of its target. The statistics of
# each run are printed, and saved in build-fuzz/logs/.
set -euo pipefail
cd "$(dirname "$0")/.."

long=false
if [ "${1:-}" = "--long" ]; then
  long=true
  minutes="${2:?usage: scripts/fuzz.sh --long MINUTES [NAME...]}"
  shift 2
  seconds=$(( minutes * 60 ))
  wanted=("$@")
else
  seconds="${1:-30}"
  wanted=("${@:2}")
fi
# libFuzzer takes a time of 0 as no limit at all.
case "$seconds" in ''|*[!0-9]*|0) echo "fuzz: not a length of time: $seconds seconds" >&2; exit 2 ;; esac

bash scripts/setup.sh
dir=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZERA_FUZZ=ON -DZERA_BENCH=OFF -DZERA_WINDOWS_PROGRAMS=OFF
targets=$(cmake --build "$dir" --target help | sed -n 's/^\([a-z_]*_fuzz\):.*/\1/p' | tr '\n' ' ')
if [ -z "$targets" ]; then
  echo "fuzz: no targets" >&2
  exit 1
fi
if [ "${#wanted[@]}" -gt 0 ]; then
  chosen=""
  for name in "${wanted[@]}"; do
    echo "$targets" | tr " " "\n" | grep -qx "${name%_fuzz}_fuzz" || { echo "fuzz: no target $name" >&2; exit 2; }
    chosen="$chosen ${name%_fuzz}_fuzz"
  done
  targets=$chosen
fi
cmake --build "$dir" --target $targets

# What each target needs beyond libFuzzer's defaults. Scripts for the
# parser grow long before they reach its deeper paths: room up to 16 KiB,
# reached sooner than the default length control would.
options_for() {
  case "$1" in
    parser_fuzz) echo "-max_len=16384 -len_control=20" ;;
    *) echo "" ;;
  esac
}

# The corpus kept in the repository, and the first seed of the resource
# reader: the plug-in's own compiled resources.
kept_corpus() { echo "tests/fuzz/corpus/${1%_fuzz}"; }
res=
if [[ " $targets " == *" res_file_fuzz "* ]]; then
  res=$(find "$dir" -name 'ZERA_VirOrar.res' | head -n 1)
  if [ -z "$res" ]; then
    # The resource file alone: the instrumented module itself does not link
    # without the sanitizers' runtime, which clang leaves to programs.
    cmake --build "$dir" --target plugin/ZERA_VirOrar.res
    res=$(find "$dir" -name 'ZERA_VirOrar.res' | head -n 1)
  fi
fi

count_files() { find "$1" -maxdepth 1 -type f | wc -l; }
# Copies the files of a folder that the other folder does not have yet.
copy_new() {
  local file
  for file in "$1"/*; do
    if [ -f "$file" ] && [ ! -e "$2/${file##*/}" ]; then cp "$file" "$2/"; fi
  done
}

# One target's run (and, for a long campaign, its merge into the kept corpus).
fuzz_one() {
  local target=$1 kept work log runs status merged before
  kept=$(kept_corpus "$target")
  work="$dir/corpus/$target"
  mkdir -p "$work"
  if [ -d "$kept" ]; then copy_new "$kept" "$work"; fi
  if [ "$target" = res_file_fuzz ]; then cp "$res" "$work"/; fi
  log="$dir/logs/$target.log"
  local -a options
  read -r -a options <<< "$(options_for "$target")"
  echo "fuzz: $target for ${seconds}s ${options[*]}"
  # -print_final_stats gives the executions; the last status line the coverage.
  "$dir/bin/$target" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$dir/artifacts/$target-" \
      "${options[@]}" "$work" > "$log" 2>&1 ||
    { tail -n 40 "$log"; echo "fuzz: $target failed, see $log" >&2; exit 1; }
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  status=$(grep -E '^#[0-9]+[[:space:]]' "$log" | tail -n 1 | grep -oE 'cov: [0-9]+ ft: [0-9]+ corp: [0-9]+/[^ ]+' || true)
  echo "fuzz: $target: $runs executions; $status"

  if $long; then
    # Minimised into a copy of the kept corpus: what is kept stays, and only
    # inputs that reach something new are added.
    merged="$dir/merged/$target"
    rm -rf "$merged"
    mkdir -p "$merged" "$kept"
    copy_new "$kept" "$merged"
    before=$(count_files "$merged")
    "$dir/bin/$target" -merge=1 "${options[@]}" "$merged" "$work" > "$dir/logs/$target.merge.log" 2>&1 ||
      { tail -n 20 "$dir/logs/$target.merge.log"; echo "fuzz: merging $target failed" >&2; exit 1; }
    copy_new "$merged" "$kept"
    echo "fuzz: $target: kept corpus $kept grew from $before to $(count_files "$kept") inputs"
  fi
}

# The targets run side by side, one a core; the first that fails stops the rest.
mkdir -p "$dir/logs" "$dir/artifacts"
cores=$(nproc 2>/dev/null || echo 2)
stop_all() { kill $(jobs -p) 2>/dev/null || true; exit 1; }
for target in $targets; do
  while [ "$(jobs -rp | wc -l)" -ge "$cores" ]; do wait -n || stop_all; done
  fuzz_one "$target" &
done
while [ "$(jobs -rp | wc -l)" -gt 0 ]; do wait -n || stop_all; done
echo "fuzz: no crashes"
