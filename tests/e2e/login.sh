#!/usr/bin/env bash
# Web logins with a real browser: headless Chromium (Debian's
# chromium-headless-shell) on the loopback address with its own user-data
# folder, the login pages of login_pages.py that record what was posted,
# and the program's Login command run under Wine by login_driver.exe,
# attached to that browser through the test-only endpoint setting
# (KODRIN_DEVTOOLS_ENDPOINT), since the Windows program cannot start the
# Linux browser itself.
set -u
: "${KODRIN_BUILD:?}" "${KODRIN_SOURCE:?}"
if [ "${KODRIN_WINDOWS:-0}" != 1 ]; then
  echo "the login driver exists only in the Windows build"; exit 0
fi
export WINEPREFIX=${WINEPREFIX:-$KODRIN_BUILD/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$KODRIN_SOURCE/scripts/wine-prefix" || exit 1

work=$(mktemp -d)
browser="" server=""
cleanup() {
  [ -n "$browser" ] && kill "$browser" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# wait_file FILE SECONDS: until the file exists and is not empty.
wait_file() {
  local i
  for ((i = 0; i < $2 * 10; i++)); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

python3 "$KODRIN_SOURCE/tests/e2e/login_pages.py" "$work/port" "$work/posts" &
server=$!
chromium-headless-shell --remote-debugging-port=0 --remote-debugging-address=127.0.0.1 \
  --user-data-dir="$work/profile" --no-sandbox --no-first-run about:blank >"$work/browser.log" 2>&1 &
browser=$!
wait_file "$work/port" 20 || { echo "FAIL: the page server did not start"; exit 1; }
wait_file "$work/profile/DevToolsActivePort" 30 || { echo "FAIL: the browser did not start"; cat "$work/browser.log"; exit 1; }
site="http://127.0.0.1:$(cat "$work/port")"
devtools=127.0.0.1:$(head -n 1 "$work/profile/DevToolsActivePort")
export KODRIN_DEVTOOLS_ENDPOINT=$devtools

# catalog NAME PAGE AUTOLOGIN FIELD...: a data file with one record whose
# login page is PAGE ("home:PAGE": no login page, the home page PAGE); each
# FIELD is "name|value|type".
catalog() {
  python3 - "$work/$1.xml" "$site$2" "$3" "${@:4}" <<'PY'
import sys
from xml.sax.saxutils import escape
path, page, auto, fields = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
lines = ['<KODRIN>', '<DATAVERSION>1000</DATAVERSION>', '<CATEGORYLIST>', '<CATEGORYNAME>Web</CATEGORYNAME>',
         '</CATEGORYLIST>', '<OPTIONS>', '<CURCATEGORY>Web</CURCATEGORY>', '</OPTIONS>', '<APPLICATIONLIST>',
         '<APPLICATION>']
for field in fields:
    name, value, kind = field.split('|')
    lines += ['<LOGINDATA>', f'<LOGINFIELD>{escape(name)}</LOGINFIELD>', f'<LOGINVALUE>{escape(value)}</LOGINVALUE>',
              f'<LOGINTYPE>{kind}</LOGINTYPE>', '</LOGINDATA>']
lines += ['<CATEGORYLIST>', '<CATEGORY>Web</CATEGORY>', '</CATEGORYLIST>']
if '/home:' in page:
    lines.append(f'<HOMEPAGE>{escape(page.replace("/home:", "/", 1))}</HOMEPAGE>')
else:
    lines.append(f'<LOGINPAGE>{escape(page)}</LOGINPAGE>')
lines.append('<PROGRAM>Site</PROGRAM>')
if auto == '0':
    lines.append('<AUTOLOGIN/>')
lines += ['</APPLICATION>', '</APPLICATIONLIST>', '</KODRIN>', '']
open(path, 'wb').write('\r\n'.join(lines).encode('utf-16-le'))
PY
}

# login NAME [CANCEL_MS]: runs the Login command (3005) on NAME.xml; with
# COMMAND=activate set, activates the row (a double click) instead.
login() {
  local path="Z:$(printf '%s' "$work/$1.xml" | tr / '\\')"
  timeout 120 "$KODRIN_SOURCE/scripts/wine-run" "$KODRIN_BUILD/tests/login_driver.exe" "$path" "${COMMAND:-3005}" ${2:-} \
    >"$work/$1.out" 2>"$work/$1.err" || fail "$1: the driver failed: $(cat "$work/$1.err")"
  # A second submission would come right after the first.
  sleep 1
}

# posted PAGE: what the posts to /post/PAGE carried, one JSON object per post.
posted() { python3 -c "
import json, sys
for line in open('$work/posts'):
    r = json.loads(line)
    if r['page'] == sys.argv[1]: print(json.dumps({k: v[0] for k, v in sorted(r['fields'].items())}))
" "$1" 2>/dev/null; }

# expect_post PAGE JSON: exactly one post to PAGE, carrying exactly JSON.
expect_post() {
  local got
  got=$(posted "$1")
  [ "$got" = "$2" ] || fail "$1: posted '$got', expected '$2'"
}

# A plain form, auto login: the stored values are posted, exactly once.
catalog plain /plain 1 'user|alice|0' 'pass|s3cret|1'
login plain
expect_post plain '{"pass": "s3cret", "user": "alice"}'

# A stored submit button named <auto>: the button is clicked (its name and
# caption travel with the post), the form is not submitted as well, and
# the name it resolved to is saved with the catalog after the login.
: >"$work/posts"
catalog button /plain 1 'user|bob|0' 'pass|pw2|1' '<auto>||3'
login button
expect_post plain '{"go": "Sign in", "pass": "pw2", "user": "bob"}'
python3 -c "import sys; sys.exit(0 if '<LOGINFIELD>sign in</LOGINFIELD>' in open('$work/button.xml','rb').read().decode('utf-16-le') else 1)" \
  || fail "button: the learned submit button name was not saved"

# The login form inside a frame: filled there; the page's own form is left
# alone. A double click on the row logs in (CLICKLOGIN is on by default).
catalog framed /framed 1 'user|carol|0' 'pass|pw3|1'
COMMAND=activate login framed
expect_post framed '{"pass": "pw3", "user": "carol"}'
[ -z "$(posted top)" ] || fail "framed: the top document's form was submitted: $(posted top)"

# Inputs that appear 500 ms after the load: a later attempt fills them.
catalog late /late 1 'user|dave|0' 'pass|pw4|1'
login late
expect_post late '{"pass": "pw4", "user": "dave"}'

# Names that say nothing: the automatic choice scores both inputs 1 and so
# takes the first for both fields; the autocomplete marks are not looked at.
catalog autocomplete /autocomplete 1 '<auto>|erin|0' '<auto>|pw5|1'
login autocomplete
expect_post autocomplete '{"field_a": "pw5", "field_b": ""}'

# Three password inputs: the automatic choice takes the first input whose
# name ends in "password" (10 points); the named fields fill their own.
catalog change /change 1 '<auto>|old-secret|1' 'new_password|new-secret|1' 'new_password_again|new-secret|1'
login change
expect_post change '{"current_password": "old-secret", "new_password": "new-secret", "new_password_again": "new-secret"}'

# No login page: the Login command opens the home page, filling nothing.
: >"$work/posts"
catalog home /home:plain?home=1 1 'user|gina|0'
login home
[ -z "$(posted plain)" ] || fail "home: the home page was submitted: $(posted plain)"
tabs() { python3 -c "
import json, sys, urllib.request
print(sum(1 for t in json.load(urllib.request.urlopen('http://$devtools/json/list')) if t.get('url', '').endswith(sys.argv[1])))" "$1"; }
[ "$(tabs '/plain?home=1')" = 1 ] || fail "home: the home page is not open"

# Cancel while the page is still loading: the command ends at once and the
# tab of the page is closed.
catalog slow /slow 1 'user|frank|0'
login slow 2000
took=$(sed -n 's/^done //p' "$work/slow.out" | tr -d '\r')
[ -n "$took" ] && [ "$took" -lt 15000 ] || fail "slow: the cancelled login took '${took}' ms"
tabs=$(tabs /slow)
[ "$tabs" = 0 ] || fail "slow: $tabs tab(s) of the cancelled page are still open"

[ "$failures" = 0 ] && echo "all passed"
exit $((failures > 0))
