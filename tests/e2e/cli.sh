#!/usr/bin/env bash
# Black-box run of kodrin-cli: every command's normal use and its failures
# (exit status 1 with one line on standard error and no file changed, exit
# status 2 with the usage), natively or under Wine.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
windows=${KODRIN_WINDOWS:-0}

work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
cd "$work" || exit 1

if [ "$windows" = 1 ]; then
  exe=("$KODRIN_SOURCE/scripts/wine-run" "$KODRIN_BUILD/src/kodrin-cli.exe")
else
  exe=("$KODRIN_BUILD/src/kodrin-cli")
fi

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# run ARGS...: runs the tool without a terminal; sets rc, out (stdout) and
# err (stderr) files.
run() {
  setsid -w "${exe[@]}" "$@" >out.txt 2>err.txt </dev/null
  rc=$?
}
expect_rc() { [ "$rc" = "$1" ] || fail "$2: exit status $rc, expected $1 (stderr: $(cat err.txt))"; }
expect_out() { printf '%b' "$1" >want.txt; cmp -s want.txt out.txt || fail "$2: output differs: $(od -c out.txt | head -5)"; }
expect_one_error_line() {
  [ "$(wc -l <err.txt)" = 1 ] || fail "$1: expected one line on stderr, got: $(cat err.txt)"
  grep -q "$2" err.txt || fail "$1: stderr does not mention $2: $(cat err.txt)"
  [ -s out.txt ] && fail "$1: unexpected output: $(cat out.txt)"
}
sum() { md5sum "$1" | cut -d' ' -f1; }

# A small catalog written as the program writes it: UTF-16LE, CR LF.
python3 - <<'EOF'
doc = """<KODRIN>
<DATAVERSION>1000</DATAVERSION>
<CATEGORYLIST>
<CATEGORYNAME>Utilities</CATEGORYNAME>
<CATEGORYNAME>Graphics</CATEGORYNAME>
</CATEGORYLIST>
<OPTIONS>
</OPTIONS>
<APPLICATIONLIST>
<APPLICATION>
<LOGINDATA>
<LOGINVALUE>reader</LOGINVALUE>
</LOGINDATA>
<LOGINDATA>
<LOGINVALUE>s3cret</LOGINVALUE>
<LOGINTYPE>1</LOGINTYPE>
</LOGINDATA>
<CATEGORYLIST>
<CATEGORY>Utilities</CATEGORY>
</CATEGORYLIST>
<COMPANY>Tab\tCo</COMPANY>
<ORIGINALMEDIA>CD</ORIGINALMEDIA>
<PROGRAM>Editor</PROGRAM>
<PURCHASEPRICE>10.5</PURCHASEPRICE>
<VERSION>2.0</VERSION>
<LATESTVERSION>2.1</LATESTVERSION>
<UPGRADEPRICE>4</UPGRADEPRICE>
<DISKCOUNT>2</DISKCOUNT>
</APPLICATION>
<APPLICATION>
<CATEGORYLIST>
<CATEGORY>Utilities</CATEGORY>
<CATEGORY>Graphics</CATEGORY>
</CATEGORYLIST>
<COMPANY>Pinsel &amp; S\u00f6hne</COMPANY>
<PROGRAM>Paint \u20ac</PROGRAM>
</APPLICATION>
<APPLICATION>
<CATEGORYLIST>
<CATEGORY>Graphics</CATEGORY>
</CATEGORYLIST>
<COMMENTS>paints nothing</COMMENTS>
<PROGRAM>Viewer</PROGRAM>
</APPLICATION>
</APPLICATIONLIST>
</KODRIN>
"""
open("cat.xml", "wb").write(doc.replace("\n", "\r\n").encode("utf-16-le"))
open("foreign.txt", "wb").write(b"just some text, not a catalog\n")
open("pw.txt", "wb").write(b"Geheim\n")
open("wrong.txt", "wb").write(b"falsch\n")
open("empty.txt", "wb").write(b"")
EOF

# --- usage ------------------------------------------------------------------
run --version; expect_rc 0 "--version"; grep -q '^kodrin-cli ' out.txt || fail "--version output"
run --help; expect_rc 0 "--help"; grep -q 'Usage: kodrin-cli' out.txt || fail "--help output"
run; expect_rc 2 "no arguments"; grep -q 'Usage: kodrin-cli' err.txt || fail "usage on stderr"
run frobnicate cat.xml; expect_rc 2 "unknown command"
run list cat.xml --bogus; expect_rc 2 "unknown option"
run list cat.xml --fields 99; expect_rc 2 "bad field id"
run find cat.xml; expect_rc 2 "find without text"

# --- list and find (UTF-8 output, escaping) ---------------------------------
run list cat.xml --fields 20,3
expect_rc 0 "list"
expect_out 'Editor\tTab\\tCo\nPaint \xe2\x82\xac\tPinsel & S\xc3\xb6hne\nViewer\t\n' "list"
run list cat.xml --category Graphics --fields 20
expect_rc 0 "list --category"; expect_out 'Paint \xe2\x82\xac\nViewer\n' "list --category"
run list cat.xml --fields 38 --category Utilities
expect_out 'xxxxxx\n\n' "masked password"
run list cat.xml --fields 38 --category Utilities --reveal
expect_out 's3cret\n\n' "revealed password"
run list cat.xml --category Nope; expect_rc 1 "unknown category"; expect_one_error_line "unknown category" Nope

run find cat.xml aint
expect_rc 0 "find"
expect_out 'Utilities\tPaint \xe2\x82\xac\nGraphics\tPaint \xe2\x82\xac\nGraphics\tViewer\n' "find"

# --- failures on reading ----------------------------------------------------
run list missing.xml; expect_rc 1 "missing file"; expect_one_error_line "missing file" missing.xml
run list foreign.txt; expect_rc 1 "foreign file"; expect_one_error_line "foreign file" foreign.txt

# --- save, passwords --------------------------------------------------------
before=$(sum cat.xml)
run save cat.xml copy.xml; expect_rc 0 "save to another file"
[ "$(sum cat.xml)" = "$before" ] || fail "save OUT changed FILE"
run list copy.xml --fields 20; expect_out 'Editor\nPaint \xe2\x82\xac\nViewer\n' "saved copy"

run save copy.xml --new-password-file pw.txt; expect_rc 0 "save with a new password"
size=$(stat -c %s copy.xml)
[ $((size % 16)) = 0 ] || fail "encrypted size $size is not a multiple of 16"
grep -qa 'K.O.D.R.I.N' copy.xml && fail "encrypted file holds plain text"
enc=$(sum copy.xml)
run list copy.xml; expect_rc 1 "encrypted without password"; expect_one_error_line "no password" copy.xml
run list copy.xml --fields 20 --password-file pw.txt; expect_rc 0 "--password-file"
expect_out 'Editor\nPaint \xe2\x82\xac\nViewer\n' "decrypted list"
KODRIN_PASSWORD=Geheim run find copy.xml View; expect_rc 0 "KODRIN_PASSWORD"
expect_out 'Graphics\tViewer\n' "find with KODRIN_PASSWORD"
run save copy.xml --password-file wrong.txt; expect_rc 1 "wrong password"
expect_one_error_line "wrong password" copy.xml
[ "$(sum copy.xml)" = "$enc" ] || fail "failed save changed the file"
run save copy.xml --password-file pw.txt --new-password-file empty.txt; expect_rc 0 "remove the password"
grep -qa 'K.O.D.R.I.N' copy.xml || fail "password removal left the file encrypted"
run save copy.xml --new-password-file missing.txt; expect_rc 1 "missing new password file"
expect_one_error_line "missing new password file" missing.txt

# --- stats --------------------------------------------------------------------
run stats cat.xml; expect_rc 0 "stats"
expect_out '# Applications: 3\n# Disks: 2\nTotal Cost: $10.50\nCost to Upgrade: $4.00\n# Out of Date: 1\n' "stats"
run stats cat.xml --category Graphics --media CD; expect_rc 0 "stats filtered"
expect_out '# Applications: 0\n# Disks: 0\nTotal Cost: $0.00\nCost to Upgrade: $0.00\n# Out of Date: 0\n' "stats filtered"
run stats cat.xml --media Tape; expect_rc 2 "stats with unknown media"

# --- export and import ----------------------------------------------------------
run export cat.xml all.csv; expect_rc 0 "CSV export"
python3 -c 'import sys; t=open("all.csv","rb").read().decode("utf-16-le"); sys.exit(0 if t.count("\r\n")==4 and t.split("\r\n")[0].count(",")==46 else 1)' \
  || fail "CSV export is not 47 UTF-16 columns in 4 lines"
run export cat.xml narrow.csv --8bit --columns; expect_rc 0 "8-bit CSV export"
grep -q $'"Pinsel & S\xf6hne"' narrow.csv || fail "8-bit export keeps the low byte"
run export cat.xml graphics.xml --category Graphics; expect_rc 0 "markup export"
run list graphics.xml --fields 20; expect_out 'Paint \xe2\x82\xac\nViewer\n' "markup export content"
run export cat.xml out.xml --8bit; expect_rc 2 "--8bit for markup"
run export cat.xml cat.xml; expect_rc 1 "export over the catalog"
[ "$(sum cat.xml)" = "$before" ] || fail "export over the catalog changed it"

: >new.xml
run import new.xml all.csv; expect_rc 0 "CSV import into a new catalog"
run list new.xml --fields 20,1; expect_out 'Editor\tUtilities\nPaint \xe2\x82\xac\tUtilities,Graphics\nViewer\tGraphics\n' "imported CSV"
run import new.xml graphics.xml --add; expect_rc 0 "markup import, adding"
run list new.xml --fields 20 --category Graphics; expect_out 'Paint \xe2\x82\xac\nViewer\nPaint \xe2\x82\xac\nViewer\n' "added markup"
imported=$(sum new.xml)
run import new.xml foreign.txt; expect_rc 1 "import of a foreign file"; expect_one_error_line "import foreign" foreign.txt
printf '"Nothing","Known"\r\n"a","b"\r\n' >junk.csv
run import new.xml junk.csv; expect_rc 1 "CSV without known columns"; expect_one_error_line "junk csv" junk.csv
[ "$(sum new.xml)" = "$imported" ] || fail "failed imports changed the catalog"
run import fresh.xml all.csv; expect_rc 0 "import into a catalog that does not exist yet"
run list fresh.xml --fields 20; expect_out 'Editor\nPaint \xe2\x82\xac\nViewer\n' "the new catalog"
run export cat.xml nowhere/out.csv; expect_rc 1 "export into a missing folder"
expect_one_error_line "missing folder" "does not exist"
[ -e nowhere ] && fail "export into a missing folder made it"

# --- read-only catalog ------------------------------------------------------
chmod a-w cat.xml
run save cat.xml; expect_rc 1 "read-only save"; expect_one_error_line "read-only save" read-only
[ "$(sum cat.xml)" = "$before" ] || fail "read-only catalog was written"
run list cat.xml --fields 20; expect_rc 0 "reading a read-only catalog"
run import cat.xml all.csv; expect_rc 1 "import into a read-only catalog"
expect_one_error_line "read-only import" read-only
[ "$(sum cat.xml)" = "$before" ] || fail "read-only catalog was imported into"
chmod u+w cat.xml

# --- a catalog behind a symbolic link ------------------------------------------
# Writing follows the link and replaces the file it points to; the backup goes
# beside the link. Under Wine the Unix link is followed too.
mkdir real && cp cat.xml real/linked.xml && ln -s real/linked.xml linked.xml
run import linked.xml graphics.xml --add; expect_rc 0 "import through a symbolic link"
[ -L linked.xml ] || fail "the import replaced the symbolic link with a file"
run list real/linked.xml --fields 20
expect_out 'Editor\nPaint \xe2\x82\xac\nViewer\nPaint \xe2\x82\xac\nViewer\n' "catalog behind the link"
[ -f linked.xml.bak ] && [ ! -L linked.xml.bak ] || fail "no backup beside the link"
[ "$(sum linked.xml.bak)" = "$before" ] || fail "the backup is not the catalog as it was"
ls real/*.tmp >/dev/null 2>&1 && fail "temporary files left behind: $(ls real/*.tmp)"

ls *.tmp >/dev/null 2>&1 && fail "temporary files left behind: $(ls *.tmp)"

if [ "$failures" -gt 0 ]; then
  echo "$failures failure(s)"
  exit 1
fi
echo "kodrin-cli end-to-end: all passed"
