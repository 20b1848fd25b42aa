#!/bin/bash
# GIF suite files in the program: an animation of four frames with their own delays shows
# each frame's number and delay in the title, and each frame stepped to is drawn exactly as
# its rendering; with "Change GIF Background Colour" set to 00FF00 and its box ticked, a
# still picture's transparent pixels show green.
source "$(dirname "$0")/lib.sh"
needs_corpus

gifs=$LUMORA_CORPUS/gif-test-suite/gifs
name=animated_loop_variable_delay
use_config
start_lumora "$(winpath "$gifs/$name.gif")"
drive wait-window 10000 park-pointer wait-title "<1>of<4> delay=1000.0mS: $name.gif" 10000 \
  wait-title "<3>of<4> delay=100.0mS: $name.gif" 10000
# Resume starts again at frame 0; each single step then shows the next frame, paused.
drive send-command 1210
for frame in 1 2 3 0; do
  drive send-command 1209 settle 300 capture "$(winpath "$work/frame-$frame.bmp")"
done
# The 100-pixel picture is centred in the window's minimum width of 280 pixels.
left=90
for frame in 0 1 2 3; do
  shot=$work/frame-$frame.bmp
  cmp -s <(convert "$shot" -crop "100x100+$left+0" +repage ppm:-) <(convert "$gifs/frames/$name-$frame.png" ppm:-) ||
    fail "frame $frame is not drawn as its rendering"
done

drive command 5511 set-edit "Change GIF Background Colour" 1211 "00FF00" \
  set-check "Change GIF Background Colour" 1212 1 click-button "Change GIF Background Colour" 1 \
  drop 1 "$(winpath "$gifs/static_transparent.gif")" wait-title-contains "static_transparent.gif (100x100x" 10000 \
  settle 500 capture "$(winpath "$work/still.bmp")" close 10000
finish_lumora 0
[[ $(capture_pixel "$work/still.bmp" "$left" 0) == 00FF00 ]] || fail "a transparent pixel shows $(capture_pixel "$work/still.bmp" "$left" 0)"
[[ $(capture_pixel "$work/still.bmp" $((left + 50)) 50) == 8FBC8F ]] || fail "an opaque pixel shows $(capture_pixel "$work/still.bmp" $((left + 50)) 50)"
echo "ok: frame titles and frames of a GIF suite animation, the GIF background colour where transparent"
