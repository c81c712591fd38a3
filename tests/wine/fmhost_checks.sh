#!/bin/sh
# fmhost.exe under wine64 (in the prefix run_suite.sh prepares): the plug-in
# loaded with LoadLibraryW, calculations from -e and from a script file, and
# the options that need the pad control refused plainly.
#   fmhost_checks.sh FOLDER VERSION_TEXT
set -eu
cd "$1"
version=$2
failures=0
work=$(mktemp -d "${TMPDIR:-/tmp}/zera-fmhost.XXXXXX")
trap 'rm -rf "$work"' EXIT

# fmhost.exe ARGUMENTS...: its status in $status, its output in $got with
# Windows line ends made plain, its errors in $work/err.
fmhost() {
  status=0
  "$WINE64" fmhost.exe "$@" >"$work/out" 2>"$work/err" || status=$?
  got=$(tr -d '\r' <"$work/out")
}

expect() {  # NAME WANTED GOT
  if [ "$2" != "$3" ]; then
    printf 'FAILED %s\n--- wanted\n%s\n--- got\n%s\n--- stderr\n' "$1" "$2" "$3"
    cat "$work/err"
    failures=$((failures + 1))
  else
    echo "ok $1"
  fi
}

fmhost -q ZERA_VirOrar.fmx -e 'ZERA_Version( "" )'
expect "version" "$version" "$got"
expect "version status" 0 "$status"

printf '%s\r\n' 'ZERA_SetTabletMode( 11 )' 'ZERA_SetTabletComPort( 3 )' \
  'ZERA_RenderSigFromString( "x" ; "y" )' 'ZERA_GetLastError( "code" )' 'ZERA_GetLastError' >"$work/script.txt"
fmhost -q ZERA_VirOrar.fmx "$work/script.txt"
expect "setters and a render without the control" "$(printf '0\n0\nUNSIGNED\n-200\nLibrary failed to load')" "$got"
expect "script status" 0 "$status"

fmhost ZERA_VirOrar.fmx -e 'ZERA_Version( "short" )'
case $got in
  *"ZERA_Version( \"short\" ) → ${version##* }"*) echo "ok banner and labelled value" ;;
  *) expect "banner and labelled value" "ZERA_Version( \"short\" ) → ${version##* }" "$got" ;;
esac

for refused in "--control x.dll" "--pad x.pad" "--screens shots"; do
  # shellcheck disable=SC2086
  fmhost -q $refused ZERA_VirOrar.fmx -e 1
  expect "$refused refused" 2 "$status"
  grep -q "not available in the Windows build" "$work/err" || expect "$refused says why" "a reason" "$(cat "$work/err")"
done

fmhost -q no-such-plugin.fmx -e 1
expect "missing plug-in status" 2 "$status"
grep -q "cannot load plug-in 'no-such-plugin.fmx'" "$work/err" || expect "missing plug-in message" "a reason" "$(cat "$work/err")"

[ "$failures" -eq 0 ]
