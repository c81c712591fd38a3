#!/bin/sh
# fmhost.exe under wine (in the prefix run_suite.sh prepares): the plug-in
# loaded with LoadLibraryW, calculations from -e and from a script file, and
# what it refuses before anything runs: a control DLL missing, damaged or
# without the control's class, a pad script with a fault. The module is the
# 64-bit one unless another is named (the 32-bit .fmx, under a 32-bit wine).
#   fmhost_checks.sh FOLDER VERSION_TEXT [MODULE]
set -eu
. "$(dirname "$0")/check_helpers.sh"
cd "$1"
version=$2
module=${3:-ZERA_VirOrar.fmx64}
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-fmhost.XXXXXX")
trap 'rm -rf "$work"' EXIT
check_errors=$work/err

# fmhost.exe ARGUMENTS...: its status in $status, its output in $got with
# Windows line ends made plain, its errors in $work/err.
fmhost() {
  status=0
  "$WINE64" fmhost.exe "$@" >"$work/out" 2>"$work/err" || status=$?
  got=$(tr -d '\r' <"$work/out")
}


fmhost -q --no-control "$module" -e 'ZERA_Version( "" )'
expect "version" "$version" "$got"
expect "version status" 0 "$status"

printf '%s\r\n' 'ZERA_SetTabletMode( 11 )' 'ZERA_SetTabletComPort( 3 )' \
  'ZERA_RenderSigFromString( "x" ; "y" )' 'ZERA_GetLastError( "code" )' 'ZERA_GetLastError' >"$work/script.txt"
fmhost -q --no-control "$module" "$work/script.txt"
expect "setters and a render without the control" "$(printf '0\n0\nUNSIGNED\n-200\nLibrary failed to load')" "$got"
expect "script status" 0 "$status"

fmhost -q --no-control --preferences "$module" -e 1
expect "preferences that show nothing are noted" "fmhost: the plug-in showed nothing for its preferences" \
  "$(tr -d '\r' <"$work/err")"

fmhost --no-control "$module" -e 'ZERA_Version( "short" )'
case $got in
  *"ZERA_Version( \"short\" ) → ${version##* }"*) echo "ok banner and labelled value" ;;
  *) expect "banner and labelled value" "ZERA_Version( \"short\" ) → ${version##* }" "$got" ;;
esac

# fmhost.exe ARGUMENTS... expected to stop with status 2 and a message
# holding WANTED.  refused NAME WANTED ARGUMENTS...
refused() {
  name=$1 wanted=$2
  shift 2
  fmhost "$@"
  expect "$name status" 2 "$status"
  grep -qF "$wanted" "$work/err" || expect "$name message" "$wanted" "$(cat "$work/err")"
}

fmhost --help
case $got in
  *"the signature pad control to register (default: the
                       sigplus.dll beside fmhost)"*) echo "ok help names the DLL" ;;
  *) expect "help names the DLL" "sigplus.dll" "$got" ;;
esac

refused "missing control" "no control library at" --control absent.dll "$module" -e 1
head -c 2000 FMWrapper.dll >"$work/short.dll"
refused "cut-short control" "is damaged or cut short" --control "$work/short.dll" "$module" -e 1
refused "control without the class" "DllGetClassObject" --control FMWrapper.dll "$module" -e 1
printf 'stroke 1,30 2,30\nsign here\n' >"$work/bad.pad"
refused "bad pad script" "line 2, column 1: unknown command 'sign'" --no-control --pad "$work/bad.pad" \
  "$module" -e 1

fmhost -q --no-control --screens "$work/made/screens" "$module" -e 1
if [ -d "$work/made/screens" ]; then echo "ok screens folder made"; else expect "screens folder made" "a folder" "none"; fi

fmhost -q --no-control no-such-plugin.fmx -e 1
expect "missing plug-in status" 2 "$status"
grep -q "cannot load plug-in 'no-such-plugin.fmx'" "$work/err" || expect "missing plug-in message" "a reason" "$(cat "$work/err")"

all_passed
