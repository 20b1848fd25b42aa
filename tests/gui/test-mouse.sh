#!/bin/bash
# The mouse and the variable rotation: the dialog's scroll bar and typed angle (30 degrees
# gives the canvas the rotation formulas give), "Get Colour" picking the background from
# the picture (the title names the colour under the pointer, the click reopens the
# dialog, and the rotated picture's corners take the colour), and panning with the middle
# button and with Shift+left. The crop selection has a test of its own.
source "$(dirname "$0")/lib.sh"

use_config
box="Rotate by variable angle"

drive make-pattern "$(winpath "$work/pattern.bmp")" 300 200 make-pattern "$(winpath "$work/large.bmp")" 2000 1500
start_lumora "$(winpath "$work/pattern.bmp")"
drive wait-window 10000 park-pointer wait-title " pattern.bmp (300x200x24)" 10000 \
  command 170 expect-item "$box" 1106 equals "0.0" 10000 \
  dialog-scroll "$box" 6021 1 0 expect-item "$box" 1106 equals "1.0" 2000 \
  dialog-scroll "$box" 6021 3 0 expect-item "$box" 1106 equals "7.0" 2000 \
  dialog-scroll "$box" 6021 6 0 expect-item "$box" 1106 equals "-180.0" 2000 \
  set-edit "$box" 1106 "thirty" press "$box" 1 expect-box Viewer contains "must be a number" 5000 \
  click-button Viewer 1 set-edit "$box" 1106 "30" click-button "$box" 1 \
  wait-title " pattern.bmp (359x323x24)" 10000 send-command 144 wait-title " pattern.bmp (300x200x24)" 10000

# Get Colour: the pointer over picture point (50, 30) shows its colour (the pattern's red
# is x, green y, blue 0x40); the click takes it and the dialog opens again with the angle.
drive command 170 expect-item "$box" 1106 equals "30.0" 10000 click-button "$box" 3 settle 300 \
  mouse move 50 30 wait-title "Colour <32,1E,40> at 50, 30" 5000 \
  mouse move 120 7 wait-title "Colour <78,07,40> at 120, 7" 5000 \
  mouse left-down 50 30 mouse left-up 50 30 expect-item "$box" 1106 equals "30.0" 10000 \
  wait-title " pattern.bmp (300x200x24)" 2000 click-button "$box" 1 \
  wait-title " pattern.bmp (359x323x24)" 10000 settle 500 capture "$(winpath "$work/rotated.bmp")"
[[ $(capture_pixel "$work/rotated.bmp" 0 0) == 321E40 ]] || fail "the rotated corner is $(capture_pixel "$work/rotated.bmp" 0 0), not the picked 321E40"
[[ $(capture_pixel "$work/rotated.bmp" 358 322) == 321E40 ]] || fail "the far corner is $(capture_pixel "$work/rotated.bmp" 358 322)"
drive send-command 144 wait-title " pattern.bmp (300x200x24)" 10000

# Panning: the picture follows the pointer through the scroll positions.
drive drop 1 "$(winpath "$work/large.bmp")" wait-title " large.bmp (2000x1500x24)" 10000 settle 10000 \
  map-point 0 0 mouse middle-down 300 300 mouse move 250 280 mouse move 200 250 mouse middle-up 200 250 \
  settle 1000 map-point 0 0 \
  mouse shift-left-down 300 300 mouse move 250 280 mouse left-up 250 280 settle 1000 map-point 0 0 \
  mouse middle-down 100 100 mouse move 900 900 mouse middle-up 900 900 settle 1000 map-point 0 0
[[ $(paste -sd, "$driver_output") == "0 0,100 50,150 70,0 0" ]] ||
  fail "panning gave the scroll positions $(paste -sd, "$driver_output")"

drive close 10000
finish_lumora 0
echo "ok: rotate dialog, colour picking and panning"
