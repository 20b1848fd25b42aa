#!/bin/bash
# ReOpen reloads the file after asking about a changed picture (Cancel keeps the change,
# No drops it); SaveTo Wallpaper writes the picture as WINDIR\LUMWallPaper.bmp; the four
# setting toggles flip their check marks and reach LUM.INI at exit; the web command
# reports its failure when no browser can be started.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
wallpaper="$WINEPREFIX/drive_c/windows/LUMWallPaper.bmp"
rm -f "$wallpaper"
start_lumora "$(winpath "$work/one.bmp")"
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 \
  send-command 28 wait-title " one.bmp (80x150x24)" 10000 \
  key R expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 2 \
  wait-title " one.bmp (80x150x24)" 2000 \
  key R expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 7 \
  wait-title " one.bmp (150x80x24)" 10000 \
  send-command 29 send-command 9 settle 1000 \
  send-command 171 send-command 1181 send-command 1860 send-command 1187 dump-menu "$(winpath "$work/menu.txt")" \
  command 600 expect-box Viewer equals "Connection to the Web failed!" 10000 click-button Viewer 1 \
  close-saying-no 10000
finish_lumora 0

[[ -f $wallpaper ]] || fail "no wallpaper file was written"
# The wallpaper is the picture turned by 180 degrees.
convert "$work/one.bmp" -rotate 180 "$work/turned.png"
ae=$(compare -metric AE "$wallpaper" "$work/turned.png" null: 2>&1 || true)
[[ $ae == 0 ]] || fail "the wallpaper differs from the picture in $ae pixels"
for item in "171 Save History?" "1181 Allow Multiple Instances of LUM?" "1860 Save date same as opened file" \
  "1187 Allow Immediate Exit if ESCAPE  Key Hit?"; do
  grep -qF "1 $item checked" "$work/menu.txt" || fail "$item is not checked after its toggle"
done
ini="$user_config/LUM.INI"
for key in SaveHistory AllowMultipleInstance SaveDate AllowExitESC; do
  [[ $(config_value "$ini" "$key") == TRUE ]] || fail "$key is not TRUE in LUM.INI after its toggle"
done
use_config
echo "ok: ReOpen asks first; the wallpaper holds the picture; the toggles reach the menu and LUM.INI"
