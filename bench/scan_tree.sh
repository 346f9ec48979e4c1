#!/usr/bin/env bash
# Search for Applications on a large tree, under Wine: a synthetic tree of
# FOLDERS folders (default 10000) holding FILES copies (default 2000) of
# real program files (Wine's own), scanned with the built-in filter list,
# beside a bare two-pass FindFirstFileW walk of the same tree that reads each
# version resource once. A benchmark, not a test: it prints the figures.
#
#   bench/scan_tree.sh [FOLDERS] [FILES] [RUNS]
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
folders=${1:-10000}
files=${2:-2000}
runs=${3:-3}
build=$here/build/windows
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake --build "$build" --target scan_tree_bench >/dev/null
"$here/scripts/wine-prefix"

tree=$build/bench-scan/tree-$folders-$files
if [ ! -d "$tree" ]; then
  rm -rf "$build/bench-scan"
  /usr/bin/python3 - "$tree" "$folders" "$files" <<'PY'
import os, shutil, sys
tree, folders, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
wine = "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"
# Real program files of every shape: with and without a version resource,
# an icon, a translation table.
programs = [os.path.join(wine, n) for n in ("iexplore.exe", "explorer.exe", "notepad.exe", "winecfg.exe",
                                            "regedit.exe", "cmd.exe", "msiexec.exe", "wordpad.exe", "taskmgr.exe",
                                            "write.exe") if os.path.exists(os.path.join(wine, n))]
# 20 vendors with 50 products each, and the rest of the folders as the
# products' parts.
paths = []
for v in range(20):
    paths.append(os.path.join(tree, "Vendor %02d" % v))
    for p in range(50):
        paths.append(os.path.join(tree, "Vendor %02d" % v, "Product %03d" % p))
for i in range(max(folders - len(paths), 1)):
    paths.append(os.path.join(tree, "Vendor %02d" % (i % 20), "Product %03d" % (i // 20 % 50), "part%04d" % i))
for p in paths:
    os.makedirs(p, exist_ok=True)
leaves = [p for p in paths if "part" in p]
for n in range(files):
    source = programs[n % len(programs)]
    shutil.copyfile(source, os.path.join(leaves[n * len(leaves) // files], "app%04d_%s" % (n, os.path.basename(source))))
PY
fi
count=$(find "$tree" -type d | wc -l)
echo "tree: $tree ($count folders)"
wine "$build/bench/win32/scan_tree_bench.exe" "Z:${tree//\//\\}" "$runs"
