#!/usr/bin/env bash
# The set-up scripts on a machine that lacks something: scripts/wine-prefix
# marks a prefix ready only when Wine really made it, and fails with one line
# otherwise; scripts/setup.sh --check names each missing command and its
# package. Wine is stood in for by small fake commands.
set -u
: "${KODRIN_SOURCE:?}"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A folder of commands: everything in /usr/bin except Wine's, so that the
# fake ones below are the only Wine there is.
bin=$work/bin
mkdir "$bin"
ln -s /usr/bin/* "$bin"/
rm -f "$bin"/wine*
fakes=$work/fakes
mkdir "$fakes"
fake() { printf '#!/bin/sh\n%s\n' "$2" >"$fakes/$1"; chmod +x "$fakes/$1"; }

# prefix NAME: runs wine-prefix on a new prefix; sets rc and err.
prefix() {
  WINEPREFIX=$work/$1 PATH=$fakes:$bin "$KODRIN_SOURCE/scripts/wine-prefix" >"$work/out" 2>"$work/err"
  rc=$?
  err=$(cat "$work/err")
}
expect_failure() {
  [ "$rc" != 0 ] || fail "$1: exit status 0"
  [ "$(wc -l <"$work/err")" = 1 ] || fail "$1: expected one line on stderr, got: $err"
  grep -q "$2" "$work/err" || fail "$1: stderr does not mention '$2': $err"
  [ -e "$work/$3/.kodrin-ready" ] && fail "$1: the prefix was marked ready"
}

# No Wine at all.
prefix none
expect_failure "no Wine" "wine is missing (Debian package wine)" none

fake wine 'exit 0'
fake wineserver 'exit 0'
# wineboot fails.
fake wineboot 'exit 3'
prefix failing
expect_failure "failing wineboot" "wineboot -i failed with status 3" failing
# wineboot says it worked but made nothing.
fake wineboot 'exit 0'
prefix empty
expect_failure "empty prefix" "no system.reg or drive_c" empty
# The registry cannot be written.
fake wineboot 'mkdir -p "$WINEPREFIX/drive_c/windows" && : >"$WINEPREFIX/system.reg"'
fake wine 'exit 1'
prefix noreg
expect_failure "failing reg add" "virtual desktop" noreg
# Everything works: ready, and a later call does not run Wine again.
fake wine 'exit 0'
prefix good
[ "$rc" = 0 ] && [ -z "$err" ] || fail "working Wine: status $rc, stderr: $err"
[ -e "$work/good/.kodrin-ready" ] || fail "working Wine: the prefix was not marked ready"
fake wineboot 'exit 5'
prefix good
[ "$rc" = 0 ] || fail "a ready prefix was made again: $err"
# A prefix marked ready by an earlier, broken set-up is made again.
rm -f "$work/good/system.reg"
prefix good
expect_failure "ready mark without a prefix" "status 5" good

# setup.sh --check: one line naming every missing command and its package.
rm -f "$fakes"/*
PATH=$bin bash "$KODRIN_SOURCE/scripts/setup.sh" --check >"$work/out" 2>"$work/err"
rc=$?
err=$(cat "$work/err")
[ "$rc" = 1 ] || fail "setup.sh --check without Wine: status $rc"
[ "$(wc -l <"$work/err")" = 1 ] || fail "setup.sh --check without Wine: expected one line, got: $err"
for name in wine wineboot wineserver; do
  grep -q "$name (package wine)" <<<"$err" || fail "setup.sh --check does not name $name: $err"
done
PATH=/usr/bin:/bin bash "$KODRIN_SOURCE/scripts/setup.sh" --check || fail "setup.sh --check fails on this machine"

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "set-up scripts: all passed"
