#!/bin/bash
# Draws the program's artwork with ImageMagick: the opening bitmap "Viewer" (viewer.bmp,
# 400 x 240, 8 bits) and the "Viewer" icon (viewer.ico, 32 x 32 and 16 x 16). The results
# are kept in the repository; run this only to change them.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
font=/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

convert -size 400x240 gradient:'#10204a'-'#3a1850' \
  -fill '#f5c542' -draw 'circle 200,100 200,52' \
  -fill none -stroke '#ffe9a8' -strokewidth 3 -draw 'circle 200,100 200,40' \
  -stroke none -fill '#1a5e3a' -draw 'polygon 0,240 0,175 90,140 170,170 260,130 340,160 400,145 400,240' \
  -fill '#2f8a55' -draw 'polygon 0,240 0,200 120,170 230,195 320,175 400,190 400,240' \
  -font "$font" -pointsize 30 -fill white -gravity south -annotate +0+12 'Lumora' \
  +dither -colors 64 -type Palette -compress RLE "bmp3:$here/viewer.bmp"

for s in 32 16; do
  c=$((s / 2)) r=$((s * 3 / 10)) sy=$((s * 2 / 5))
  convert -size "${s}x${s}" xc:'#10204a' -fill '#f5c542' -draw "circle $c,$sy $c,$((sy - r))" \
    -fill '#2f8a55' -draw "polygon 0,$s 0,$((s * 7 / 10)) $((s / 3)),$((s * 6 / 10)) $((s * 2 / 3)),$((s * 3 / 4)) $s,$((s * 6 / 10)) $s,$s" \
    -type TrueColor "PNG24:$tmp/icon$s.png"
done
convert "$tmp/icon32.png" "$tmp/icon16.png" "$here/viewer.ico"
