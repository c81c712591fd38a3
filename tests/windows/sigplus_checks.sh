#!/bin/sh
# sigplus.dll under wine64 (in the prefix run_suite.sh prepares), against
# the Linux build: without registration the control is not installed;
# regsvr32 installs it, and then renders and saves of strings made by the
# Linux sigmake give the Linux bytes, as does a string the DLL made from
# mouse input (sigplus_wine_tests.exe); regsvr32 /u removes it again.
#   sigplus_checks.sh WINDOWS_FOLDER LINUX_BIN_FOLDER
set -eu
. "$(dirname "$0")/check_helpers.sh"
cd "$1"
linux=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-sigplus.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs the calculations of $work/calc (OUT stands for the folder files go
# to) on both systems; each side's values in $work/linux.out, $work/wine.out.
both() {
  sed "s|OUT|$work/linux-|g" "$work/calc" >"$work/calc-linux"
  "$linux/fmhost" -q "$linux/ZERA_VirOrar.fmx" "$work/calc-linux" >"$work/linux.out" 2>&1 || true
  sed "s|OUT|Z:$work/wine-|g" "$work/calc" >"$work/calc-wine"
  # To a file, not a pipe: wine's own services keep a pipe open.
  "$WINE64" fmhost.exe -q --no-control ZERA_VirOrar.fmx64 "Z:$work/calc-wine" >"$work/wine.raw" 2>&1 || true
  tr -d '\r' <"$work/wine.raw" >"$work/wine.out"
}

not_installed() {  # NAME
  printf '%s\n' 'ZERA_RenderSigFromString( "x" ; "y" )' 'ZERA_GetLastError( "code" )' >"$work/calc"
  both
  expect "$1" "$(printf 'UNSIGNED\n-200')" "$(cat "$work/wine.out")"
}

# Both builds import system DLLs only: no runtime or library DLLs of mingw.
for dll in sigplus.dll ../i686/sigplus.dll; do
  [ -f "$dll" ] || continue
  imports=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n 's/^\tDLL Name: //p')
  expect "$dll imports from kernel32" KERNEL32.dll "$(echo "$imports" | grep -i '^kernel32.dll$' || true)"
  expect "$dll imports system DLLs only" "" "$(echo "$imports" | grep -iE '^lib|zlib|pthread' || true)"
done

not_installed "not installed in a fresh prefix"

"$WINE64" regsvr32 /s "Z:$PWD/sigplus.dll" || expect "regsvr32" 0 $?

printf '10,10 50,40 100,20 150,50\n60,5 60,60\n' >"$work/strokes"
printf '120,30\n0,0 239,63 0,63\n' >"$work/strokes2"
plain=$("$linux/sigmake" --bind key "$work/strokes")
unicode=$("$linux/sigmake" --bind "Zoë 東京 №7" "$work/strokes2")
ZERA_SIGNATURE_OUT="Z:$work/mouse.txt" "$WINE64" sigplus_wine_tests.exe >"$work/unit.out" 2>&1 ||
  { cat "$work/unit.out"; expect "the control's OLE tests" passed failed; }
mouse=$(cat "$work/mouse.txt" 2>/dev/null || true)
cat >"$work/calc" <<EOF
Export( ZERA_RenderSigFromString( "$plain" ; "key" ) ; "OUTplain.gif" )
ZERA_SaveSigToFile( "$unicode" ; "Zoë 東京 №7" ; "OUTunicode.gif" )
ZERA_SetImagePenWidth( 3 )
Export( ZERA_RenderSigFromString( "$plain" ; "key" ) ; "OUTthin.gif" )
Export( ZERA_RenderSigFromString( "$mouse" ; "key" ) ; "OUTmouse.gif" )
ZERA_RenderSigFromString( "$plain" ; "other key" )
EOF
both
expect "values on both systems" "$(cat "$work/linux.out")" "$(cat "$work/wine.out")"
expect "a render with other bound data" UNSIGNED "$(tail -n 1 "$work/wine.out")"
for image in plain unicode thin mouse; do
  same_image "$image image" "$work/linux-$image.gif" "$work/wine-$image.gif"
done

"$WINE64" regsvr32 /s /u "Z:$PWD/sigplus.dll" || expect "regsvr32 /u" 0 $?
not_installed "gone after regsvr32 /u"

all_passed
