#!/usr/bin/env bash
# The reports drawn into metafiles under Wine, as the print preview draws
# them: a summary of 1,000 applications and a detail report of 1,000 pages
# (goal: each at most 2 s). A benchmark, not a test: it prints the times.
#
#   bench/report_metafiles.sh [RUNS]     (default 5)
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
build=$here/build/windows
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
cmake --build "$build" --target record_reports >/dev/null
"$here/scripts/wine-run" "$build/bench/reports/record_reports.exe" "${1:-5}"
