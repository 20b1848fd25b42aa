#!/bin/bash
# The slide show steps through the folder on its timer: every picture once per round, in
# order, back to the first; a broken file shows its message in the title and the show
# goes on; Escape's question answered No keeps it running; choosing the command again
# ends it. A dialog opened during the show keeps its picture.
source "$(dirname "$0")/lib.sh"

folder="$work/show"
mkdir -p "$folder"
for name in a b c; do drive make-pattern "$(winpath "$folder/$name.bmp")" 60 40; done
printf 'BM broken' >"$folder/bad.bmp"

use_config "SlideShowDuration=1" "SlideShowBorder=TRUE"
start_lumora "$(winpath "$folder/a.bmp")"
drive wait-window 10000 wait-title " a.bmp (60x40x24)" 10000 command 21 \
  wait-title " b.bmp (60x40x24)" 8000 \
  wait-title-contains "File is truncated : bad.bmp" 8000 \
  wait-title " c.bmp (60x40x24)" 8000 \
  wait-title " a.bmp (60x40x24)" 8000 \
  wait-title " b.bmp (60x40x24)" 8000 \
  key ESCAPE expect-box "Leave LUM?" equals "Do you wish to exit LUM?" 10000 click-button "Leave LUM?" 7 \
  wait-title-contains "File is truncated : bad.bmp" 8000 \
  command 21 settle 2500 wait-title-contains "File is truncated : bad.bmp" 1000 \
  close 10000
finish_lumora 0

# A dialog open under the show keeps the picture it was opened on: Save held open for 3 s
# at its JPEG questions writes the picture shown, and the show goes on after it; Save As
# held open 3 s writes the picture shown and ends the show. Five pictures of different
# sizes, so that 3 s of steps never come back to the same one.
held="$work/held"
mkdir -p "$held/out"
for i in 1 2 3 4 5; do drive make-pattern "$(winpath "$held/p$i.bmp")" $((30 + 10 * i)) 30; done
use_config "SlideShowDuration=1" "SlideShowBorder=TRUE" "ChangeInputDir=FALSE" "ConfirmDeleteFileFlag=TRUE"
start_lumora "$(winpath "$held/p1.bmp")"
drive wait-window 10000 wait-title " p1.bmp (40x30x24)" 10000 command 21 wait-title " p2.bmp (50x30x24)" 8000 \
  command 4 expect-item "Enter JPEG Information" 1 equals "OK" 10000
sleep 3
drive wait-title " p2.bmp (50x30x24)" 100 click-button "Enter JPEG Information" 1 \
  click-button "Delete file?" 2 wait-title-contains "p2.jpg (50x30x24)" 5000 wait-title-contains ".bmp (" 8000 \
  command 5 select-item "Save As" 1136 1 set-edit "Save As" 1148 "$(winpath "$held/out/shown")" title
shown=$(head -n 1 "$driver_output")
size=${shown##* (}
size=${size%x24)}
sleep 3
drive wait-title "$shown" 100 click-button "Save As" 1
# Two ticks' time: a show still running would have stepped on.
sleep 2.5
drive wait-title-suffix " ($size""x24)" 100 close 10000
finish_lumora 0
[[ $(identify -format %wx%h "$held/p2.jpg") == 50x30 ]] || fail "Save under the show wrote $(identify -format %wx%h "$held/p2.jpg")"
[[ $(identify -format %wx%h "$held/out/shown.bmp") == "$size" ]] ||
  fail "Save As under the show wrote $(identify -format %wx%h "$held/out/shown.bmp"), not the $size shown"
echo "ok: the slide show shows each picture once per round, reports a broken file in the title and stops on request;"
echo "    it waits while a dialog is open, and Save As ends it"
