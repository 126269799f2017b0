#!/usr/bin/env bash
# Made the development code-signing chain in this folder, once: a test root
# CA and a code-signing certificate issued by it (RSA 2048, valid for 30
# years). Only test builds are signed with it; the root is trusted only in the
# test Wine prefix. Kept for the record; rerunning replaces the files.
set -euo pipefail
cd "$(dirname "$0")"

days=10950
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cat >"$work/root.cnf" <<'CNF'
[req]
distinguished_name = dn
prompt = no
x509_extensions = v3_root
[dn]
CN = Tolvar Lite Test Root CA
O = Tolvar Lite Development
[v3_root]
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
CNF

cat >"$work/signing.cnf" <<'CNF'
[req]
distinguished_name = dn
prompt = no
[dn]
CN = Tolvar Lite Test Code Signing
O = Tolvar Lite Development
[v3_signing]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF

openssl genrsa -out test_root_ca.key 2048
openssl req -new -x509 -key test_root_ca.key -sha256 -days "$days" \
  -config "$work/root.cnf" -set_serial 0x1001 -out test_root_ca.pem

openssl genrsa -out test_signing.key 2048
openssl req -new -key test_signing.key -config "$work/signing.cnf" -out "$work/signing.csr"
openssl x509 -req -in "$work/signing.csr" -CA test_root_ca.pem -CAkey test_root_ca.key \
  -set_serial 0x2001 -sha256 -days "$days" -extfile "$work/signing.cnf" \
  -extensions v3_signing -out test_signing.pem

openssl verify -CAfile test_root_ca.pem -purpose any test_signing.pem
