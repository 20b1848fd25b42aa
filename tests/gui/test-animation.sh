#!/bin/bash
# An animated GIF plays on its frame timer: the title counts every frame and wraps; a
# command that changes the picture does nothing while it plays; Space steps one frame a
# press and stops the timer, and lets that command work again; Resume starts again from
# frame 1 at speed 100; "Animation Control" with animation turned off reloads the file as
# its first frame only; "Change GIF Background Colour" refuses a bad colour and stores a
# good one in LUM.INI.
source "$(dirname "$0")/lib.sh"
needs_corpus

folder="$work/anim"
mkdir -p "$folder"
cp "$LUMORA_CORPUS/image-rs-image/images/gif/anim/any-disposal.gif" "$folder/a.gif"
depth="Enter Required Bits Per Pixel"
setup="Animation Control"
background="Change GIF Background Colour"

frame_number() {
  drive title
  local title
  title=$(head -n 1 "$driver_output")
  [[ $title =~ ^\<([0-9]+)\>of\<5\> ]] || fail "no frame number in the title \"$title\""
  echo "${BASH_REMATCH[1]}"
}

use_config
start_lumora "$(winpath "$folder/a.gif")"
# The file's frames last a second; four presses of '4' make them 0.8333^4 as long from
# the next frame on.
drive wait-window 10000 key 4 key 4 key 4 key 4 \
  wait-title "<2>of<5> delay=482.2mS: a.gif" 10000 wait-title-prefix "<3>of<5> " 3000 \
  wait-title-prefix "<4>of<5> " 3000 wait-title-prefix "<5>of<5> " 3000 \
  wait-title-prefix "<1>of<5> delay=482.2mS" 3000 wait-title-prefix "<2>of<5> " 3000 \
  command 516 alive no-box "$depth" command 120 alive no-box "Resize Image"

drive key SPACE alive
first=$(frame_number)
for press in 1 2 3 4 5 6; do
  drive key SPACE alive
  next=$(frame_number)
  [[ $next == $((first % 5 + 1)) ]] || fail "press $press showed frame $next after frame $first"
  first=$next
done
sleep 1.2  # several frame intervals: a stopped timer shows nothing new
[[ $(frame_number) == "$first" ]] || fail "the animation went on after single steps"
# Stepping by hand lets the picture commands work again.
drive command 516 click-button "$depth" 2 alive

drive command 1210 wait-title "<1>of<5> delay=1000.0mS: a.gif" 10000 wait-title-prefix "<2>of<5> " 3000 \
  command 27 expect-item "$setup" 1201 equals "100" 10000 expect-check "$setup" 1202 1 2000 \
  expect-check "$setup" 1203 1 2000 set-edit "$setup" 1201 "fast" press "$setup" 1 \
  expect-box Viewer equals "The speed must be a whole number of percent (1 to 1000000)." 10000 \
  click-button Viewer 1 set-edit "$setup" 1201 "150" set-check "$setup" 1202 0 click-button "$setup" 1 \
  wait-title-suffix " a.gif (32x32x8)" 10000
sleep 0.5
drive title
[[ $(head -n 1 "$driver_output") == *" a.gif (32x32x8)" ]] || fail "the reloaded file still plays"

drive command 5511 expect-item "$background" 1211 equals "000000" 10000 expect-check "$background" 1212 0 2000 \
  set-edit "$background" 1211 "12345" press "$background" 1 \
  expect-box Viewer equals "Enter the colour as six hex digits RRGGBB, for example FF8000." 10000 \
  click-button Viewer 1 set-edit "$background" 1211 "1a2B3c" set-check "$background" 1212 1 \
  click-button "$background" 1 command 5511 expect-item "$background" 1211 equals "1A2B3C" 10000 \
  click-button "$background" 2 close 10000
finish_lumora 0
ini="$user_config/LUM.INI"
[[ $(config_value "$ini" GIFBackgroundColour) == 1A2B3C ]] || fail "GIFBackgroundColour is $(config_value "$ini" GIFBackgroundColour)"
[[ $(config_value "$ini" GIFUserPackground) == TRUE ]] || fail "GIFUserPackground is $(config_value "$ini" GIFUserPackground)"
echo "ok: a GIF plays, steps, resumes, blocks picture commands; its two dialogs store their settings"
