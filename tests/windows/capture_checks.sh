#!/bin/sh
# Captures through fmhost.exe, the plug-in and the pad control's DLL under
# wine64 (in the prefix run_suite.sh prepares), played from one pad script
# that serves several captures in turn, against the Linux build running the
# same script: the output, the plug-in's whole log and the pad's screens the
# same bytes, and every captured signature rendered to the same image on
# both systems, whichever system renders it.
#   capture_checks.sh FOLDER LINUX_FMHOST LINUX_PLUGIN SOURCE_DIR
set -eu
. "$(dirname "$0")/check_helpers.sh"
folder=$(cd "$1" && pwd)
linux_fmhost=$(absolute "$2")
linux_plugin=$(absolute "$3")
examples=$(cd "$4" && pwd)/examples
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-captures.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/wine"

# The example's "Ada" and OK key; the OK key with no ink (the prompt), then
# ink and OK; a cross, the RESET key, ink and the dialog's OK button; ink,
# Clear, ink and the Enter key; ink and Cancel; Escape; and a capture that
# finds no input left.
{
  cat "$examples/capture.pad"
  printf '%s\n' 'touch OK' 'wait 800ms' 'stroke 40,40 60,50 80,40' 'touch OK'
  cat "$examples/capture-reset.pad"
  printf '%s\n' 'stroke 30,30 200,50' 'click Clear' 'stroke 30,50 200,30 every 12ms' 'key Enter'
  printf '%s\n' 'stroke 100,30 100,55' 'click Cancel' 'key Escape'
} >"$work/all.pad"
for n in 1 2 3 4 5 6 7; do
  # shellcheck disable=SC2016
  printf '$s%s = ZERA_CaptureSignature( "Order %s" )\n$s%s\nExport( ZERA_RenderSigFromString( $s%s ; "Order %s" ) ; "r%s.gif" )\n' \
    "$n" "$n" "$n" "$n" "$n" "$n"
done >"$work/captures.fmcalc"

# The plug-in logs to C:\PenviraLog.txt: the prefix's drive_c under wine,
# WIN_DRIVE_C on Linux.
(cd "$work/linux" && WIN_DRIVE_C="$work/linux" "$linux_fmhost" -q --pad ../all.pad --screens screens \
  "$linux_plugin" ../captures.fmcalc >out 2>err) || true
rm -f "$WINEPREFIX/drive_c/PenviraLog.txt"
(cd "$work/wine" && "$WINE64" "$folder/fmhost.exe" -q --pad ../all.pad --screens screens \
  "$folder/ZERA_VirOrar.fmx64" ../captures.fmcalc >out.crlf 2>err.crlf) || true
tr -d '\r' <"$work/wine/out.crlf" >"$work/wine/out"
tr -d '\r' <"$work/wine/err.crlf" >"$work/wine/err"
cp "$WINEPREFIX/drive_c/PenviraLog.txt" "$work/wine/PenviraLog.txt" 2>/dev/null || echo missing >"$work/wine/PenviraLog.txt"

# Signature strings differ at every capture (a fresh nonce); the rest of the
# output does not.
for side in linux wine; do
  sed 's/^SIG1:.*/SIG1:.../' "$work/$side/out" >"$work/$side/values"
  grep '^SIG1:' "$work/$side/out" >"$work/$side/signatures" || true
done
same "output" "$work/linux/values" "$work/wine/values"
same "notes and message boxes" "$work/linux/err" "$work/wine/err"
same "the plug-in's log" "$work/linux/PenviraLog.txt" "$work/wine/PenviraLog.txt"
if diff -r "$work/linux/screens" "$work/wine/screens" >/dev/null && [ -f "$work/wine/screens/screen-001.png" ]; then
  echo "ok the pad's screens"
else
  fail "the pad's screens differ"
fi
signed=$(wc -l <"$work/wine/signatures")
if [ "$signed" -eq 4 ]; then echo "ok four signatures"; else fail "$signed signatures, not 4"; fi

# Each side renders the other's signatures (captures 1 to 4) to the images
# it made itself.
render() {  # SIDE N RENDERER...
  side=$1 n=$2
  shift 2
  sig=$(sed -n "${n}p" "$work/$side/signatures")
  "$@" -e "Export( ZERA_RenderSigFromString( \"$sig\" ; \"Order $n\" ) ; \"$work/$side-cross-$n.gif\" )" \
    >/dev/null 2>&1 || true
}
for n in 1 2 3 4; do
  render wine "$n" "$linux_fmhost" -q "$linux_plugin"
  same "wine's signature $n on Linux" "$work/wine/r$n.gif" "$work/wine-cross-$n.gif"
  render linux "$n" "$WINE64" "$folder/fmhost.exe" -q "$folder/ZERA_VirOrar.fmx64"
  same "Linux's signature $n under wine" "$work/linux/r$n.gif" "$work/linux-cross-$n.gif"
done

# The bundled example as the README gives it; then with the control
# installed by regsvr32 and none registered by fmhost.
example() {  # NAME OPTIONS...
  name=$1
  shift
  # Through a file: a pipe may be held open by a wine service.
  (cd "$work" && "$WINE64" "$folder/fmhost.exe" -q "$folder/ZERA_VirOrar.fmx64" --pad "$examples/capture.pad" \
    "$@" -e 'ZERA_CaptureSignature( "Order 1042" )' >"$work/example.out" 2>&1) || true
  example=$(tr -d '\r' <"$work/example.out")
  case $example in
    SIG1:*) echo "ok $name" ;;
    *) fail "$name: $example" ;;
  esac
}
example "the bundled example captures"
"$WINE64" regsvr32 /s "$folder/sigplus.dll"
example "the installed control captures" --no-control
"$WINE64" regsvr32 /s /u "$folder/sigplus.dll"

all_passed
