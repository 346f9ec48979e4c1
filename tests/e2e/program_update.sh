#!/usr/bin/env bash
# The program updates itself, under Wine: version N of the tests' own
# kodrin.exe (built as the program is, with this build's test keys) is
# installed silently; a loopback HTTP server publishes version N+1, packaged
# and signed by scripts/package-release.sh. Check for Update (command 3304),
# answered with OK in "Auto-Update", first finds a tampered installer and
# says there is no update, installing nothing; then finds N+1's own
# installer, starts it and ends the program; the installer's wizard, driven
# from outside, installs N+1 over N. A silent setup started while the
# program runs replaces nothing. The hidden messages are never fetched.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
if [ "${KODRIN_WINDOWS:-0}" != 1 ]; then
  echo "the installer exists only in the Windows build"; exit 0
fi
export WINEPREFIX=${WINEPREFIX:-$KODRIN_BUILD/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$KODRIN_SOURCE/scripts/wine-prefix" || exit 1

work=$(mktemp -d)
name=kodrin-update-$$
target="C:\\$name"
unix_target="$WINEPREFIX/drive_c/$name"
key='HKCU\Software\Fenwold\Kodrin'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kodrin'
program="" server=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  # An installer left waiting by a failure would keep Wine, and the test, alive.
  wine taskkill /f /im kodrinsetup.exe >/dev/null 2>&1 </dev/null
  [ -x "$unix_target/uninstall.exe" ] && wine "$unix_target/uninstall.exe" /S "_?=$target" >/dev/null 2>&1 </dev/null
  for value in Filename HintShow HintDate LastHint AutoUpdate_Freq AutoUpdate_Date; do
    wine reg delete "$key" /v "$value" /f >/dev/null 2>&1 </dev/null
  done
  rm -rf "$work" "$unix_target"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$KODRIN_SOURCE/scripts/wine-run" "$@"; }
finder=$KODRIN_BUILD/tests/find_window.exe
installed_version() { wine reg query "$uninstall_key" /v DisplayVersion 2>/dev/null </dev/null | tr -d '\r' |
  sed -n 's/.*REG_SZ *//p'; }

# Versions N and N+1, packaged with the keys compiled into them.
keys=$KODRIN_BUILD/tests/update_e2e/keys
package() {
  KODRIN_UPDATE_SIGNING_KEY=$keys/update.pem KODRIN_CODESIGN_CERT=$keys/codesign.crt \
    KODRIN_CODESIGN_KEY=$keys/codesign.key "$KODRIN_SOURCE/scripts/package-release.sh" "$work/$1" \
    "$KODRIN_BUILD/tests/update_e2e/program_$1/kodrin.exe" "$KODRIN_BUILD/src/kodrin-cli.exe" \
    "$KODRIN_BUILD/generated/help/Kodrin.chm" >"$work/package-$1.log" 2>&1 || { cat "$work/package-$1.log"; exit 1; }
  sed -n 's#.*<Version>\(.*\)</Version>.*#\1#p' "$work/$1/kodrin.ver" | tr -d '\r'
}
current=$(package 0)
next=$(package 1)

wine "$work/0/kodrinsetup.exe" /S "/D=$target" </dev/null || fail "the silent install of $current failed"
[ "$(installed_version)" = "$current" ] || fail "installed \"$(installed_version)\", expected $current"

# The maker's folder, first with N+1's version file and a tampered installer.
mkdir "$work/site"
cp "$work/1/kodrin.ver" "$work/1/kodrin.ver.sig" "$work/site/"
python3 - "$work/1/kodrinsetup.exe" "$work/site/kodrinsetup.exe" <<'PY'
import sys
data = bytearray(open(sys.argv[1], 'rb').read())
data[len(data) // 2] ^= 0x5A
open(sys.argv[2], 'wb').write(data)
PY
python3 - "$work/site" "$work/port" "$work/requests" <<'PY' &
import functools, http.server, sys
root, port_file, log_file = sys.argv[1:4]
class Handler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, format, *args):
        with open(log_file, 'a') as log:
            log.write(self.command + ' ' + self.path + '\n')
server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=root))
with open(port_file + '.part', 'w') as out:
    out.write(str(server.server_address[1]))
import os
os.rename(port_file + '.part', port_file)
server.serve_forever()
PY
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(cat "$work/port")
export KODRIN_TEST_UPDATE_URL="http://127.0.0.1:$port/" KODRIN_TEST_FEED_URL="http://127.0.0.1:$port/popup.xml"

# Messages hidden; no check scheduled, so only the command checks.
wine reg add "$key" /v HintShow /d 0 /f >/dev/null 2>&1 </dev/null
for value in AutoUpdate_Freq AutoUpdate_Date; do wine reg delete "$key" /v "$value" /f >/dev/null 2>&1 </dev/null; done

cp "$KODRIN_SOURCE/tests/data/sample-plain.xml" "$work/catalog.xml"
catalog="Z:$(printf '%s' "$work/catalog.xml" | tr / '\\')"
title="Kodrin - $catalog"
run "$unix_target/kodrin.exe" "/F$catalog" >"$work/program.out" 2>&1 &
program=$!
run "$finder" wait "$title" 60000 || fail "the installed program shows no window titled '$title'"

# While the program runs, a silent setup waits ten seconds for it to end,
# then ends with status 2 and replaces nothing.
started=$SECONDS
wine "$work/1/kodrinsetup.exe" /S "/D=$target" </dev/null
rc=$?
[ $((SECONDS - started)) -ge 9 ] || fail "a setup while the program runs gave up after $((SECONDS - started)) s, not ten"
[ "$rc" = 2 ] || fail "a silent setup while the program runs ended with $rc, expected 2"
[ "$(installed_version)" = "$current" ] || fail "a setup while the program runs installed \"$(installed_version)\""

check_for_update() {
  run "$finder" command "$title" 3304 || fail "could not send Check for Update"
  run "$finder" answer "Kodrin Auto-Update" 30000 >"$work/question.txt" || fail "no Auto-Update dialog"
}

# A tampered installer: no update, nothing started, nothing installed.
check_for_update
run "$finder" answer "Automatic Update" 60000 >"$work/box.txt" || fail "no answer after the tampered installer"
grep -q "There is no update available at this time." "$work/box.txt" || fail "the answer says: $(cat "$work/box.txt")"
grep -qx "GET /kodrinsetup.exe" "$work/requests" || fail "the installer was never fetched: $(cat "$work/requests")"
run "$finder" wait "$title" 1000 || fail "the program ended after the tampered installer"
run "$finder" wait "Kodrin Setup: Installation Folder" 3000 && fail "the tampered installer was started"
[ "$(installed_version)" = "$current" ] || fail "after the tampered installer \"$(installed_version)\" is installed"

# N+1's own installer: started, and the program ends for it.
cp "$work/1/kodrinsetup.exe" "$work/site/kodrinsetup.exe"
check_for_update
wait "$program"
rc=$?
program=""
[ "$rc" = 0 ] || fail "the program ended with $rc for the update"
# The wizard: Install on its folder page (the installed folder), then Close.
run "$finder" answer "Kodrin Setup: Installation Folder" 60000 >/dev/null || fail "the installer's wizard did not show"
run "$finder" answer "Kodrin Setup: Completed" 120000 >/dev/null || fail "the installer did not complete"
run "$finder" gone "Kodrin Setup: Completed" 30000 || fail "the installer's wizard stays"
for _ in $(seq 100); do [ "$(installed_version)" = "$next" ] && break; sleep 0.2; done
[ "$(installed_version)" = "$next" ] || fail "after the update \"$(installed_version)\" is installed, expected $next"
version=$("$KODRIN_SOURCE/scripts/pe-version" "$unix_target/kodrin.exe")
[ "$version" = "$next" ] || fail "the installed kodrin.exe is version $version, expected $next"
! grep -q popup.xml "$work/requests" || fail "the hidden messages were fetched"

[ "$failures" = 0 ] || { echo "requests: $(tr '\n' ' ' <"$work/requests")"; exit 1; }
echo "updated $current to $next through the program; the tampered installer was refused"
echo "requests: $(tr '\n' ' ' <"$work/requests")"
