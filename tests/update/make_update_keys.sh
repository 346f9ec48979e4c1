#!/bin/sh
# Keys of the program-update end-to-end test, made by the tests' build:
#   make_update_keys.sh OUTDIR
# writes the release key (update.pem, P-256), a throwaway Authenticode
# certificate with its key (codesign.crt, codesign.key) and the header that
# compiles their public halves into the test's programs
# (update_test_settings.h: the key as the uncompressed point in hexadecimal,
# the certificate's SHA-256 thumbprint).
set -eu
out=$1
mkdir -p "$out"
openssl ecparam -name prime256v1 -genkey -noout -out "$out/update.pem" 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$out/codesign.key" -out "$out/codesign.crt" -days 3650 \
  -subj "/CN=Kodrin update test signer" 2>/dev/null
key=$(openssl pkey -in "$out/update.pem" -pubout -outform DER 2>/dev/null | tail -c 65 | od -An -tx1 | tr -d ' \n')
print=$(openssl x509 -in "$out/codesign.crt" -outform DER | sha256sum | cut -d' ' -f1)
printf '#define KODRIN_UPDATE_PUBLIC_KEY "%s"\n#define KODRIN_CODESIGN_THUMBPRINT "%s"\n' "$key" "$print" \
  >"$out/update_test_settings.h"
