#!/bin/bash
# The reporting dialogs: "LUM File Information" (opened by a right click and by command
# 1800) with the colour count from its worker and button texts that fit their buttons,
# the system information box and the about box; and the two View setup dialogs (fixed
# window size, wheel zoom rate).
source "$(dirname "$0")/lib.sh"

drive make-pattern "$(winpath "$work/pattern.bmp")" 1000 800
picture="$(winpath "$work/pattern.bmp")"
folder="$(winpath "$work")\\"
info="LUM File Information"

start_lumora "$picture"
drive wait-window 10000 wait-title " pattern.bmp (1000x800x24)" 10000 settle 10000 \
  click right 20 20 \
  expect-item "$info" 6009 equals "pattern.bmp" 10000 \
  expect-item "$info" 308 equals "$folder" 1000 \
  expect-item "$info" 37 equals "2,400,054" 1000 \
  expect-item "$info" 38 equals " RGB" 1000 \
  expect-item "$info" 39 equals "A _ _ _ _ _ _" 1000 \
  expect-item "$info" 41 prefix "Windows Bitmap" 1000 \
  expect-item "$info" 328 equals "1,000" 1000 expect-item "$info" 327 equals "800" 1000 \
  expect-item "$info" 315 equals "24" 1000 expect-item "$info" 329 equals "2,400,000" 1000 \
  expect-item "$info" 332 equals "1,000" 1000 expect-item "$info" 331 equals "800" 1000 \
  expect-item "$info" 330 equals "24" 1000 expect-item "$info" 333 equals "2,400,000" 1000 \
  expect-item "$info" 3 equals "Disabled - No EXIF data available" 1000 expect-disabled "$info" 3 \
  expect-item "$info" 4 equals "Disabled - No XMP data available" 1000 expect-disabled "$info" 4 \
  expect-text-fits "$info" 3 expect-text-fits "$info" 4 \
  expect-item "$info" 334 equals "800,000" 10000 \
  click-button "$info" 2 wait-title " pattern.bmp (1000x800x24)" 5000
# The dates are those of the file, in local time.
expected_date=$(date -r "$work/pattern.bmp" '+%d/%m/%Y  %H:%M')
drive command 1800 expect-item "$info" 40 equals "$expected_date" 10000 \
  expect-item "$info" 334 equals "800,000" 1000 press "$info" 1 alive expect-item "$info" 334 equals "800,000" 1000 \
  click-button "$info" 2

# System information: memory, system and one line per drive, C: first.
drive command 400 expect-box "System Info" prefix "Memory in Use:"$'\t\t' 10000 box-text "System Info" 1000
grep -q $'^Drive C:\\\\\tSize: [0-9]*Mb, Free: [0-9]*Mb,\tType: <' "$driver_output" || fail "no line for drive C: in $(cat "$driver_output")"
grep -q $'^Operating System:\t\tMicrosoft Windows NT ' "$driver_output" || fail "no operating system line"
drive click-button "System Info" 1 wait-title " pattern.bmp (1000x800x24)" 5000 \
  command 112 expect-item "About LUM" 1001 equals "LUM 64 bit" 10000 \
  expect-item "About LUM" 1002 prefix "Lumora version " 1000 expect-item "About LUM" 1003 prefix "Built " 1000 \
  click-button "About LUM" 1

# The wheel rate: above 1 and up to 2 is taken, anything else becomes 1.2.
drive command 178 expect-item "Setup Zoom Rate" 1201 equals "1.20" 10000 \
  set-edit "Setup Zoom Rate" 1201 2.5 click-button "Setup Zoom Rate" 1 \
  command 178 expect-item "Setup Zoom Rate" 1201 equals "1.20" 10000 \
  set-edit "Setup Zoom Rate" 1201 1.5 click-button "Setup Zoom Rate" 1 \
  command 178 expect-item "Setup Zoom Rate" 1201 equals "1.50" 10000 click-button "Setup Zoom Rate" 2

# The fixed window's size: OK switches to the fixed window of that client size; a size
# of 0 keeps the one there was.
drive command 5502 expect-item "Fixed Size of Image" 123 equals "400" 10000 expect-item "Fixed Size of Image" 124 equals "300" 1000 \
  set-edit "Fixed Size of Image" 123 500 set-edit "Fixed Size of Image" 124 200 click-button "Fixed Size of Image" 1 \
  settle 10000 expect-layout 125 0 250 200 0 0 1000 800 808080 \
  command 5502 set-edit "Fixed Size of Image" 123 0 click-button "Fixed Size of Image" 1 \
  settle 10000 expect-layout 125 0 250 200 0 0 1000 800 808080 \
  close 10000
finish_lumora 0
echo "ok: file information, system information, about box, zoom rate and fixed size dialogs"
