#!/usr/bin/env bash
# The release and its installer, under Wine: scripts/release.sh with keys
# made for this test gives a signed kodrinsetup.exe and a signed version file
# naming its digest; the installer installs silently, installs over itself,
# registers the uninstall entry and the Start-menu shortcut; the uninstaller
# removes what was installed and keeps what the user put there.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
export WINEPREFIX=${WINEPREFIX:-$KODRIN_BUILD/wineprefix} WINEDEBUG=-all
work=$(mktemp -d)
name=kodrin-e2e-$$
target="C:\\$name"
unix_target="$WINEPREFIX/drive_c/$name"
trap 'rm -rf "$work" "$unix_target"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cd "$work" || exit 1
openssl ecparam -name prime256v1 -genkey -noout -out update.pem 2>/dev/null
openssl req -x509 -newkey rsa:2048 -nodes -keyout codesign.key -out codesign.crt -days 2 \
  -subj "/CN=Kodrin Test Signer" 2>/dev/null
KODRIN_BUILD=$KODRIN_BUILD KODRIN_UPDATE_SIGNING_KEY=update.pem KODRIN_CODESIGN_CERT=codesign.crt \
  KODRIN_CODESIGN_KEY=codesign.key "$KODRIN_SOURCE/scripts/release.sh" out >release.log 2>&1 ||
  { cat release.log; exit 1; }

# What is published checks out with independent tools.
osslsigncode verify -CAfile codesign.crt -in out/kodrinsetup.exe 2>&1 | grep -q "^Succeeded" ||
  fail "the installer's Authenticode signature does not verify"
openssl pkey -in update.pem -pubout -out update.pub 2>/dev/null
openssl dgst -sha256 -verify update.pub -signature out/kodrin.ver.sig out/kodrin.ver >/dev/null ||
  fail "kodrin.ver's signature does not verify"
grep -q "<SHA256>$(sha256sum out/kodrinsetup.exe | cut -d' ' -f1)</SHA256>" out/kodrin.ver ||
  fail "kodrin.ver does not name the installer's digest"
version=$(sed -n 's#.*<Version>\(.*\)</Version>.*#\1#p' out/kodrin.ver | tr -d '\r')
[[ "$version" =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "kodrin.ver names the version \"$version\""

"$KODRIN_SOURCE/scripts/wine-prefix"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kodrin'
install() { wine out/kodrinsetup.exe /S "/D=$target"; }
install || fail "the silent install failed"
for file in kodrin.exe kodrin-cli.exe Kodrin.chm uninstall.exe; do
  [ -f "$unix_target/$file" ] || fail "$file was not installed"
done
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kodrin.lnk" ] ||
  fail "no Start-menu shortcut"
entry=$(wine reg query "$key" 2>/dev/null | tr -d '\r')
for value in "DisplayName    REG_SZ    Kodrin" "DisplayVersion    REG_SZ    $version" "Publisher    REG_SZ    Fenwold" \
  "UninstallString    REG_SZ    \"$target\\uninstall.exe\"" "QuietUninstallString    REG_SZ    \"$target\\uninstall.exe\" /S"; do
  grep -qF "$value" <<<"$entry" || fail "uninstall entry lacks: $value"
done
# The installed program runs: its command-line companion answers.
wine "$unix_target/kodrin-cli.exe" --version 2>/dev/null | grep -q . || fail "the installed kodrin-cli does not run"

# Over itself, keeping what the user keeps beside the program.
printf 'mine' >"$unix_target/My Software.xml"
install || fail "installing over the installed version failed"
[ -f "$unix_target/My Software.xml" ] || fail "installing over removed the user's file"

# Uninstall (in place, so that it ends before the test goes on).
wine "$unix_target/uninstall.exe" /S "_?=$target" || fail "the silent uninstall failed"
for file in kodrin.exe kodrin-cli.exe Kodrin.chm; do
  [ ! -e "$unix_target/$file" ] || fail "$file is still there after the uninstall"
done
[ -f "$unix_target/My Software.xml" ] || fail "the uninstall removed the user's catalog"
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kodrin.lnk" ] ||
  fail "the shortcut is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstall entry is still there"

[ "$failures" = 0 ] || exit 1
echo "installer $version: installed, installed over, uninstalled; signatures verify"
