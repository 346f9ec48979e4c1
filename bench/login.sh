#!/usr/bin/env bash
# How long a web login takes: from the Login command to the form posted on a
# local page, with the browser already running (headless Chromium, attached
# through the test-only endpoint). A benchmark, not a test: it prints the
# time of each run and their median.
#
#   bench/login.sh [RUNS]     (default 5)
#
# The program runs under Wine through tests/e2e's login driver; the times
# are the driver's clock at the command's start against the page server's
# clock at the post (the same machine's clock).
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
build=$here/build/windows
export WINEPREFIX=${WINEPREFIX:-$build/wineprefix}
export WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cmake --build "$build" --target login_driver >/dev/null
"$here/scripts/wine-prefix"

work=$(mktemp -d)
browser="" server=""
cleanup() {
  [ -n "$browser" ] && kill "$browser" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
wait_file() { for ((i = 0; i < $2 * 10; i++)); do [ -s "$1" ] && return 0; sleep 0.1; done; return 1; }

python3 "$here/tests/e2e/login_pages.py" "$work/port" "$work/posts" &
server=$!
chromium-headless-shell --remote-debugging-port=0 --remote-debugging-address=127.0.0.1 \
  --user-data-dir="$work/profile" --no-sandbox --no-first-run about:blank >/dev/null 2>&1 &
browser=$!
wait_file "$work/port" 20
wait_file "$work/profile/DevToolsActivePort" 30
export KODRIN_DEVTOOLS_ENDPOINT=127.0.0.1:$(head -n 1 "$work/profile/DevToolsActivePort")
site="http://127.0.0.1:$(cat "$work/port")"

python3 - "$work/catalog.xml" "$site/plain" <<'PY'
import sys
lines = ['<KODRIN>', '<DATAVERSION>1000</DATAVERSION>', '<CATEGORYLIST>', '<CATEGORYNAME>Web</CATEGORYNAME>',
         '</CATEGORYLIST>', '<OPTIONS>', '<CURCATEGORY>Web</CURCATEGORY>', '</OPTIONS>', '<APPLICATIONLIST>',
         '<APPLICATION>', '<LOGINDATA>', '<LOGINFIELD>user</LOGINFIELD>', '<LOGINVALUE>alice</LOGINVALUE>',
         '</LOGINDATA>', '<LOGINDATA>', '<LOGINFIELD>pass</LOGINFIELD>', '<LOGINVALUE>s3cret</LOGINVALUE>',
         '<LOGINTYPE>1</LOGINTYPE>', '</LOGINDATA>', '<CATEGORYLIST>', '<CATEGORY>Web</CATEGORY>', '</CATEGORYLIST>',
         f'<LOGINPAGE>{sys.argv[2]}</LOGINPAGE>', '<PROGRAM>Site</PROGRAM>', '</APPLICATION>', '</APPLICATIONLIST>',
         '</KODRIN>', '']
open(sys.argv[1], 'wb').write('\r\n'.join(lines).encode('utf-16-le'))
PY
catalog="Z:$(printf '%s' "$work/catalog.xml" | tr / '\\')"

times=()
for ((run = 1; run <= runs; run++)); do
  : >"$work/posts"
  "$here/scripts/wine-run" "$build/tests/login_driver.exe" "$catalog" 3005 >"$work/out" 2>/dev/null
  start=$(sed -n 's/^start //p' "$work/out" | tr -d '\r')
  posted=$(python3 -c "import json; print(json.loads(open('$work/posts').readline())['time'])")
  ms=$((posted - start))
  times+=("$ms")
  echo "run $run: Login command to posted form: $ms ms"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
echo "median of $runs runs: $median ms (target: at most 3000 ms)"
