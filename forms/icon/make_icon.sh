#!/usr/bin/env bash
# Draws the launcher's icon (a page turning into a picture) at 48, 32, 24 and 16 pixels,
# in 32-bit and 8-bit colour. Needs ImageMagick; the PNGs it writes are kept in the tree.
set -euo pipefail
cd "$(dirname "$0")"
big=$(mktemp --suffix=.png)
trap 'rm -f "$big"' EXIT
convert -size 256x256 xc:none \
  -fill '#1f5fc8' -draw 'roundrectangle 8,8 247,247 48,48' \
  -fill '#ffffff' -draw 'polygon 64,36 160,36 204,80 204,220 64,220' \
  -fill '#c9d8f5' -draw 'polygon 160,36 160,80 204,80' \
  -fill '#e8413a' -draw 'rectangle 64,36 140,70' \
  -fill '#3aa655' -draw 'polygon 76,204 122,138 150,176 166,158 194,204' \
  -fill '#f5b82e' -draw 'circle 170,118 170,134' \
  "$big"
for s in 48 32 24 16; do
  convert "$big" -resize ${s}x${s} "PNG32:icon-$s-32.png"
  convert "$big" -resize ${s}x${s} -colors 255 "PNG8:icon-$s-8.png"
done
