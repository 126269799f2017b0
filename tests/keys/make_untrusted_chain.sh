#!/usr/bin/env bash
# Made a second code-signing chain, once, whose root is trusted nowhere: for
# tests of signatures that verify but do not chain to a trusted root. The
# signing serial 0x8001 has its top bit set, so its DER form carries a
# leading zero byte. The root's key is thrown away. Rerunning replaces the files.
set -euo pipefail
cd "$(dirname "$0")"

days=10950
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/chain.cnf" <<'CNF'
[req]
distinguished_name = dn
prompt = no
[dn]
CN = Tolvar Lite Untrusted Test
O = Tolvar Lite Development
[v3_root]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[v3_signing]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF

openssl genrsa -out "$work/root.key" 2048
openssl req -new -x509 -key "$work/root.key" -sha256 -days "$days" -config "$work/chain.cnf" \
  -extensions v3_root -subj "/CN=Tolvar Lite Untrusted Root/O=Tolvar Lite Development" \
  -set_serial 0x3001 -out untrusted_root_ca.pem

openssl genrsa -out untrusted_signing.key 2048
openssl req -new -key untrusted_signing.key -config "$work/chain.cnf" -out "$work/signing.csr"
openssl x509 -req -in "$work/signing.csr" -CA untrusted_root_ca.pem -CAkey "$work/root.key" \
  -set_serial 0x8001 -sha256 -days "$days" -extfile "$work/chain.cnf" \
  -extensions v3_signing -out untrusted_signing.pem

openssl verify -CAfile untrusted_root_ca.pem -purpose any untrusted_signing.pem
