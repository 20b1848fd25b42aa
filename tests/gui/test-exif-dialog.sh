#!/bin/bash
# A JPEG file's metadata through the file information dialog. A camera file offers
# "Display EXIF data": "LUM JPEG Exif File Information" shows the file's lines and the
# EXIF text, paints the block's thumbnail (or the grey "No Thumbnail Found!" picture when
# there is none), and its copy button puts the text on the clipboard. A file with an XMP
# packet offers "Display XMP data" and shows the packet as text; the next file without one
# disables the button again.
source "$(dirname "$0")/lib.sh"
needs_corpus

use_config "WarningFlag=TRUE"
cp "$LUMORA_CORPUS/pillow-tests/jpeg/flower.jpg" "$work/camera.jpg"
cp "$LUMORA_CORPUS/pillow-tests/jpeg/pil_sample_rgb.jpg" "$work/xmp.jpg"
cp "$LUMORA_CORPUS/exif-orientation-examples/Landscape_6.jpg" "$work/nothumb.jpg"
info="LUM File Information"
exif="LUM JPEG Exif File Information"
xmp="LUM JPEG XMP Information"
created=$(date -r "$work/camera.jpg" '+%d/%m/%Y  %H:%M')
# The text is shown with CR LF line ends.
file_lines="File name"$'\t\t'": camera.jpg"$'\r\n'"File size"$'\t\t'": 32764 bytes"$'\r\n'
file_lines+="File creation date"$'\t'": $created"$'\r\n'
camera_lines="Camera make"$'\t'": Canon"$'\r\n'"Camera model"$'\t'": Canon PowerShot S40"$'\r\n'

start_lumora "$(winpath "$work/camera.jpg")"
drive wait-window 10000 wait-title-contains "camera.jpg" 10000 settle 5000 \
  click right 20 20 expect-item "$info" 3 equals "Display EXIF data" 10000 expect-enabled "$info" 3 \
  expect-item "$info" 4 equals "Disabled - No XMP data available" 1000 expect-disabled "$info" 4 \
  click-button "$info" 3 \
  expect-item "$exif" 113 prefix "$file_lines$camera_lines" 10000 \
  expect-item "$exif" 113 contains "Resolution"$'\t'": 480 x 360"$'\r\n' 1000 \
  expect-item "$exif" 114 equals "Thumbnail taken from Exif Header" 1000 \
  box-pixel "$exif" 660 150 item-text "$exif" 113
# The thumbnail is painted at the dialog's point (660, 150), not the grey stand-in.
[[ $(head -n 1 "$driver_output") != D0D0D0 ]] || fail "the camera file's thumbnail was not painted"
tail -n +2 "$driver_output" >"$work/shown.txt"
drive press "$exif" 115 expect-clipboard prefix "$file_lines" 15000 clipboard click-button "$exif" 1
cmp "$work/shown.txt" "$driver_output" || fail "the clipboard does not hold the dialog's text"

# An XMP packet; then a file with neither a thumbnail nor XMP.
drive drop 1 "$(winpath "$work/xmp.jpg")" wait-title-contains "xmp.jpg" 10000 \
  click right 20 20 expect-item "$info" 4 equals "Display XMP data" 10000 click-button "$info" 4 \
  expect-item "$xmp" 113 prefix "XMP data: "$'\r\n\r\n' 10000 expect-item "$xmp" 113 contains "x:xmpmeta" 1000 \
  press "$xmp" 115 expect-clipboard prefix "XMP data: "$'\r\n\r\n' 5000 \
  expect-clipboard contains "x:xmpmeta" 1000 click-button "$xmp" 1 \
  drop 1 "$(winpath "$work/nothumb.jpg")" wait-title-contains "nothumb.jpg" 10000 \
  click right 20 20 expect-item "$info" 4 equals "Disabled - No XMP data available" 10000 expect-disabled "$info" 4 \
  click-button "$info" 3 expect-item "$exif" 113 contains "Orientation"$'\t'": rotate 90"$'\r\n' 10000 \
  box-pixel "$exif" 560 60 click-button "$exif" 1 close 10000
[[ $(cat "$driver_output") == D0D0D0 ]] || fail "a file without a thumbnail shows $(cat "$driver_output"), not the grey stand-in"
finish_lumora 0
use_config
echo "ok: the EXIF dialog with its thumbnail and clipboard copy; the XMP dialog"
