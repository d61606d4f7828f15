#!/bin/sh
# Makes the hicolor PNGs of the application icon from tamix.svg; their output
# is committed beside this script, so a build needs no SVG converter.
# usage: make_icons.sh   (needs rsvg-convert, Debian package librsvg2-bin)
set -e
here="$(cd "$(dirname "$0")" && pwd)"
for size in 16 32 48 64 128 256; do
  rsvg-convert --width "$size" --height "$size" --output "$here/tamix-$size.png" "$here/tamix.svg"
done
