#!/bin/bash
# The quarter turns and flips from the menu: the picture on the screen is exactly what
# ImageMagick's -rotate and -flop give for the reference rendering, the title follows the
# new size, and Undo brings the picture back.
source "$(dirname "$0")/lib.sh"
needs_corpus

use_config
ref="$LUMORA_CORPUS/bmpsuite/html/rgb24.png"
start_lumora "$(winpath "$LUMORA_CORPUS/bmpsuite/g/rgb24.bmp")"
# 90 degrees clockwise: 64 x 127, centred in the minimum width of 280 ((280 - 64) / 2 = 108).
drive wait-window 10000 wait-title " rgb24.bmp (127x64x24)" 10000 \
  command 28 wait-title " rgb24.bmp (64x127x24)" 10000 settle 300 capture "$(winpath "$work/rot90.bmp")"
convert "$work/rot90.bmp" -crop "64x127+108+0" +repage "$work/rot90.png"
convert "$ref" -rotate 90 "$work/want90.png"
differing=$(compare -metric AE "$work/rot90.png" "$work/want90.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "Rotate 90 differs from convert -rotate 90 in $differing pixels"
# Undo, then flip horizontally (127 wide: (280 - 127) / 2 = 76 from the left).
drive send-command 144 wait-title " rgb24.bmp (127x64x24)" 10000 \
  command 19 settle 500 capture "$(winpath "$work/flop.bmp")"
convert "$work/flop.bmp" -crop "127x64+76+0" +repage "$work/flop.png"
convert "$ref" -flop "$work/wantflop.png"
differing=$(compare -metric AE "$work/flop.png" "$work/wantflop.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "Flip horizontally differs from convert -flop in $differing pixels"
drive send-command 144 settle 500 close 10000
finish_lumora 0
echo "ok: rotate 90 and flip from the menu match ImageMagick, and Undo restores"
