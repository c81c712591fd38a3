#!/bin/sh
# Runs one Windows test program under wine64 in a wine prefix of its own:
# made afresh, headless (the null graphics driver, set before the wine
# server that reads it is started again), kept fast by one wine server that
# stays up for the whole run, and removed at the end.
#   run_suite.sh PROGRAM.exe [ARGUMENTS...]
#   run_suite.sh CHECKS.sh [ARGUMENTS...]   (runs programs with $WINE64)
set -eu
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
finish() {
  "$wineserver" -k 2>/dev/null || true
  "$wineserver" -w 2>/dev/null || true
  rm -rf "$WINEPREFIX"
}
trap finish EXIT

"$wine" wineboot --init >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
"$wineserver" -k
"$wineserver" -w
"$wineserver" -p >/dev/null 2>&1
case $program in
  *.sh) WINE64=$wine sh "$program" "$@" ;;
  *) "$wine" "$program" "$@" ;;
esac
