#!/usr/bin/env bash
# Packages a program into a release ready to publish in its folder on the
# maker's web site:
#   kodrinsetup.exe   the installer, signed with Authenticode (osslsigncode)
#   kodrin.ver        the version file: the version and the installer's SHA-256
#   kodrin.ver.sig    the ECDSA P-256 signature with SHA-256 over kodrin.ver
#
#   scripts/package-release.sh OUTDIR PROGRAM CLI HELP
#
# PROGRAM is the kodrin.exe to install, CLI its kodrin-cli.exe, HELP the help
# file; the version is the one of PROGRAM's version resource. The keys'
# paths come from the environment, as for scripts/release.sh, which makes a
# release of this build with this script.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: scripts/package-release.sh OUTDIR PROGRAM CLI HELP}
program=${2:?} cli=${3:?} help=${4:?}
: "${KODRIN_UPDATE_SIGNING_KEY:?names the private key that signs kodrin.ver}"
: "${KODRIN_CODESIGN_CERT:?names the Authenticode certificate}"
: "${KODRIN_CODESIGN_KEY:?names the Authenticode key}"
for file in "$KODRIN_UPDATE_SIGNING_KEY" "$KODRIN_CODESIGN_CERT" "$KODRIN_CODESIGN_KEY" "$program" "$cli" "$help"; do
  [ -r "$file" ] || { echo "release: cannot read $file" >&2; exit 1; }
done
# makensis reads its files from the script's folder: the paths must not be relative.
program=$(realpath "$program") cli=$(realpath "$cli") help=$(realpath "$help")

# The version of the version resource, read by an independent reader.
version=$("$here/scripts/pe-version" "$program")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
x86_64-w64-mingw32-strip -o "$stage/kodrin.exe" "$program"
x86_64-w64-mingw32-strip -o "$stage/kodrin-cli.exe" "$cli"
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
mv "$stage/kodrinsetup.exe" "$stage/kodrin.ver" "$stage/kodrin.ver.sig" "$out/"
echo "release $version in $out: kodrinsetup.exe (SHA-256 $digest), kodrin.ver, kodrin.ver.sig"
