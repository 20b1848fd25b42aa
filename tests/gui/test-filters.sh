#!/bin/bash
# The filters: J blurs the picture as one undo step; "Select Filter Type" opens on the
# entry last chosen, and its "Invert" with Red unticked inverts green and blue only; U
# opens "User Defined Filter 3*3 Matrix" with the entry's kernel, whose edits recompute
# the calculated divisor and clear the divisor field, and whose Cancel changes nothing.
# I makes the negative and "Swap Red and Blue" swaps those channels.
source "$(dirname "$0")/lib.sh"

use_config
drive make-pattern "$(winpath "$work/one.bmp")" 300 200
select="Select Filter Type"
user="User Defined Filter 3*3 Matrix"
start_lumora "$(winpath "$work/one.bmp")"
drive wait-window 10000 wait-title " one.bmp (300x200x24)" 10000 settle 2000 capture "$(winpath "$work/before.bmp")" \
  key J wait-title " one.bmp (300x200x24)" 10000 capture "$(winpath "$work/blurred.bmp")" \
  send-command 144 settle 500 capture "$(winpath "$work/undone.bmp")"
! cmp -s "$work/before.bmp" "$work/blurred.bmp" || fail "J left the picture as it was"
cmp "$work/before.bmp" "$work/undone.bmp" || fail "Undo did not bring the picture back"

# Other Filters: entry 2 ("Blur lots", last loaded by J) is checked; Invert without red.
drive command 5513 expect-check "$select" 6102 1 10000 expect-check "$select" 6039 1 1000 \
  set-check "$select" 6108 1 set-check "$select" 6039 0 click-button "$select" 1 \
  wait-title " one.bmp (300x200x24)" 10000 capture "$(winpath "$work/inverted.bmp")"
convert "$work/before.bmp" -crop 300x200+0+0 +repage -channel GB -negate +channel "$work/want.png"
convert "$work/inverted.bmp" -crop 300x200+0+0 +repage "$work/got.png"
differing=$(compare -metric AE "$work/got.png" "$work/want.png" null: 2>&1) || true
[[ $differing == 0 ]] || fail "Invert without red differs from convert's in $differing pixels"

# U: the user kernel; an edit recomputes the sum and clears the divisor; Cancel keeps all.
drive key U expect-item "$user" 15 equals "1" 10000 expect-item "$user" 11 equals "0" 1000 \
  expect-item "$user" 6038 equals "1" 1000 expect-item "$user" 6036 equals "1" 1000 \
  expect-check "$user" 6039 0 1000 set-edit "$user" 11 "3" expect-item "$user" 6038 equals "4" 5000 \
  expect-item "$user" 6036 equals "0" 1000 click-button "$user" 2 alive \
  capture "$(winpath "$work/kept.bmp")" key U expect-item "$user" 11 equals "0" 10000 click-button "$user" 2 \
  key I settle 500 capture "$(winpath "$work/negative.bmp")" command 45 settle 500 capture "$(winpath "$work/swapped.bmp")" \
  close-saying-no 10000
finish_lumora 0
cmp "$work/inverted.bmp" "$work/kept.bmp" || fail "a cancelled user filter changed the picture"
# I: the negative of the inverted picture; then Swap Red and Blue.
same_as() {  # capture, convert operations on the inverted capture
  local shot=$1
  shift
  convert "$work/inverted.bmp" -crop 300x200+0+0 +repage "$@" "$work/want.png"
  convert "$shot" -crop 300x200+0+0 +repage "$work/got.png"
  [[ $(compare -metric AE "$work/got.png" "$work/want.png" null: 2>&1) == 0 ]]
}
same_as "$work/negative.bmp" -negate || fail "I did not make the negative"
same_as "$work/swapped.bmp" -negate -separate -swap 0,2 -combine || fail "Swap Red and Blue did not swap them"
echo "ok: menu and dialog filters change the picture as chosen; the user filter dialog follows its edits"
