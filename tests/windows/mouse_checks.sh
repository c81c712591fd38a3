#!/bin/sh
# A signature written with the mouse, on a virtual screen (run_suite.sh
# --xvfb): fmhost.exe captures with no pad script, so its dialog waits for
# a person; mouse_signer.exe writes a "V" and a line in the pad's window and
# clicks OK. The signature renders under wine to the bytes the Linux build
# renders, and the image shows the ink.
#   mouse_checks.sh FOLDER LINUX_FMHOST LINUX_PLUGIN
set -eu
. "$(dirname "$0")/check_helpers.sh"
folder=$(cd "$1" && pwd)
linux_fmhost=$(absolute "$2")
linux_plugin=$(absolute "$3")
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-mouse.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$WINE64" "$folder/mouse_signer.exe" >"$work/signer" 2>&1 &
signer=$!
# Into files, not a pipe: a wine service started on the way may hold a
# pipe open after the program has ended.
(cd "$work" && "$WINE64" "$folder/fmhost.exe" -q "$folder/ZERA_VirOrar.fmx64" \
  -e 'ZERA_CaptureSignature( "Order 7" )' >"$work/out.crlf" 2>"$work/err") || true
tr -d '\r' <"$work/out.crlf" >"$work/out"
wait "$signer" || fail "the signer: $(cat "$work/signer")"
sig=$(cat "$work/out")
case $sig in
  SIG1:*) echo "ok a signature from the mouse" ;;
  *) fail "no signature from the mouse: '$sig' $(cat "$work/err")" ;;
esac

render() {  # FILE FMHOST...
  file=$1
  shift
  "$@" -e "Export( ZERA_RenderSigFromString( \"$sig\" ; \"Order 7\" ) ; \"$file\" )" >/dev/null 2>&1 || true
}
render "$work/wine.gif" "$WINE64" "$folder/fmhost.exe" -q "$folder/ZERA_VirOrar.fmx64"
render "$work/linux.gif" "$linux_fmhost" -q "$linux_plugin"
same_image "the same image on both systems" "$work/wine.gif" "$work/linux.gif"

# Lines of ink, not an empty or a filled picture.
# Debian's own Python, which has Pillow (python3-pil).
if /usr/bin/python3 - "$work/wine.gif" <<'PY'; then echo "ok the mouse's ink in the image"; else fail "no ink in the image"; fi
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert("L")
pixels = list(image.getdata())
dark = sum(1 for p in pixels if p < 128)
sys.exit(0 if 100 < dark < len(pixels) // 4 else 1)
PY
all_passed
