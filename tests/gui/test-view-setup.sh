#!/bin/bash
# "Setup Slide Show and View" on a folder of BMP and RLE pictures: reverse alphabetical
# order without BMP files makes "Load Next File" step through the RLE files backwards
# (with the short title: the name alone, and a zoom when drawn at another size);
# All OFF is refused with "There are no valid file types set" and the dialog stays open;
# Restore Defaults changes the settings at once and Cancel keeps them; the settings reach
# LUM.INI when the program closes.
source "$(dirname "$0")/lib.sh"

box="Setup Slide Show and View"
folder="$work/folder"
mkdir -p "$folder"
width=40
for name in a.bmp b.rle c.bmp d.rle e.rle; do
  width=$((width + 1))
  drive make-pattern "$(winpath "$folder/$name")" "$width" 30
done

use_config "NextFileBorder=TRUE" "StartListAgain=TRUE" "SlideShowDuration=4" "DefaultViewFull=NORMAL"
start_lumora "$(winpath "$folder/a.bmp")"
drive wait-window 10000 wait-title " a.bmp (41x30x24)" 10000 \
  command 26 expect-item "$box" 1026 equals "4.00" 10000 expect-check "$box" 1010 1 2000 \
  expect-check "$box" 1025 1 2000 expect-check "$box" 32 1 2000 expect-check "$box" 31 0 2000 \
  expect-check "$box" 1037 1 2000 expect-check "$box" 1103 1 2000 expect-check "$box" 1104 1 2000 \
  set-check "$box" 1010 0 set-check "$box" 31 1 set-check "$box" 1040 1 set-check "$box" 1042 0 \
  set-check "$box" 1105 1 set-edit "$box" 1026 "7" click-button "$box" 1 alive \
  command 22 wait-title-prefix e.rle 10000 command 22 wait-title-prefix d.rle 10000 \
  command 22 wait-title-prefix b.rle 10000 command 22 wait-title-prefix e.rle 10000 \
  key X expect-item "$box" 1026 equals "7.00" 10000 expect-check "$box" 1010 0 2000 \
  expect-check "$box" 31 1 2000 expect-check "$box" 1040 1 2000 expect-check "$box" 1105 1 2000 \
  press "$box" 1068 expect-check "$box" 1025 0 2000 press "$box" 1 \
  expect-box Viewer equals "There are no valid file types set" 10000 click-button Viewer 1 \
  expect-item "$box" 1026 equals "7.00" 2000 press "$box" 1067 expect-check "$box" 1010 1 2000 \
  press "$box" 1101 expect-item "$box" 1026 equals "3.00" 10000 expect-check "$box" 31 0 2000 \
  expect-check "$box" 32 1 2000 expect-check "$box" 1039 1 2000 expect-check "$box" 1103 0 2000 \
  expect-check "$box" 1105 0 2000 expect-check "$box" 1042 0 2000 click-button "$box" 2 alive \
  command 26 expect-item "$box" 1026 equals "3.00" 10000 expect-check "$box" 1010 1 2000 \
  expect-check "$box" 31 0 2000 expect-check "$box" 1039 1 2000 click-button "$box" 2 alive \
  command 22 wait-title "(1 of 5) a.bmp (41x30x24)" 10000 close 10000
finish_lumora 0
ini="$user_config/LUM.INI"
for pair in SlideShowDuration=3 DefaultViewFull=BIG SortOrder=Alpha NextFileBorder=FALSE StartListAgain=TRUE \
  UseShortTitle=FALSE ForceListOrder=FALSE DefaultJPEGQuality=90; do
  key=${pair%%=*}
  [[ $(config_value "$ini" "$key") == "${pair#*=}" ]] || fail "$key is $(config_value "$ini" "$key"), not ${pair#*=}"
done
use_config
echo "ok: the setup dialog sets the list's types and order, refuses no types, restores the defaults"
