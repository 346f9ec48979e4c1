#!/usr/bin/env bash
# kodrin-cli scan in both builds on the same folder of Wine's own programs:
# the Windows build (GetFileVersionInfo and the shell, under Wine) and the
# native build (the portable PE reader) must give the same records, but for
# the folder part of the path, the order the file systems list files in, and
# the pictures, which only the Windows build reads. Run by the Windows
# build's tests; the native kodrin-cli beside it is built first by make test.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
native=${KODRIN_NATIVE_CLI:-$KODRIN_SOURCE/build/native/src/kodrin-cli}
[ -x "$native" ] || { echo "FAIL: no native kodrin-cli at $native (make native builds it)"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
wine_programs=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows
mkdir -p "$work/programs/Tools" "$work/programs/Shell"
for p in iexplore explorer notepad regedit winecfg wordpad; do cp "$wine_programs/$p.exe" "$work/programs/Tools/"; done
for p in cmd taskmgr xcopy msiexec; do cp "$wine_programs/$p.exe" "$work/programs/Shell/"; done

fields=17,1,20,3,27,7,11,21,32,10,25,35
"$KODRIN_SOURCE/scripts/wine-run" "$KODRIN_BUILD/src/kodrin-cli.exe" scan "Z:${work//\//\\}\\windows.xml" \
  "Z:${work//\//\\}\\programs" --media Stick >"$work/windows.out" 2>&1 || { cat "$work/windows.out"; exit 1; }
"$native" scan "$work/native.xml" "$work/programs" --media Stick >"$work/native.out" 2>&1 || { cat "$work/native.out"; exit 1; }
cmp -s "$work/windows.out" "$work/native.out" || { echo "FAIL: summaries differ"; cat "$work/windows.out" "$work/native.out"; exit 1; }
grep -q "^10 program files read, 10 added, 0 updated" "$work/native.out" || { echo "FAIL: $(cat "$work/native.out")"; exit 1; }

# The listing escapes a backslash as "\\": the Windows paths become native ones.
"$native" list "$work/windows.xml" --fields "$fields" | sed 's#^Z:\\\\#/#; s#\\\\#/#g' | sort >"$work/windows.list"
"$native" list "$work/native.xml" --fields "$fields" | sort >"$work/native.list"
if ! cmp -s "$work/windows.list" "$work/native.list"; then
  echo "FAIL: the two builds found different records"
  diff "$work/windows.list" "$work/native.list"
  exit 1
fi
[ "$(wc -l <"$work/native.list")" = 10 ] || { echo "FAIL: $(wc -l <"$work/native.list") records"; exit 1; }
echo "both builds: $(cat "$work/native.out")"
