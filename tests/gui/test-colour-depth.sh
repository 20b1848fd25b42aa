#!/bin/bash
# Reduce Colour Depth through its dialog: the box opens with the current depth and the
# dither method checked; a typed 2 snaps to 1 bit and the one-pass method turns a 24-bit
# picture into pure black and white, named with 1 bit in the title. Undo brings the
# picture back exactly and Redo the reduction; Cancel and a depth of 24 change nothing.
source "$(dirname "$0")/lib.sh"
needs_corpus

use_config
box="Enter Required Bits Per Pixel"
start_lumora "$(winpath "$LUMORA_CORPUS/bmpsuite/g/rgb24.bmp")"
drive wait-window 10000 wait-title " rgb24.bmp (127x64x24)" 10000 \
  command 516 expect-item "$box" 130 equals "24" 10000 \
  set-edit "$box" 130 "30" click-button "$box" 1 alive wait-title " rgb24.bmp (127x64x24)" 2000 \
  command 516 expect-item "$box" 130 equals "24" 10000 \
  set-edit "$box" 130 "2" press "$box" 600 settle 300 click-button "$box" 1 \
  wait-title " rgb24.bmp (127x64x1)" 10000 capture "$(winpath "$work/reduced.bmp")"
# The picture (centred in the minimum width of 280) holds only black and white.
convert "$work/reduced.bmp" -crop "127x64+76+0" +repage "$work/reduced.png"
colours=$(convert "$work/reduced.png" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort | tr '\n' ' ')
[[ $colours == "#000000 #FFFFFF " ]] || fail "the reduced picture holds the colours $colours"
differing=$(compare -metric AE "$work/reduced.png" "$LUMORA_CORPUS/bmpsuite/html/rgb24.png" null: 2>&1) || true
((differing > 0)) || fail "the reduced picture equals the original"

# The dialog remembers 1 bit; Cancel keeps the picture as it is.
drive command 516 expect-item "$box" 130 equals "1" 10000 set-edit "$box" 130 "8" click-button "$box" 2 alive \
  command 516 expect-item "$box" 130 equals "1" 10000 click-button "$box" 2 alive \
  capture "$(winpath "$work/cancelled.bmp")"
cmp "$work/reduced.bmp" "$work/cancelled.bmp" || fail "Cancel changed the picture"

# Undo restores the 24-bit picture pixel for pixel.
drive send-command 144 settle 500 capture "$(winpath "$work/undone.bmp")"
convert "$work/undone.bmp" -crop "127x64+76+0" +repage "$work/undone.png"
differing=$(compare -metric AE "$work/undone.png" "$LUMORA_CORPUS/bmpsuite/html/rgb24.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "after Undo the picture differs from the original in $differing pixels"
# Redo returns to the reduced picture.
drive send-command 145 settle 500 capture "$(winpath "$work/redone.bmp")"
cmp "$work/reduced.bmp" "$work/redone.bmp" || fail "Redo did not bring the reduced picture back"
# The dialog opens with the one-pass method still checked: a typed 5 snaps to 4 bits, and
# the fixed 4-bit palette holds only full or empty channels (an adaptive palette would not).
drive send-command 144 settle 500 command 516 expect-item "$box" 130 equals "1" 10000 \
  set-edit "$box" 130 "5" click-button "$box" 1 wait-title " rgb24.bmp (127x64x4)" 10000 \
  capture "$(winpath "$work/four.bmp")"
convert "$work/four.bmp" -crop "127x64+76+0" +repage "$work/four.png"
levels=$(convert "$work/four.png" -separate -append -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' |
  sort -u | tr '\n' ' ')
[[ $levels == "#000000 #FFFFFF " ]] || fail "the 4-bit picture holds channel levels $levels"
drive send-command 144 settle 500 close 10000
finish_lumora 0
echo "ok: the colour-depth dialog reduces to 1 bit, Cancel keeps, Undo restores, Redo reduces again"
