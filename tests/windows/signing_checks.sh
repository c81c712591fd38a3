#!/bin/bash
# Signs copies of the shipped Windows files with scripts/sign-windows.sh and a
# throwaway self-signed code-signing certificate, and verifies the signatures.
#
#   signing_checks.sh DIR...   (the *.fmx, *.fmx64, *.dll, *.exe directly in each DIR)
set -uo pipefail
unset ZERA_SIGN_TIMESTAMP_URL   # no network here

sign=$(cd "$(dirname "$0")/../../scripts" && pwd)/sign-windows.sh
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

cn="ZERA_VirOrar test signer $$"
password="pw-$$-$RANDOM"
if ! openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=$cn" \
      -addext extendedKeyUsage=codeSigning -keyout "$tmp/key.pem" -out "$tmp/cert.pem" \
      >"$tmp/openssl.log" 2>&1 ||
   ! openssl pkcs12 -export -inkey "$tmp/key.pem" -in "$tmp/cert.pem" \
      -out "$tmp/cert.p12" -passout "pass:$password" >>"$tmp/openssl.log" 2>&1; then
  cat "$tmp/openssl.log"
  echo "FAIL: could not make the test certificate"
  exit 1
fi

passed=0 failed=0
fail() { echo "FAIL: $name: $*"; failed=$((failed + 1)); }
verify() { osslsigncode verify -CAfile "$tmp/cert.pem" -in "$1"; }

files=()
for dir in "$@"; do
  for f in "$dir"/*.fmx "$dir"/*.fmx64 "$dir"/*.dll "$dir"/*.exe; do
    [ -f "$f" ] && files+=("$f")
  done
done
if [ ${#files[@]} -eq 0 ]; then
  echo "FAIL: no .fmx, .fmx64, .dll or .exe file in: $*"
  exit 1
fi

n=0
for f in "${files[@]}"; do
  name=$(basename "$(dirname "$f")")/$(basename "$f")
  n=$((n + 1))
  copy=$tmp/$n-$(basename "$f")
  before=$(sha256sum <"$f")

  # The original (unsigned, or signed by the builder) must not verify against
  # the test certificate, or the check below proves nothing.
  if verify "$f" >/dev/null 2>&1; then fail "the original already verifies"; continue; fi

  # Without a certificate the copy stays as it was.
  cp "$f" "$copy"
  if ! env -u ZERA_SIGN_PKCS12 bash "$sign" "$copy" 2>/dev/null; then
    fail "sign-windows.sh without a certificate failed"; continue
  fi
  if [ "$(sha256sum <"$copy")" != "$before" ]; then
    fail "changed without a certificate"; continue
  fi

  if ! ZERA_SIGN_PKCS12=$tmp/cert.p12 ZERA_SIGN_PASSWORD=$password \
       bash "$sign" "$copy" >"$tmp/sign.log" 2>&1; then
    cat "$tmp/sign.log"; fail "sign-windows.sh failed"; continue
  fi
  if [ "$(sha256sum <"$f")" != "$before" ]; then fail "the original was changed"; continue; fi
  if [ "$(sha256sum <"$copy")" = "$before" ]; then fail "the signed copy is unchanged"; continue; fi
  if ! verify "$copy" >"$tmp/verify.log" 2>&1; then
    cat "$tmp/verify.log"; fail "the signature does not verify"; continue
  fi
  if ! grep -q "Subject: .*CN=$cn" "$tmp/verify.log"; then
    cat "$tmp/verify.log"; fail "the signer is not CN=$cn"; continue
  fi
  if ! grep -q "Text description: Penvira Sig Capture" "$tmp/verify.log"; then
    fail "the description is not 'Penvira Sig Capture'"; continue
  fi
  echo "signed and verified: $name"
  passed=$((passed + 1))
  rm -f "$copy"
done

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
