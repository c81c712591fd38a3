#!/bin/bash
# Signs Windows modules and DLLs in place with Authenticode (osslsigncode).
#
#   ZERA_SIGN_PKCS12=cert.p12 ZERA_SIGN_PASSWORD=... scripts/sign-windows.sh FILE...
#
# ZERA_SIGN_PKCS12         the builder's code-signing certificate and key (.p12/.pfx);
#                          when unset or empty the files are left as they are
# ZERA_SIGN_PASSWORD       its password (may be empty)
# ZERA_SIGN_TIMESTAMP_URL  a timestamp server; none is used unless it is given
#
# A file that is already signed gets the new signature in place of the old one.
set -euo pipefail

prog=sign-windows

if [ -z "${ZERA_SIGN_PKCS12:-}" ]; then
  echo "$prog: no certificate (ZERA_SIGN_PKCS12 unset); files left unsigned" >&2
  exit 0
fi

die() { echo "$prog: $*" >&2; exit 1; }

[ $# -gt 0 ] || die "usage: $0 FILE..."
command -v osslsigncode >/dev/null || die "osslsigncode not found (scripts/setup.sh installs it)"
[ -f "$ZERA_SIGN_PKCS12" ] && [ -r "$ZERA_SIGN_PKCS12" ] \
  || die "certificate not readable: $ZERA_SIGN_PKCS12"
for f in "$@"; do
  [ -f "$f" ] || die "no such file: $f"
done

work=$(mktemp -d)
pending=""
cleanup() {
  rm -rf "$work"
  if [ -n "$pending" ]; then rm -f "$pending"; fi
}
trap cleanup EXIT

# The password goes through a file of our own where osslsigncode can read one,
# so that it does not show in the process list. An empty password is given by
# leaving the option out: osslsigncode will not read an empty password file.
password=${ZERA_SIGN_PASSWORD:-}
pass_args=()
if [ -n "$password" ]; then
  help=$(osslsigncode --help 2>&1 || true)
  if grep -q -- '-readpass' <<<"$help"; then
    (umask 077; printf '%s' "$password" >"$work/pass")
    pass_args=(-readpass "$work/pass")
  else
    pass_args=(-pass "$password")
  fi
fi

ts_args=()
if [ -n "${ZERA_SIGN_TIMESTAMP_URL:-}" ]; then
  ts_args=(-t "$ZERA_SIGN_TIMESTAMP_URL")
fi

for f in "$@"; do
  # Start from the file without any signature it has; osslsigncode fails to
  # strip an unsigned file, and then the file is signed as it is.
  input=$f
  rm -f "$work/unsigned"
  if osslsigncode remove-signature -in "$f" -out "$work/unsigned" >"$work/log" 2>&1; then
    input=$work/unsigned
  fi

  # osslsigncode will not overwrite an existing output file.
  out=$f.signed
  rm -f "$out"
  pending=$out
  if ! osslsigncode sign -pkcs12 "$ZERA_SIGN_PKCS12" "${pass_args[@]}" \
      -h sha256 -n "Penvira Sig Capture" "${ts_args[@]}" \
      -in "$input" -out "$out" >"$work/log" 2>&1; then
    cat "$work/log" >&2
    die "signing failed: $f"
  fi
  chmod --reference="$f" "$out"
  mv -f "$out" "$f"
  pending=""
  echo "$prog: signed $f"
done
