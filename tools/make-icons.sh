#!/bin/sh
# Renders the program's icon, resources/icons/vardel.svg, as the PNG sizes desktops look for.
# Needs rsvg-convert (apt-get install librsvg2-bin). Run from the repository root: sh tools/make-icons.sh
set -e
dir="$(dirname "$0")/../resources/icons"
for size in 16 22 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" "$dir/vardel.svg" --output "$dir/vardel-$size.png"
done
