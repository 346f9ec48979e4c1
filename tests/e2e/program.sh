#!/usr/bin/env bash
# Black-box run of kodrin.exe under Wine and an X display: the program opens
# the catalog named by /F and shows it in a window titled "Kodrin - <path>";
# a second start warns that the program runs already and ends with status 1;
# closing saves a changed catalog. The windows are found and driven from
# outside by find_window.exe.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
if [ "${KODRIN_WINDOWS:-0}" != 1 ]; then
  echo "kodrin.exe exists only in the Windows build"; exit 0
fi
export WINEPREFIX=${WINEPREFIX:-$KODRIN_BUILD/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$KODRIN_SOURCE/scripts/wine-prefix" || exit 1

work=$(mktemp -d)
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null
  wine reg delete 'HKCU\Software\Fenwold\Kodrin' /v Filename /f >/dev/null 2>&1 </dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
run() { "$KODRIN_SOURCE/scripts/wine-run" "$@"; }
finder=$KODRIN_BUILD/tests/find_window.exe
kodrin=$KODRIN_BUILD/src/kodrin.exe

cp "$KODRIN_SOURCE/tests/data/sample-plain.xml" "$work/catalog.xml"
catalog="Z:$(printf '%s' "$work/catalog.xml" | tr / '\\')"
title="Kodrin - $catalog"
before=$(md5sum <"$work/catalog.xml")

# The first start shows the catalog.
run "$kodrin" "/F$catalog" >"$work/first.out" 2>&1 &
program=$!
run "$finder" wait "$title" 60000 || fail "no window titled '$title'"

# A second start warns and ends with status 1; the first one stays.
run "$kodrin" "/F$catalog" >"$work/second.out" 2>&1 &
second=$!
run "$finder" answer Kodrin 60000 >"$work/box.txt" || fail "the second start showed no message box"
grep -q "Kodrin is already running" "$work/box.txt" || fail "the second start's box says: $(cat "$work/box.txt")"
wait "$second"
rc=$?
[ "$rc" = 1 ] || fail "the second start ended with $rc, expected 1"
run "$finder" wait "$title" 10000 || fail "the first window went with the second start"

# Nothing changed yet: the file is as it was.
[ "$(md5sum <"$work/catalog.xml")" = "$before" ] || fail "the catalog was written before anything changed"

# Show hidden items (a setting), then close: the change is saved.
run "$finder" command "$title" 3601 || fail "could not send a command"
run "$finder" close "$title" || fail "could not close the window"
wait "$program"
rc=$?
program=""
[ "$rc" = 0 ] || fail "the program ended with $rc"
run "$finder" gone "$title" 10000 || fail "the window is still there"
python3 - "$work/catalog.xml" <<'PY' || fail "the closed program did not save the changed setting"
import sys
text = open(sys.argv[1], 'rb').read().decode('utf-16-le')
sys.exit(0 if '<SHOWHIDDEN>1</SHOWHIDDEN>' in text and '<PROGRAM>Example Tool</PROGRAM>' in text else 1)
PY

[ "$failures" = 0 ] && echo "all passed"
exit $((failures > 0))
