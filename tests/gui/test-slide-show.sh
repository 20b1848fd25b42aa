#!/bin/bash
# The slide show steps through the folder on its timer: every picture once per round, in
# order, back to the first; a broken file shows its message in the title and the show
# goes on; Escape's question answered No keeps it running; choosing the command again
# ends it.
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
echo "ok: the slide show shows each picture once per round, reports a broken file in the title and stops on request"
