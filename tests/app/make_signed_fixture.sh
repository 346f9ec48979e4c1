#!/bin/sh
# Signs a copy of a program with a throwaway Authenticode certificate and
# writes the certificate's SHA-256 thumbprint beside it:
#   make_signed_fixture.sh IN OUT.exe OUT.sha256
set -eu
in=$1 out=$2 print=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/key.pem" -out "$work/cert.pem" -days 30 \
  -subj "/CN=Kodrin test signer" 2>/dev/null
osslsigncode sign -certs "$work/cert.pem" -key "$work/key.pem" -h sha256 -n "Kodrin test" \
  -in "$in" -out "$out" >/dev/null
openssl x509 -in "$work/cert.pem" -outform DER | sha256sum | cut -d' ' -f1 >"$print"
