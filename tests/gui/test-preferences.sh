#!/bin/bash
# "Preferences" (Other Preferences): the controls show the settings read from LUM.INI;
# Cancel changes nothing; OK stores them: a minimum width of 0 becomes 280, a ticked box
# turns its setting on, file names lose their trailing blanks, and the user's opening
# bitmap is kept with its path. The settings reach LUM.INI when the program closes.
source "$(dirname "$0")/lib.sh"
needs_corpus

use_config "MinimumWidth=400" "MaxPixelSize=12345" "ZTreeThumbnailHorOffset=-7" "SaveJPEGImmediate=FALSE" \
  "BossAlert=Z:\\boss.bmp" "WarningFlag=TRUE" "ConfirmDeleteFileFlag=FALSE" "VerboseFlag=FALSE" "AllowMPEGStats=FALSE"
box=Preferences
start_lumora "$(winpath "$LUMORA_CORPUS/bmpsuite/g/rgb24.bmp")"
drive wait-window 10000 wait-title " rgb24.bmp (127x64x24)" 10000 \
  command 1900 expect-item "$box" 1131 equals "400" 10000 expect-item "$box" 1007 equals "12345" 2000 \
  expect-item "$box" 1009 equals "-7" 2000 expect-item "$box" 1134 equals "Z:\\boss.bmp" 2000 \
  expect-item "$box" 1130 equals " " 2000 expect-check "$box" 1003 1 2000 expect-check "$box" 1006 0 2000 \
  expect-check "$box" 1004 0 2000 expect-check "$box" 1001 0 2000 \
  set-edit "$box" 1131 "999" press "$box" 1136 settle 300 click-button "$box" 2 alive \
  command 1900 expect-item "$box" 1131 equals "400" 10000 \
  set-edit "$box" 1131 "0" set-edit "$box" 1134 "Z:\\other.bmp   " press "$box" 1136 \
  press "$box" 1129 set-edit "$box" 1130 "Z:\\open.bmp  " press "$box" 1003 press "$box" 1006 \
  press "$box" 1004 press "$box" 1001 settle 300 \
  click-button "$box" 1 alive \
  command 1900 expect-item "$box" 1131 equals "280" 10000 expect-item "$box" 1134 equals "Z:\\other.bmp" 2000 \
  expect-item "$box" 1130 equals "Z:\\open.bmp" 2000 click-button "$box" 2 alive close 10000
finish_lumora 0
ini="$user_config/LUM.INI"
[[ $(config_value "$ini" MinimumWidth) == 280 ]] || fail "MinimumWidth is $(config_value "$ini" MinimumWidth)"
[[ $(config_value "$ini" SaveJPEGImmediate) == TRUE ]] || fail "SaveJPEGImmediate is $(config_value "$ini" SaveJPEGImmediate)"
[[ $(config_value "$ini" BossAlert) == "Z:\\other.bmp" ]] || fail "BossAlert is $(config_value "$ini" BossAlert)"
[[ $(config_value "$ini" MaxPixelSize) == 12345 ]] || fail "MaxPixelSize is $(config_value "$ini" MaxPixelSize)"
[[ $(config_value "$ini" ZTreeThumbnailHorOffset) == -7 ]] || fail "the offset is $(config_value "$ini" ZTreeThumbnailHorOffset)"
[[ $(config_value "$ini" OpeningBitmap) == "Z:\\open.bmp" ]] || fail "OpeningBitmap is $(config_value "$ini" OpeningBitmap)"
for key in ConfirmDeleteFileFlag VerboseFlag AllowMPEGStats; do
  [[ $(config_value "$ini" $key) == TRUE ]] || fail "$key is $(config_value "$ini" $key)"
done
[[ $(config_value "$ini" WarningFlag) == FALSE ]] || fail "WarningFlag is $(config_value "$ini" WarningFlag)"
use_config
echo "ok: Preferences shows, keeps on Cancel and stores on OK"
