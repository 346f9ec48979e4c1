#!/bin/sh
# build_help.sh PROJECT.hhp OUTPUT.chm
# Compiles the help project with chmcmd. The compiler's chatter is shown only
# when it fails; the output is replaced only by a complete help file.
set -eu
project=$1 output=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! (cd "$work" && chmcmd --verbosity 0 "$project") >"$work/log" 2>&1; then
  cat "$work/log" >&2
  echo "build_help.sh: chmcmd failed on $project" >&2
  exit 1
fi
chm=$(find "$work" -maxdepth 1 -name '*.chm' | head -n 1)
if [ -z "$chm" ] || [ "$(head -c 4 "$chm")" != "ITSF" ]; then
  cat "$work/log" >&2
  echo "build_help.sh: no compiled help file from $project" >&2
  exit 1
fi
mv "$chm" "$output"
