#!/bin/bash
# Insert Image: the first call loads the second picture (shown until the second call),
# the second brings the base picture back; a press, a drag and OK paste the second
# picture exactly where the outline was, clipped at the picture's edge; Cancel leaves
# the picture as it was. A cancelled Open dialog leaves nothing pending, and Undo takes
# every insertion back.
source "$(dirname "$0")/lib.sh"

use_config
open_box="Open"  # the system's own caption: the dialog has no title of its own
name_field=0x47C
area="300x200+0+0"
# A 20 x 10 red picture to insert (24 bits).
convert -size 20x10 xc:'#FF0000' -type TrueColor BMP3:"$work/small.bmp"
drive make-pattern "$(winpath "$work/base.bmp")" 300 200
start_lumora "$(winpath "$work/base.bmp")"
drive wait-window 10000 park-pointer wait-title " base.bmp (300x200x24)" 10000 settle 500 \
  capture "$(winpath "$work/original.bmp")" \
  command 40005 click-button "$open_box" 2 alive wait-title " base.bmp (300x200x24)" 2000 \
  command 40005 \
  set-edit "$open_box" $name_field "$(winpath "$work/small.bmp")" click-button "$open_box" 1 \
  wait-title " small.bmp (20x10x24)" 10000 \
  command 40005 wait-title " base.bmp (300x200x24)" 10000 settle 500 \
  mouse left-down 100 50 mouse move 105 55 mouse move 110 60 mouse left-up 110 60 \
  expect-box LUM equals "Insert image?" 10000 click-button LUM 1 settle 500 capture "$(winpath "$work/inserted.bmp")"
convert "$work/original.bmp" -crop "$area" +repage -fill '#FF0000' -draw 'rectangle 110,60 129,69' "$work/want.png"
convert "$work/inserted.bmp" -crop "$area" +repage "$work/inserted.png"
differing=$(compare -metric AE "$work/inserted.png" "$work/want.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "the inserted picture differs from the expected one in $differing pixels"

# Closing (or stepping on) between the two calls asks about the changed base picture, which is back on
# the screen when the question is answered with Cancel.
drive command 40005 set-edit "$open_box" $name_field "$(winpath "$work/small.bmp")" click-button "$open_box" 1 \
  wait-title " small.bmp (20x10x24)" 10000 command 8 expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 2 wait-title " base.bmp (300x200x24)" 10000 settle 500 capture "$(winpath "$work/kept.bmp")"
convert "$work/kept.bmp" -crop "$area" +repage "$work/kept.png"
differing=$(compare -metric AE "$work/kept.png" "$work/want.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "after closing was cancelled the base picture differs in $differing pixels"
# Stepping to the next file between the two calls asks about the base picture the same way.
drive command 40005 set-edit "$open_box" $name_field "$(winpath "$work/small.bmp")" click-button "$open_box" 1 \
  wait-title " small.bmp (20x10x24)" 10000 key L expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 2 wait-title " base.bmp (300x200x24)" 10000

# Cancel: the picture stays as it was; over the bottom-right corner the insertion is clipped.
drive command 40005 set-edit "$open_box" $name_field "$(winpath "$work/small.bmp")" click-button "$open_box" 1 \
  wait-title " small.bmp (20x10x24)" 10000 command 40005 wait-title " base.bmp (300x200x24)" 10000 settle 500 \
  mouse left-down 5 5 mouse left-up 5 5 expect-box LUM equals "Insert image?" 10000 click-button LUM 2 settle 500 \
  capture "$(winpath "$work/cancelled.bmp")" \
  command 40005 set-edit "$open_box" $name_field "$(winpath "$work/small.bmp")" click-button "$open_box" 1 \
  wait-title " small.bmp (20x10x24)" 10000 command 40005 wait-title " base.bmp (300x200x24)" 10000 settle 500 \
  mouse left-down 290 195 mouse left-up 290 195 expect-box LUM equals "Insert image?" 10000 click-button LUM 1 \
  settle 500 capture "$(winpath "$work/clipped.bmp")"
convert "$work/cancelled.bmp" -crop "$area" +repage "$work/cancelled.png"
differing=$(compare -metric AE "$work/cancelled.png" "$work/want.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "Cancel changed $differing pixels"
convert "$work/want.png" -fill '#FF0000' -draw 'rectangle 290,195 299,199' "$work/want-clipped.png"
convert "$work/clipped.bmp" -crop "$area" +repage "$work/clipped.png"
differing=$(compare -metric AE "$work/clipped.png" "$work/want-clipped.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "the clipped insertion differs in $differing pixels"

# Two undo steps take both insertions back; the picture is unchanged, so closing asks nothing.
drive send-command 144 send-command 144 settle 500 capture "$(winpath "$work/undone.bmp")" close 10000
finish_lumora 0
convert "$work/undone.bmp" -crop "$area" +repage "$work/undone.png"
convert "$work/original.bmp" -crop "$area" +repage "$work/original.png"
differing=$(compare -metric AE "$work/undone.png" "$work/original.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "after Undo the picture differs from the original in $differing pixels"
echo "ok: Insert Image places, clips, cancels and undoes"
