#!/usr/bin/env bash
# Makes the development set of the ten trust-document keys: the private
# halves here (trust_key_0.pem .. trust_key_9.pem) and their public halves,
# base64 DER SubjectPublicKeyInfo, in cmake/trust_keys.cmake, which the
# build compiles into the installer. Rerunning replaces all ten; anything
# signed with the old set stops verifying.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
out="$here/../../cmake/trust_keys.cmake"

{
  echo "# Public halves of the ten trust-document keys (RSA 1024, base64 DER"
  echo "# SubjectPublicKeyInfo). Development set made by tests/keys/make_trust_keys.sh;"
  echo "# the private halves are tests/keys/trust_key_<N>.pem."
  for n in 0 1 2 3 4 5 6 7 8 9; do
    openssl genrsa -out "$here/trust_key_$n.pem" 1024 2>/dev/null
    spki=$(openssl rsa -in "$here/trust_key_$n.pem" -pubout -outform DER 2>/dev/null | base64 -w0)
    [ ${#spki} -eq 216 ] || { echo "key $n: ${#spki} base64 characters, not 216" >&2; exit 1; }
    echo "set(TL_TRUST_KEY_$n \"$spki\")"
  done
} >"$out"
echo "wrote $out"
