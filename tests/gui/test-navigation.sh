#!/bin/bash
# Stepping through a folder of twelve pictures: next past the end wraps to the first with
# StartListAgain on and stays on the last with it off; the fifth next and back five, the
# beginning of the list; the title shows "(n of 12)" at every step.
source "$(dirname "$0")/lib.sh"

folder="$work/folder"
mkdir -p "$folder"
for i in 01 02 03 04 05 06 07 08 09 10 11 12; do
  drive make-pattern "$(winpath "$folder/p$i.bmp")" $((40 + 10#$i)) 30
done
title() { echo "($1 of 12) p$2.bmp ($((40 + 10#$2))x30x24)"; }

use_config "NextFileBorder=TRUE" "StartListAgain=TRUE"
start_lumora "$(winpath "$folder/p11.bmp")"
drive wait-window 10000 wait-title " p11.bmp (51x30x24)" 10000 \
  command 22 wait-title "$(title 12 12)" 10000 \
  command 22 wait-title "$(title 1 01)" 10000 \
  command 22 wait-title "$(title 2 02)" 10000 \
  command 24 wait-title "$(title 7 07)" 10000 \
  command 25 wait-title "$(title 2 02)" 10000 \
  command 23 wait-title "$(title 1 01)" 10000 \
  command 23 wait-title "$(title 12 12)" 10000 \
  command 24 wait-title "$(title 1 01)" 10000 \
  command 25 wait-title "$(title 12 12)" 10000 \
  command 148 wait-title "$(title 1 01)" 10000 \
  close 10000
finish_lumora 0

use_config "NextFileBorder=TRUE" "StartListAgain=FALSE"
start_lumora "$(winpath "$folder/p12.bmp")"
drive wait-window 10000 wait-title " p12.bmp (52x30x24)" 10000 \
  command 22 wait-title "$(title 12 12)" 10000 \
  command 22 settle 500 wait-title "$(title 12 12)" 10000 \
  command 148 wait-title "$(title 1 01)" 10000 \
  command 23 settle 500 wait-title "$(title 1 01)" 10000 \
  close 10000
finish_lumora 0
echo "ok: stepping wraps or stops at the ends, with the position in the title"
