#!/usr/bin/env bash
# Makes a release of Kodrin from this build, ready to publish in the
# program's folder on the maker's web site (scripts/package-release.sh):
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
cmake --build "$build" --target kodrin kodrin-cli >/dev/null
program=$build/src/kodrin.exe

# Only the tests' own programs take an update address from the environment:
# such a program is never published.
if /usr/bin/python3 -c 'import sys; sys.exit("KODRIN_TEST_".encode("utf-16-le") not in open(sys.argv[1], "rb").read())' \
  "$program"; then
  echo "release: $program was built for tests; it is never published" >&2
  exit 1
fi

# The program verifies updates with the key compiled into it: say so when
# that is not the public half of the signing key.
built=$(sed -n 's/^KODRIN_UPDATE_PUBLIC_KEY:STRING=//p' "$build/CMakeCache.txt" 2>/dev/null || true)
signing=$(openssl pkey -in "$KODRIN_UPDATE_SIGNING_KEY" -pubout -outform DER 2>/dev/null | tail -c 65 | od -An -tx1 |
  tr -d ' \n')
if [ "$built" != "$signing" ]; then
  echo "release: warning: this build's KODRIN_UPDATE_PUBLIC_KEY is not the signing key's; its kodrin.exe will refuse this release's updates" >&2
fi
"$here/scripts/package-release.sh" "$out" "$program" "$build/src/kodrin-cli.exe" "$build/generated/help/Kodrin.chm"
