#!/bin/sh
# fmhost.exe under wine with no display at all (a prefix of its own with
# wine's usual X11 driver, and no DISPLAY): a capture's dialog cannot open,
# so it answers an empty text with -13002, and fmhost says why.
#   no_display_checks.sh FOLDER
set -eu
. "$(dirname "$0")/check_helpers.sh"
cd "$1"
wine=${WINE64:-wine64}
wineserver=$(dirname "$(command -v "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/zera-nodisplay.XXXXXX")
export WINEPREFIX WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-nodisplay-out.XXXXXX")
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX" "$work"' EXIT
check_errors=$work/err

"$wine" fmhost.exe -q ZERA_VirOrar.fmx64 -e 'ZERA_CaptureSignature( "Order 1042" )' -e 'ZERA_GetLastError( "code" )' \
  >"$work/out" 2>"$work/err" || true
expect "an empty capture, then -13002" "$(printf '\n-13002')" "$(tr -d '\r' <"$work/out")"
grep -q "fmhost: no display: dialogs cannot open; run under a desktop or xvfb-run" "$work/err" ||
  fail "the reason on standard error: $(cat "$work/err")"
all_passed
