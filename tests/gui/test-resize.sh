#!/bin/bash
# "Re&size" through its dialog on a 160 x 100 picture: a width of 80 with the aspect kept
# fills in a height of 50 and factors of 0.5; Cancel keeps the picture; OK resizes it to
# exactly the engine's nearest-neighbour and then its interpolated result; factors left
# from an earlier use do not resize a picture whose size fields were not touched; a size
# beyond 65535 and a width that is no number are refused with a message, the picture kept.
source "$(dirname "$0")/lib.sh"

: "${LUMORA_BENCH_OPS:?}"
box="Resize Image"
picture="$work/p.bmp"
drive make-pattern "$(winpath "$picture")" 160 100
shown=" p.bmp (160x100x24)"
halved=" p.bmp (80x50x24)"

# The engine's own result for the same request, next to the picture on the screen (drawn
# at the left edge of the minimum window width of 280).
check_pixels() {
  local method=$1 name=$2
  "$LUMORA_BENCH_OPS" "resize-$method" 80 50 "$picture" "$work/$name-expected.ppm" 2>/dev/null ||
    fail "the engine's reference resize failed"
  convert "$work/$name.bmp" -crop "80x50+100+0" +repage "$work/$name.png"
  differing=$(compare -metric AE "$work/$name.png" "$work/$name-expected.ppm" null: 2>&1) || true
  [[ $differing == 0 ]] || fail "the $method resize differs from the engine's in $differing pixels"
}

use_config
start_lumora "$(winpath "$picture")"
drive wait-window 10000 wait-title "$shown" 10000 \
  command 120 expect-item "$box" 123 equals "160" 10000 expect-item "$box" 124 equals "100" 2000 \
  expect-item "$box" 125 equals "1.000000" 2000 expect-item "$box" 126 equals "1.000000" 2000 \
  expect-check "$box" 122 1 2000 expect-check "$box" 127 1 2000 \
  set-edit "$box" 123 "80" expect-item "$box" 124 equals "50" 2000 \
  expect-item "$box" 125 equals "0.500000" 2000 expect-item "$box" 126 equals "0.500000" 2000 \
  click-button "$box" 2 alive wait-title "$shown" 2000 \
  key S expect-item "$box" 125 equals "1.000000" 10000 \
  set-edit "$box" 123 "80" expect-item "$box" 124 equals "50" 2000 set-check "$box" 122 0 \
  click-button "$box" 1 wait-title "$halved" 10000 settle 300 capture "$(winpath "$work/nearest.bmp")"
check_pixels nearest nearest

# Undo, then the dialog opens with the remembered factors and flag; OK at once keeps the
# picture. Typing the height and ticking interpolation gives the interpolated result.
drive send-command 144 wait-title "$shown" 10000 \
  command 120 expect-item "$box" 125 equals "0.500000" 10000 expect-check "$box" 122 0 2000 \
  expect-item "$box" 123 equals "160" 2000 click-button "$box" 1 alive settle 300 wait-title "$shown" 2000 \
  key 1 expect-item "$box" 123 equals "160" 10000 set-edit "$box" 124 "50" \
  expect-item "$box" 123 equals "80" 2000 set-check "$box" 122 1 \
  click-button "$box" 1 wait-title "$halved" 10000 settle 300 capture "$(winpath "$work/bilinear.bmp")"
check_pixels bilinear bilinear

# 80 x 1000 = 80000 pixels wide: refused, picture and title as they were.
drive command 120 expect-item "$box" 123 equals "80" 10000 set-edit "$box" 125 "1000" \
  expect-item "$box" 123 equals "80000" 2000 click-button "$box" 1 \
  expect-box Viewer equals "Resize failed!" 10000 click-button Viewer 1 alive wait-title "$halved" 2000 \
  capture "$(winpath "$work/refused.bmp")"
cmp "$work/bilinear.bmp" "$work/refused.bmp" || fail "the refused resize changed the picture"
# A width that is no number: the message, and the dialog stays open for a correction.
drive command 120 expect-item "$box" 123 equals "80" 10000 set-edit "$box" 124 "x" press "$box" 1 \
  expect-box Viewer equals "The width and height must be whole numbers of pixels." 10000 click-button Viewer 1 \
  expect-item "$box" 124 equals "x" 2000 click-button "$box" 2 alive wait-title "$halved" 2000 \
  send-command 144 wait-title "$shown" 10000 close 10000
finish_lumora 0
echo "ok: the resize dialog keeps its fields in step, Cancel keeps, OK resizes as the engine does"
