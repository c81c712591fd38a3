#!/bin/sh
# The files a FileMaker Server for Linux loads, as installed:
# - of shared libraries they need only the host's libFMWrapper.so, the
#   system's C and C++ runtimes and, for the pad control, the system's
#   libsodium, libpng and zlib: none of this project's;
# - their run path leads nowhere into the build folder;
# - they need no newer C or C++ runtime than the oldest system the server
#   runs on, Ubuntu 22.04: glibc 2.35 and the libstdc++ of GCC 12
#   (GLIBCXX_3.4.30, CXXABI_1.3.13).
# Lists what each file needs, and fails on anything else.
#   server_files_checks.sh BUILD-FOLDER FILE...
set -eu
build=$1
shift
allowed="libFMWrapper.so libc.so.6 libm.so.6 libstdc++.so.6 libgcc_s.so.1 ld-linux-x86-64.so.2
libsodium.so.23 libpng16.so.16 libz.so.1"
status=0
for file in "$@"; do
  for needed in $(readelf -d "$file" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    if printf '%s\n' $allowed | grep -qxF "$needed"; then
      echo "$(basename "$file") needs $needed"
    else
      echo "FAIL: $(basename "$file") needs $needed"
      status=1
    fi
  done
  runpath=$(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]/\2/p')
  echo "$(basename "$file") run path: ${runpath:-none}"
  case $runpath in
    *"$build"*) echo "FAIL: $(basename "$file") has a run path into $build"; status=1 ;;
  esac
  versions=$(objdump -T "$file" | grep -oE '\((GLIBC|GLIBCXX|CXXABI)_[0-9.]+\)' | tr -d '()' | sort -u)
  [ -n "$versions" ] || { echo "FAIL: $file: no symbol versions read"; status=1; continue; }
  for family in GLIBC GLIBCXX CXXABI; do
    case $family in
      GLIBC) limit=2.35 ;;
      GLIBCXX) limit=3.4.30 ;;
      CXXABI) limit=1.3.13 ;;
    esac
    newest=$(printf '%s\n' "$versions" | sed -n "s/^${family}_//p" | sort -V | tail -n 1)
    [ -n "$newest" ] || continue
    if [ "$(printf '%s\n%s\n' "$newest" "$limit" | sort -V | tail -n 1)" != "$limit" ]; then
      echo "FAIL: $(basename "$file") needs ${family}_$newest, newer than ${family}_$limit"
      status=1
    else
      echo "$(basename "$file"): ${family}_$newest (at most ${family}_$limit)"
    fi
  done
done
exit $status
