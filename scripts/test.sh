#!/usr/bin/env bash
# Sets up the machine, builds everything and runs the tests.
#   scripts/test.sh            the ordinary build, in build/
#   scripts/test.sh sanitize   address and undefined-behaviour sanitizers, in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

flavour="${1:-plain}"
case "$flavour" in
  plain)    dir=build;          extra=() ;;
  # The Windows files are not sanitized; the plain build builds and tests them.
  sanitize) dir=build-sanitize; extra=(-DZERA_SANITIZE=ON -DZERA_BENCH=OFF -DZERA_WINDOWS_PROGRAMS=OFF) ;;
  *) echo "usage: scripts/test.sh [plain|sanitize]" >&2; exit 2 ;;
esac

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZERA_WERROR=ON "${extra[@]}"
cmake --build "$dir"
export ASAN_OPTIONS="detect_leaks=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# The suites are independent of each other (each wine suite has its own
# prefix and server), so they share the cores; a test that hangs is stopped
# and counted as failed instead of holding the run.
ctest --test-dir "$dir" --output-on-failure --parallel "$(nproc)" --timeout 900
