#!/bin/sh
# render_icon.sh SVG NORMAL.ico DISABLED.ico
# Renders one icon source at 32x32 and 16x16 and packs both sizes, with their
# alpha channel, into NORMAL.ico; DISABLED.ico holds the same pictures in grey
# at reduced opacity, as toolbars show a button that cannot be pressed.
set -eu
svg=$1 normal=$2 disabled=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 32 16; do
  rsvg-convert --width=$size --height=$size --format=png --output="$work/n$size.png" "$svg"
  convert "$work/n$size.png" -modulate 115,0 -channel A -evaluate multiply 0.5 +channel \
    "PNG32:$work/d$size.png"
done
icotool --create --bit-depth=32 --output="$work/n.ico" "$work/n32.png" "$work/n16.png"
icotool --create --bit-depth=32 --output="$work/d.ico" "$work/d32.png" "$work/d16.png"
# Only complete icons reach the build tree, so a failed run is retried next time.
mv "$work/n.ico" "$normal"
mv "$work/d.ico" "$disabled"
