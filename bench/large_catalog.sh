#!/usr/bin/env bash
# The program on a large catalog, under Wine and an X display: how long a
# user waits for the filled list at start, for a change of tab to "<All>",
# for a re-sort and for the close that saves, beside kodrin-cli's save of
# the same file. A benchmark, not a test: it prints the times.
#
#   bench/large_catalog.sh [RECORDS]     (default 100000, about 106 MB)
#
# Builds kodrin.exe, kodrin-cli.exe, the generator and the driver of
# bench/large in the Windows build. KODRIN_EXE and KODRIN_CLI_EXE name other
# builds of the two programs to measure instead (to compare before and
# after). The catalog is written once into build/windows/bench-large and
# copied fresh for every run.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
records=${1:-100000}
build=$here/build/windows
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

targets=(large_make_catalog large_drive_program)
[ -n "${KODRIN_EXE:-}" ] || targets+=(kodrin)
[ -n "${KODRIN_CLI_EXE:-}" ] || targets+=(kodrin-cli)
cmake --build "$build" --target "${targets[@]}" >/dev/null
program=${KODRIN_EXE:-$build/src/kodrin.exe}
cli=${KODRIN_CLI_EXE:-$build/src/kodrin-cli.exe}
"$here/scripts/wine-prefix"

work=$build/bench-large
mkdir -p "$work"
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }
master=$work/master-$records.xml
counts=$work/master-$records.counts
if [ ! -s "$master" ] || [ ! -s "$counts" ]; then
  "$here/scripts/wine-run" "$build/bench/large/large_make_catalog.exe" "$(winpath "$master")" "$records" >"$counts"
fi
# rows_all=N rows_first=M categories=K
eval "$(tr -s ' \r' '\n\n' <"$counts" | grep -E '^(rows_all|rows_first|categories)=[0-9]+$')"
catalog=$work/catalog.xml
cp "$master" "$catalog"
rm -f "$catalog.bak"   # the program takes a backup copy at every start
echo "machine: $(nproc) processors, load average $(cut -d' ' -f1-3 /proc/loadavg)"
echo "catalog: $records records, $(( $(stat -c %s "$catalog") / 1000000 )) MB, <All> shows $rows_all rows, the first of $categories categories $rows_first"

cleanup() { wine reg delete 'HKCU\Software\Fenwold\Kodrin' /v Filename /f >/dev/null 2>&1 </dev/null || true; }
trap cleanup EXIT
"$here/scripts/with-display" "$here/scripts/wine-run" "$build/bench/large/large_drive_program.exe" \
  "$(winpath "$program")" "$(winpath "$catalog")" "$rows_all" "$rows_first" "$(winpath "$cli")"

# The close saved the tab and the sort of the second column, reversed.
python3 - "$catalog" <<'PY'
import re, sys
text = open(sys.argv[1], 'rb').read().decode('utf-16-le')
sort = re.search(r'<SORTCOL>(\d+)</SORTCOL>', text)
reverse = re.search(r'<SORTREVERSE>(\d*)</SORTREVERSE>|<SORTREVERSE/>', text)
print('saved: %d applications, sort column %s%s' % (text.count('<APPLICATION>'), sort.group(1) if sort else '?',
      ', reversed' if reverse and reverse.group(1) == '1' else ''))
PY
