#!/bin/bash
# "Create GIF Animation" over a folder of five pictures refuses a bad delay and plays the
# frames at the delay typed; "Decompose Animation Frames" writes the numbered files while
# it plays and it plays on; saved as a GIF while it plays, it plays on, and the file read
# again has the five frames and the delay.
source "$(dirname "$0")/lib.sh"

folder="$work/frames"
mkdir -p "$folder" "$work/out"
for i in 1 2 3 4 5; do
  drive make-pattern "$(winpath "$folder/p$i.bmp")" 40 30
done
build="Create GIF Animation"
decompose="Decompose Animation Frames"

use_config
start_lumora "$(winpath "$folder/p1.bmp")"
drive wait-window 10000 wait-title " p1.bmp (40x30x24)" 10000 \
  command 5504 expect-item "$build" 1221 equals "10" 10000 expect-check "$build" 1222 1 2000 \
  set-edit "$build" 1221 "fast" press "$build" 1 \
  expect-box Viewer equals "The delay must be a whole number of milliseconds (0 to 65535)." 10000 \
  click-button Viewer 1 set-edit "$build" 1221 "200" click-button "$build" 1 \
  wait-title-prefix "<1>of<5> delay=200.0mS: p1.bmp" 20000 wait-title-prefix "<2>of<5> delay=200.0mS" 3000 \
  wait-title-prefix "<5>of<5> " 3000 wait-title-prefix "<1>of<5> " 3000

# Taken apart while it plays: the base is the first picture's name, the type starts as
# JPEG (the animation is saved as GIF); it plays on from the first frame afterwards.
drive command 5505 expect-item "$decompose" 1231 equals "$(winpath "$folder/p1")" 10000 \
  expect-check "$decompose" 1233 1 2000 set-edit "$decompose" 1231 "$(winpath "$work/out/f")" \
  set-check "$decompose" 1232 1 click-button "$decompose" 1 \
  wait-title-prefix "<2>of<5> " 10000 wait-title-prefix "<3>of<5> " 3000 no-box "Viewer"
for i in 0 1 2 3 4; do
  [[ -f $work/out/f000$i.bmp ]] || fail "no f000$i.bmp: $(ls "$work/out")"
done
[[ ! -e $work/out/f0005.bmp ]] || fail "more files than frames: $(ls "$work/out")"
cmp <(tail -c 3600 "$folder/p3.bmp") <(tail -c 3600 "$work/out/f0002.bmp") || fail "frame 3 differs from p3.bmp"

# Saved as a GIF while it plays, it plays on (named after its first picture, as the
# program does not follow a saved file unless ChangeInputDir is on).
drive command 5 select-item "Save As" 1136 2 set-edit "Save As" 1148 "$(winpath "$work/out/anim")" \
  click-button "Save As" 1 wait-title "<1>of<5> delay=200.0mS: p1.bmp" 20000 \
  wait-title-prefix "<2>of<5> " 3000 close 10000
finish_lumora 0
[[ -f $work/out/anim.gif ]] || fail "Save As wrote no anim.gif: $(ls "$work/out")"

start_lumora "$(winpath "$work/out/anim.gif")"
drive wait-window 10000 wait-title "<1>of<5> delay=200.0mS: anim.gif" 10000 \
  wait-title-prefix "<2>of<5> delay=200.0mS" 3000 close 10000
finish_lumora 0
echo "ok: a folder becomes an animation at the typed delay; decomposed while it plays; saved and read again"
