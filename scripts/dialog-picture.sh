#!/usr/bin/env bash
# Takes the picture of the capture dialog that the README shows: fmhost.exe
# runs the Windows build of the plug-in and of the pad control under wine64,
# on a virtual screen of its own (Xvfb); a pad script signs "Ada", the
# dialog is photographed while it shows the ink, then the script touches OK.
#   scripts/dialog-picture.sh [BUILD [PICTURE]]
# BUILD is the ordinary build folder (build/ by default, after
# scripts/test.sh or cmake --build); PICTURE is docs/capture-dialog.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$(cd "${1:-build}" && pwd)
picture=${2:-docs/capture-dialog.png}
case $picture in /*) ;; *) picture=$root/$picture ;; esac
windows=$build/windows/x86_64
for file in fmhost.exe ZERA_VirOrar.fmx64 sigplus.dll FMWrapper.dll; do
  [ -f "$windows/$file" ] || { echo "dialog-picture: $windows/$file is missing; build first" >&2; exit 1; }
done

work=$(mktemp -d "${TMPDIR:-/tmp}/zera-picture.XXXXXX")
trap 'rm -rf "$work"' EXIT
# The example's signature without its final touch, a pause to take the
# picture in (fmhost.exe plays a script in real time), then OK.
grep -v -i '^touch OK' examples/capture.pad >"$work/sign.pad"
printf 'wait 6s\ntouch OK\n' >>"$work/sign.pad"

cat >"$work/steps.sh" <<'STEPS'
set -eu
windows=$1 work=$2 picture=$3
cd "$windows"
# With no window manager on the screen, wine draws the frame and caption
# itself when it does not leave them to one.
"$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$WINE64" fmhost.exe -q ZERA_VirOrar.fmx64 --pad "$work/sign.pad" \
  -e 'ZERA_CaptureSignature( "Order 1042" )' >"$work/out" 2>"$work/err" &
fmhost=$!
# Wait for the dialog's window, then for the strokes to be played.
tries=0
until xwd -silent -name "Capturing Signature" >/dev/null 2>&1; do
  tries=$((tries + 1))
  [ $tries -lt 300 ] || { echo "dialog-picture: the dialog did not show" >&2; cat "$work/err" >&2; exit 1; }
  sleep 0.1
done
sleep 3
xwd -silent -name "Capturing Signature" | convert xwd:- "$picture"
wait "$fmhost"
STEPS
sh tests/windows/run_suite.sh --xvfb "$work/steps.sh" "$windows" "$work" "$picture"
echo "dialog-picture: $picture"
