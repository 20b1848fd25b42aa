#!/bin/bash
# "Change PNG Background Colour" opens with the stored colour and box, refuses a colour
# that is not six hex digits, and stores a good one and the box in LUM.INI.
source "$(dirname "$0")/lib.sh"
needs_corpus

folder="$work/pngbg"
mkdir -p "$folder"
cp "$LUMORA_CORPUS/pngsuite/png/basn6a08.png" "$folder/a.png"
background="Change PNG Background Colour"

use_config
start_lumora "$(winpath "$folder/a.png")"
drive wait-window 10000 command 40000 expect-item "$background" 1107 equals "000000" 10000 \
  expect-check "$background" 6020 0 2000 set-edit "$background" 1107 "12345" press "$background" 1 \
  expect-box Viewer equals "Enter the colour as six hex digits RRGGBB, for example FF8000." 10000 \
  click-button Viewer 1 set-edit "$background" 1107 "1a2B3c" set-check "$background" 6020 1 \
  click-button "$background" 1 command 40000 expect-item "$background" 1107 equals "1A2B3C" 10000 \
  expect-check "$background" 6020 1 2000 click-button "$background" 2 close 10000
finish_lumora 0
ini="$user_config/LUM.INI"
[[ $(config_value "$ini" PNGBackgroundColour) == 1A2B3C ]] || fail "PNGBackgroundColour is $(config_value "$ini" PNGBackgroundColour)"
[[ $(config_value "$ini" PNGUserPackground) == TRUE ]] || fail "PNGUserPackground is $(config_value "$ini" PNGUserPackground)"
echo "ok: the PNG background dialog shows and stores its two settings"
