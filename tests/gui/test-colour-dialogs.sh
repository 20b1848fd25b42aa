#!/bin/bash
# The colour dialogs on a flat picture of (100, 150, 200): "Adjust Colours" adds what
# its bars show, "Adjust Brightness" adds to every channel, "Monochrome" opens at level
# 128 and turns the picture black below its level, "Adjust Hue, Saturation and Value"
# takes a typed value, the histogram counts the pixels, and "Get Pixel Colour" shows the
# clicked pixel's colour; "Gamma Correction" at power 200 squares the values, and its
# "User Defined" opens the user curve. Cancel changes nothing.
source "$(dirname "$0")/lib.sh"

use_config
convert -size 300x200 "xc:rgb(100,150,200)" "bmp3:$work/flat.bmp"
colours="Adjust Colours"
bright="Adjust Brightness"
mono="Monochrome"
hsv="Adjust Hue, Saturation and Value"
histogram="Colour Histogram"
pixel="Display Pixel RGB Colour Value"
gamma="Gamma Correction"
manual="Manual Gamma Colour Values"

pixel_at_5_5() {  # capture file: the pixel as #RRGGBB
  convert "$1" -crop 1x1+5+5 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'
}
expect_pixel() {  # capture name, #RRGGBB
  drive capture "$(winpath "$work/$1.bmp")"
  [[ $(pixel_at_5_5 "$work/$1.bmp") == "$2" ]] || fail "$1: the picture is $(pixel_at_5_5 "$work/$1.bmp"), not $2"
}

start_lumora "$(winpath "$work/flat.bmp")"
drive wait-window 10000 wait-title " flat.bmp (300x200x24)" 10000 settle 2000 \
  command 41 expect-item "$colours" 13 equals "0" 10000 dialog-scroll "$colours" 10 4 -20 \
  expect-item "$colours" 13 equals "20" 2000 click-button "$colours" 2 alive
expect_pixel cancelled "#6496C8"
drive command 41 expect-item "$colours" 13 equals "0" 10000 dialog-scroll "$colours" 10 4 -20 \
  dialog-scroll "$colours" 12 0 0 expect-item "$colours" 15 equals "1" 2000 click-button "$colours" 1 alive
expect_pixel offsets "#7896C9"
drive command 1050 expect-item "$bright" 13 equals "0" 10000 dialog-scroll "$bright" 1051 4 -10 \
  expect-item "$bright" 13 equals "10" 2000 click-button "$bright" 1 alive
expect_pixel brighter "#82A0D3"
drive command 44 expect-item "$mono" 117 equals "127" 10000 dialog-scroll "$mono" 116 4 200 \
  expect-item "$mono" 117 equals "55" 2000 click-button "$mono" 1 alive
expect_pixel black "#000000"
drive send-command 144 settle 500 command 49 expect-item "$hsv" 480 equals "0" 10000 \
  expect-item "$hsv" 55 equals "100" 1000 expect-item "$hsv" 56 equals "100" 1000 set-edit "$hsv" 56 "0" \
  click-button "$hsv" 1 alive
expect_pixel dark "#000000"
drive send-command 144 settle 500 command 176 expect-item "$histogram" 1121 equals "60000" 10000 \
  expect-item "$histogram" 15 equals "60000" 1000 click-button "$histogram" 1 alive \
  command 137 click left 5 5 expect-item "$pixel" 1089 equals "82A0D3" 10000 expect-item "$pixel" 1091 equals "130" 1000 \
  expect-item "$pixel" 1094 equals "160" 1000 expect-item "$pixel" 1095 equals "211" 1000 click-button "$pixel" 1 alive \
  command 1300 expect-item "$gamma" 1043 equals "100" 10000 expect-check "$gamma" 1040 1 1000 \
  set-edit "$gamma" 1043 "200" click-button "$gamma" 1 alive
expect_pixel squared "#4264AE"
# The power starts at 100 again; "User Defined" opens the control values of the straight
# line, whose Cancel changes nothing.
drive command 1300 expect-item "$gamma" 1043 equals "100" 10000 click-button "$gamma" 1042 \
  expect-item "$manual" 201 equals "16" 10000 expect-item "$manual" 216 equals "255" 1000 \
  dialog-scroll "$manual" 101 4 0 expect-item "$manual" 201 equals "255" 1000 click-button "$manual" 2 alive
expect_pixel kept "#4264AE"
# "Auto Contrast" on a flat picture: nothing to stretch, the picture stays.
drive command 1050 expect-item "$bright" 13 equals "0" 10000 click-button "$bright" 3 alive
expect_pixel stretched "#4264AE"
drive close-saying-no 10000
finish_lumora 0
echo "ok: the colour dialogs change the picture as their bars say, and only on OK"
