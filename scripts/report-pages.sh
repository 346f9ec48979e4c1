#!/usr/bin/env bash
# Turns the PostScript jobs that the screenshot run printed into
# docs/screenshots (report-*.ps) into PNG pictures of their first page with
# Ghostscript (a landscape job turned upright with ImageMagick), and removes
# the jobs.
set -eu
folder=${1:-docs/screenshots}
shopt -s nullglob
for job in "$folder"/report-*.ps; do
  gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -r72 -dFirstPage=1 -dLastPage=1 \
     -sOutputFile="${job%.ps}.png" "$job"
  if grep -q '^%%Orientation: Landscape' "$job"; then
    convert "${job%.ps}.png" -rotate 90 "${job%.ps}.png"
  fi
  rm -f "$job"
done
