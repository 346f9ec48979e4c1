#!/usr/bin/env bash
# Makes a release of Kodrin, ready to publish in the program's folder on the
# maker's web site:
#   kodrinsetup.exe   the installer, signed with Authenticode (osslsigncode)
#   kodrin.ver        the version file: the version and the installer's SHA-256
#   kodrin.ver.sig    the ECDSA P-256 signature with SHA-256 over kodrin.ver
#
#   scripts/release.sh OUTDIR        (make release RELEASE_DIR=OUTDIR)
#
# The keys never enter the repository; their paths come from the environment:
#   KODRIN_UPDATE_SIGNING_KEY   the P-256 private key (PEM) that signs kodrin.ver
#   KODRIN_CODESIGN_CERT        the Authenticode certificate chain (PEM)
#   KODRIN_CODESIGN_KEY         its private key (PEM)
# The version is the one of kodrin.exe's version resource. KODRIN_BUILD names
# another Windows build folder (default build/windows).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: scripts/release.sh OUTDIR}
build=${KODRIN_BUILD:-$here/build/windows}
: "${KODRIN_UPDATE_SIGNING_KEY:?names the private key that signs kodrin.ver}"
: "${KODRIN_CODESIGN_CERT:?names the Authenticode certificate}"
: "${KODRIN_CODESIGN_KEY:?names the Authenticode key}"
for file in "$KODRIN_UPDATE_SIGNING_KEY" "$KODRIN_CODESIGN_CERT" "$KODRIN_CODESIGN_KEY"; do
  [ -r "$file" ] || { echo "release: cannot read $file" >&2; exit 1; }
done

# A build for tests takes the update folder's address from the environment:
# it is never published.
if grep -q '^KODRIN_TEST_SETTINGS:BOOL=ON' "$build/CMakeCache.txt" 2>/dev/null; then
  echo "release: $build is configured with KODRIN_TEST_SETTINGS=ON, a build for tests only" >&2
  exit 1
fi
cmake --build "$build" --target kodrin kodrin-cli >/dev/null
help=$build/generated/help/Kodrin.chm
# The version of the version resource, read by an independent reader.
version=$(/usr/bin/python3 - "$build/src/kodrin.exe" <<'PY'
import sys, pefile
pe = pefile.PE(sys.argv[1], fast_load=True)
pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
f = pe.VS_FIXEDFILEINFO[0]
print("%d.%d.%d.%d" % (f.FileVersionMS >> 16, f.FileVersionMS & 0xFFFF, f.FileVersionLS >> 16, f.FileVersionLS & 0xFFFF))
PY
)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/kodrin.exe" "$build/src/kodrin.exe"
x86_64-w64-mingw32-strip -o "$stage/kodrin-cli.exe" "$build/src/kodrin-cli.exe"
makensis -V2 -DVERSION="$version" -DPROGRAM="$stage/kodrin.exe" -DCLI="$stage/kodrin-cli.exe" -DHELP="$help" \
  -DOUTFILE="$stage/unsigned.exe" "$here/resources/installer/kodrin.nsi" >/dev/null

mkdir -p "$out"
osslsigncode sign -certs "$KODRIN_CODESIGN_CERT" -key "$KODRIN_CODESIGN_KEY" -h sha256 -n "Kodrin setup" \
  -in "$stage/unsigned.exe" -out "$stage/kodrinsetup.exe" >/dev/null
digest=$(sha256sum "$stage/kodrinsetup.exe" | cut -d' ' -f1)
printf '<?xml version="1.0"?>\r\n<KODRIN>\r\n<Version>%s</Version>\r\n<SHA256>%s</SHA256>\r\n</KODRIN>\r\n' \
  "$version" "$digest" >"$stage/kodrin.ver"
openssl dgst -sha256 -sign "$KODRIN_UPDATE_SIGNING_KEY" -out "$stage/kodrin.ver.sig" "$stage/kodrin.ver"
# Checked before anything is published.
openssl pkey -in "$KODRIN_UPDATE_SIGNING_KEY" -pubout -out "$stage/update.pub" 2>/dev/null
openssl dgst -sha256 -verify "$stage/update.pub" -signature "$stage/kodrin.ver.sig" "$stage/kodrin.ver" >/dev/null
# The program verifies updates with the key compiled into it: say so when
# that is not the public half of the signing key.
built=$(sed -n 's/^KODRIN_UPDATE_PUBLIC_KEY:STRING=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
signing=$(openssl pkey -pubin -in "$stage/update.pub" -outform DER 2>/dev/null | tail -c 65 | od -An -tx1 | tr -d ' \n')
if [ "$built" != "$signing" ]; then
  echo "release: warning: this build's KODRIN_UPDATE_PUBLIC_KEY is not the signing key's; its kodrin.exe will refuse this release's updates" >&2
fi
mv "$stage/kodrinsetup.exe" "$stage/kodrin.ver" "$stage/kodrin.ver.sig" "$out/"
echo "release $version in $out: kodrinsetup.exe (SHA-256 $digest), kodrin.ver, kodrin.ver.sig"
