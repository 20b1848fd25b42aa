#!/bin/bash
# The crop tool with the mouse. A drag shows a crosshair through the press and the selected
# area inverted, with its size in the title; the release asks "Crop Image" with the size in
# picture pixels: "Don't crop" leaves the picture as it was, "Crop now" cuts it out, "Move
# or Resize selection" lets drags move and resize it until a double click asks again. In
# Half the picture sizes are twice the window's; a fixed ratio of 4:3 makes a square drag
# 4:3; a click without a drag asks nothing; Escape during a drag takes the marks away. With
# SaveJPEGImmediate a cropped JPEG is written and the program closes, unless the write
# fails, and it writes JPEG whatever type Save As left. The lossless crop writes the blocks
# under the selection to the file named in Save As, as jpegtran cuts them; a cancelled Save
# As takes the crop back; after an edit the file is read again first, and an edit made
# during the selection is refused at the cut.
source "$(dirname "$0")/lib.sh"

use_config
box="Crop Image"
drive make-pattern "$(winpath "$work/pattern.bmp")" 300 200 make-pattern "$(winpath "$work/large.bmp")" 2000 1500
start_lumora "$(winpath "$work/pattern.bmp")"
drive wait-window 10000 park-pointer wait-title " pattern.bmp (300x200x24)" 10000 settle 500 \
  capture "$(winpath "$work/before.bmp")"

# While dragging from (10, 10) to (60, 40): inside the area the pattern is inverted, and so
# is the crosshair's row beside it. The pattern's red is x, green y, blue 0x40.
drive mouse left-down 10 10 mouse move 60 40 wait-title "Size: (50 * 30) AR: 1.667" 5000 settle 300 \
  capture "$(winpath "$work/dragging.bmp")" mouse move 100 80 mouse left-up 100 80 \
  expect-item "$box" 1098 equals "90" 10000 expect-item "$box" 115 equals "70" 1000 \
  click-button "$box" 2 wait-title " pattern.bmp (300x200x24)" 5000 settle 500 capture "$(winpath "$work/kept.bmp")"
[[ $(capture_pixel "$work/dragging.bmp" 30 25) == E1E6BF ]] || fail "inside the area shows $(capture_pixel "$work/dragging.bmp" 30 25)"
[[ $(capture_pixel "$work/dragging.bmp" 150 10) == 69F5BF ]] || fail "the crosshair's row shows $(capture_pixel "$work/dragging.bmp" 150 10)"
[[ $(capture_pixel "$work/dragging.bmp" 150 30) == 961E40 ]] || fail "beside the area shows $(capture_pixel "$work/dragging.bmp" 150 30)"
cmp -s "$work/before.bmp" "$work/kept.bmp" || fail "\"Don't crop\" changed the screen"

# Crop now; undo. Then move the selection by (20, 10), drag its bottom-right corner to
# (130, 100), and crop it after the double click.
drive mouse left-down 10 10 mouse move 100 80 mouse left-up 100 80 click-button "$box" 1 \
  wait-title " pattern.bmp (90x70x24)" 5000 settle 500 capture "$(winpath "$work/cropped.bmp")" \
  send-command 144 wait-title " pattern.bmp (300x200x24)" 5000 \
  mouse left-down 10 10 mouse move 100 80 mouse left-up 100 80 click-button "$box" 1095 \
  mouse left-down 50 40 mouse move 70 50 mouse left-up 70 50 wait-title "Size: (90 * 70) AR: 1.286" 5000 \
  mouse left-down 115 85 mouse move 130 100 mouse left-up 130 100 wait-title "Size: (100 * 80) AR: 1.250" 5000 \
  mouse left-double 130 100 mouse left-up 130 100 expect-item "$box" 1098 equals "100" 10000 \
  expect-item "$box" 115 equals "80" 1000 click-button "$box" 1 wait-title " pattern.bmp (100x80x24)" 5000 \
  settle 500 capture "$(winpath "$work/moved.bmp")" send-command 144 wait-title " pattern.bmp (300x200x24)" 5000
# Pictures narrower than the window's least width are drawn centred: 90 wide from x = 95.
[[ $(capture_pixel "$work/cropped.bmp" 95 0) == 0A0A40 ]] || fail "the crop starts with $(capture_pixel "$work/cropped.bmp" 95 0)"
[[ $(capture_pixel "$work/cropped.bmp" 184 69) == 634F40 ]] || fail "the crop ends with $(capture_pixel "$work/cropped.bmp" 184 69)"
[[ $(capture_pixel "$work/moved.bmp" 90 0) == 1E1440 ]] || fail "the moved crop starts with $(capture_pixel "$work/moved.bmp" 90 0)"

# A fixed ratio of 4:3 ("Crop Aspect Ratio"); the picture's own ratio proposed, and with it
# the whole window offered for cropping at once; back to free.
drive command 153 set-edit "Crop Aspect Ratio" 1101 "4" set-edit "Crop Aspect Ratio" 1102 "3" \
  click-button "Crop Aspect Ratio" 1 \
  mouse left-down 10 10 mouse move 110 110 mouse left-up 110 110 expect-item "$box" 1098 equals "100" 10000 \
  expect-item "$box" 115 equals "75" 1000 click-button "$box" 2 \
  command 153 set-check "Crop Aspect Ratio" 600 1 expect-item "Crop Aspect Ratio" 1101 equals "3" 5000 \
  expect-item "Crop Aspect Ratio" 1102 equals "2" 1000 click-button "Crop Aspect Ratio" 1 \
  expect-item "$box" 1098 equals "300" 10000 expect-item "$box" 115 equals "200" 1000 click-button "$box" 2 \
  command 153 click-button "Crop Aspect Ratio" 1115

# A click asks nothing; Escape (answered No) during a drag takes the marks away.
drive mouse left-down 10 10 mouse left-up 12 12 settle 500 no-box "$box" capture "$(winpath "$work/clicked.bmp")" \
  mouse left-down 10 10 mouse move 100 80 key ESCAPE expect-box "Leave LUM?" prefix "Do you wish to exit LUM?" 10000 \
  click-button "Leave LUM?" 7 mouse left-up 100 80 settle 500 no-box "$box" capture "$(winpath "$work/escaped.bmp")"
cmp -s "$work/before.bmp" "$work/clicked.bmp" || fail "a click without a drag changed the screen"
cmp -s "$work/before.bmp" "$work/escaped.bmp" || fail "Escape left marks on the screen"

# Half: a 100 x 50 selection is 200 x 100 picture pixels.
drive drop 1 "$(winpath "$work/large.bmp")" wait-title " large.bmp (2000x1500x24)" 10000 command 14 settle 2000 \
  mouse left-down 10 10 mouse move 110 60 wait-title "Size: (200 * 100) AR: 2.000" 5000 mouse left-up 110 60 \
  expect-item "$box" 1098 equals "200" 10000 \
  expect-item "$box" 115 equals "100" 1000 click-button "$box" 2 close 10000
finish_lumora 0
[[ $(config_value "$user_config/LUM.INI" CropAspectRatio) == "0,0" ]] || fail "the ratio kept is $(config_value "$user_config/LUM.INI" CropAspectRatio)"

# SaveJPEGImmediate: the crop is written and the program closes; a write-protected file
# cannot be written, and the program stays with the crop.
use_config "SaveJPEGImmediate=TRUE"
convert "$work/pattern.bmp" -quality 90 "$work/now.jpg"
cp "$work/now.jpg" "$work/kept.jpg"
chmod a-w "$work/kept.jpg"
start_lumora "$(winpath "$work/now.jpg")"
drive wait-window 10000 wait-title " now.jpg (300x200x24)" 10000 settle 500 \
  mouse left-down 10 10 mouse move 100 80 mouse left-up 100 80 click-button "$box" 1 wait-gone 10000
finish_lumora 0
[[ $(identify -format %wx%h "$work/now.jpg") == 90x70 ]] || fail "now.jpg is $(identify -format %wx%h "$work/now.jpg") after the crop"
start_lumora "$(winpath "$work/kept.jpg")"
drive wait-window 10000 wait-title " kept.jpg (300x200x24)" 10000 settle 500 \
  mouse left-down 10 10 mouse move 100 80 mouse left-up 100 80 click-button "$box" 1 expect-box Viewer prefix "Error in Opening output file" 10000 \
  click-button "Viewer" 1 alive wait-title " kept.jpg (90x70x24)" 5000
stop_program
[[ $(identify -format %wx%h "$work/kept.jpg") == 300x200 ]] || fail "the write-protected file changed"

# The immediate save is JPEG whatever type the last Save As left: after a Save As to PNG
# the crop still writes a JPEG into the JPEG file.
use_config "SaveJPEGImmediate=TRUE"
convert "$work/pattern.bmp" -quality 90 "$work/typed.jpg"
start_lumora "$(winpath "$work/typed.jpg")"
drive wait-window 10000 wait-title " typed.jpg (300x200x24)" 10000 settle 500 \
  command 5 select-item "Save As" 1136 4 set-edit "Save As" 1148 "$(winpath "$work/typed-copy")" \
  click-button "Save As" 1 wait-title-suffix " (300x200x24)" 10000 settle 500 \
  mouse left-down 10 10 mouse move 100 80 mouse left-up 100 80 click-button "$box" 1 wait-gone 10000
finish_lumora 0
[[ $(identify -format %m "$work/typed-copy.png") == PNG ]] || fail "Save As wrote no PNG"
[[ $(identify -format %m%wx%h "$work/typed.jpg") == JPEG90x70 ]] ||
  fail "the immediate save left $(identify -format %m%wx%h "$work/typed.jpg") in typed.jpg"

# The lossless crop: the selection from (13, 20) keeps its moving corner on the 8-pixel grid
# (63, 60 becomes 64, 64); the file gets the 16-pixel blocks under it, as jpegtran cuts.
use_config
convert "$work/pattern.bmp" -sampling-factor 2x2 -quality 90 "$work/l.jpg"
start_lumora "$(winpath "$work/l.jpg")"
drive wait-window 10000 wait-title " l.jpg (300x200x24)" 10000 settle 500 \
  command 169 mouse left-down 13 20 mouse move 63 60 mouse left-up 63 60 expect-item "$box" 1098 equals "51" 10000 \
  expect-item "$box" 115 equals "44" 1000 click-button "$box" 1 \
  select-item "Save As" 1136 0 set-edit "Save As" 1148 "$(winpath "$work/part.jpg")" click-button "Save As" 1 \
  wait-title " l.jpg (51x44x24)" 5000 send-command 144 wait-title " l.jpg (300x200x24)" 5000 \
  command 169 mouse left-down 13 20 mouse move 63 60 mouse left-up 63 60 click-button "$box" 1 \
  click-button "Save As" 2 wait-title " l.jpg (300x200x24)" 5000
# After an edit the selection would be made on the edited picture and cut from the file:
# the command reads the file again first (the changed picture's question answered No), so
# the selection is made on the file's picture. An edit made while selecting is refused at
# the cut, with the reason.
drive key 9 wait-title " l.jpg (200x300x24)" 5000 command 169 \
  expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 7 \
  wait-title " l.jpg (300x200x24)" 5000 settle 500 \
  mouse left-down 13 20 mouse move 63 60 mouse left-up 63 60 click-button "$box" 1 \
  select-item "Save As" 1136 0 set-edit "Save As" 1148 "$(winpath "$work/part2.jpg")" click-button "Save As" 1 \
  wait-title " l.jpg (51x44x24)" 5000 send-command 144 wait-title " l.jpg (300x200x24)" 5000 \
  command 169 key 9 wait-title " l.jpg (200x300x24)" 5000 settle 500 \
  mouse left-down 13 20 mouse move 63 60 mouse left-up 63 60 click-button "$box" 1 \
  expect-box "Lossless Crop" prefix "The picture has changed since Lossless JPEG Cropping began" 10000 \
  click-button "Lossless Crop" 1 no-box "Save As" wait-title " l.jpg (200x300x24)" 5000 close-saying-no 10000
finish_lumora 0
jpegtran -copy all -crop 51x44+13+20 "$work/l.jpg" >"$work/reference.jpg"
[[ $(identify -format %wx%h "$work/part.jpg") == 64x48 ]] || fail "the lossless crop is $(identify -format %wx%h "$work/part.jpg")"
cmp -s <(djpeg -ppm "$work/part.jpg") <(djpeg -ppm "$work/reference.jpg") || fail "the lossless crop differs from jpegtran's"
cmp -s <(djpeg -ppm "$work/part2.jpg") <(djpeg -ppm "$work/reference.jpg") ||
  fail "the lossless crop after an edit differs from jpegtran's"
echo "ok: crop by mouse: size title, Crop Image answers, move and resize, ratio, Half, save at once, lossless"
