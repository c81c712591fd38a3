#!/bin/sh
# Runs one Windows test program under wine64 in a wine prefix of its own:
# made afresh, headless (the null graphics driver, set before the wine
# server that reads it is started again), kept fast by one wine server that
# stays up for the whole run, and removed at the end. With --xvfb the
# windows are real X11 windows on a virtual screen of the run's own (Xvfb),
# for what needs a display: mouse input, pictures of the screen.
#   run_suite.sh [--xvfb] PROGRAM.exe [ARGUMENTS...]
#   run_suite.sh [--xvfb] CHECKS.sh [ARGUMENTS...]   (runs programs with $WINE64)
set -eu
screen=none
if [ "${1:-}" = "--xvfb" ]; then
  screen=xvfb
  shift
fi
program=$1
shift

wine=${WINE64:-}
if [ -z "$wine" ]; then
  for candidate in /usr/lib/wine/wine64 /usr/bin/wine64 /usr/local/bin/wine64; do
    if [ -x "$candidate" ]; then wine=$candidate; break; fi
  done
fi
[ -n "$wine" ] || { echo "wine64 is missing; scripts/setup.sh installs it" >&2; exit 1; }
wineserver=$(dirname "$wine")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zera-wine.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
xvfb_pid=
finish() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap finish EXIT

if [ "$screen" = xvfb ]; then
  command -v Xvfb >/dev/null || { echo "Xvfb is missing; scripts/setup.sh installs it" >&2; exit 1; }
  # Xvfb picks a free display and names it on the descriptor it is given.
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$WINEPREFIX.display" 2>/dev/null &
  xvfb_pid=$!
  tries=0
  while [ ! -s "$WINEPREFIX.display" ] && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
  [ -s "$WINEPREFIX.display" ] || { echo "Xvfb did not start" >&2; exit 1; }
  DISPLAY=:$(cat "$WINEPREFIX.display")
  export DISPLAY
  rm -f "$WINEPREFIX.display"
fi

"$wine" wineboot --init >/dev/null 2>&1
if [ "$screen" = none ]; then
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
fi
"$wineserver" -k
"$wineserver" -w
"$wineserver" -p >/dev/null 2>&1
case $program in
  *.sh) WINE64=$wine sh "$program" "$@" ;;
  *) "$wine" "$program" "$@" ;;
esac
