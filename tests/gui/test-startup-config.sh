#!/bin/bash
# Start-up and LUM.INI under Wine: where the configuration is found, the first run, the
# file written at exit and read at the next start, settings in force, the opening
# pictures, and start-up names with blanks and "%".
source "$(dirname "$0")/lib.sh"

shell_folders='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\User Shell Folders'
restore_appdata() {
  timeout -k 5 60 wine reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d '%USERPROFILE%\AppData\Roaming' /f \
    >"$work/reg-restore.out" 2>&1
}
trap 'stop_program; restore_appdata' EXIT

drive make-pattern "$(winpath "$work/p100.bmp")" 100 50

# --- first run: no LUM.INI anywhere ---
# The user's "LUM" folder is created, nothing is reported, the opening bitmap is shown 1:1.
rm -rf "$user_config"
start_lumora
drive wait-window 10000 settle 10000 no-box Viewer title capture "$(winpath "$work/opening.bmp")"
[[ $(head -n 1 "$driver_output") == Lumora ]] || fail "title at the first start: $(head -n 1 "$driver_output")"
[[ -d $user_config ]] || fail "the first run did not create $user_config"
convert "$work/opening.bmp" -crop 400x240+0+0 +repage "$work/opening.png"
differing=$(compare -metric AE "$work/opening.png" "$LUMORA_SOURCE_DIR/resources/viewer.bmp" null: 2>&1) || true
[[ $differing == 0 ]] || fail "the opening bitmap on the screen differs from resources/viewer.bmp in $differing pixels"
# At exit there is no LUM.INI to back up yet: that is said once, then the file is written.
ini_windows='C:\users\'"$(id -un)"'\AppData\Roaming\LUM\LUM.INI'
drive command 8 expect-box "Save LUM.INI" equals "File: $ini_windows not found. Error message = 2" 10000 \
  click-button "Save LUM.INI" 1 wait-gone 10000
finish_lumora 0
[[ -s $user_config/LUM.INI ]] || fail "no LUM.INI in the user's folder after the first run"
[[ $(config_value "$user_config/LUM.INI" DefaultViewFull) == NORMAL ]] || fail "the written LUM.INI lacks DefaultViewFull"

# --- the next start reads it: a changed setting is in force and is written back ---
sed -i 's/^UseShortTitle=FALSE/UseShortTitle=TRUE/' "$user_config/LUM.INI"
start_lumora "$(winpath "$work/p100.bmp")"
drive wait-window 10000 wait-title "p100.bmp" 10000 close 10000 no-box "Save LUM.INI"
finish_lumora 0
[[ $(config_value "$user_config/LUM.INI" UseShortTitle) == TRUE ]] || fail "UseShortTitle was not kept"
[[ $(config_value "$user_config/LUM.bak" UseShortTitle) == TRUE ]] || fail "no backup of the file read"

# DefaultViewFull=FULL: the picture opens fitted to the screen.
use_config "DefaultViewFull=FULL"
start_lumora "$(winpath "$work/p100.bmp")"
drive wait-window 10000 wait-title-suffix "%)" 10000 settle 10000 rects
read -r _ _ _ window_width _ < "$driver_output"
drive metrics
read -r _ _ _ _ _ _ work_width _ < "$driver_output"
[[ $window_width == "$work_width" ]] || fail "with DefaultViewFull=FULL the window is $window_width wide, the work area $work_width"
drive close 10000
finish_lumora 0
[[ $(config_value "$user_config/LUM.INI" DefaultViewFull) == FULL ]] || fail "DefaultViewFull=FULL was not kept"

# --- LUM.INI beside the program: read on a user's first run, then written to the user's folder ---
mkdir -p "$work/program"
cp "$LUMORA_PROGRAM" "$work/program/lumora.exe.so"
printf 'UseShortTitle=TRUE\r\nMinimumWidth=333\r\n' >"$work/program/LUM.INI"
rm -rf "$user_config"
timeout -k 5 "$program_limit" wine "$work/program/lumora.exe.so" "$(winpath "$work/p100.bmp")" </dev/null \
  >"$work/copy.out" 2>&1 &
program_pid=$!
drive wait-window 10000 wait-title "p100.bmp" 10000 command 8 \
  expect-box "Save LUM.INI" prefix "File: " 10000 click-button "Save LUM.INI" 1 wait-gone 10000
finish_lumora 0
[[ $(config_value "$user_config/LUM.INI" MinimumWidth) == 333 ]] || fail "the settings beside the program did not reach the user's LUM.INI"

# --- no application-data folder and no LUM.INI beside the program ---
# Reported once; the program starts with the opening bitmap and writes LUM.INI into its
# working folder at exit.
timeout -k 5 60 wine reg add "$shell_folders" /v AppData /t REG_EXPAND_SZ /d 'Q:\nowhere' /f >"$work/reg.out" 2>&1 ||
  fail "the application-data folder cannot be taken away"
program_ini="$(winpath "$(dirname "$LUMORA_PROGRAM")")\\LUM.INI"
cd "$work"
start_lumora
cd - >/dev/null
drive wait-window 10000 \
  expect-box Viewer equals "LUM.INI could not be found in the path : $program_ini"$'\n' 10000 \
  click-button Viewer 1 settle 10000 no-box Viewer wait-title Lumora 2000 close 10000 no-box "Save LUM.INI"
finish_lumora 0
restore_appdata
[[ -s $work/LUM.INI ]] || fail "without any configuration place LUM.INI was not written to the working folder"

# --- OpeningBitmap=none: a black 500 x 300 picture. Options without a file name (the
# option reader answers "normal start" for now) start normally. ---
use_config "OpeningBitmap=none"
start_lumora /StartDEVE
drive wait-window 10000 settle 10000 wait-title Lumora 2000 no-box Viewer no-box Open capture "$(winpath "$work/none.bmp")"
read -r size < "$driver_output"
[[ $size == 5??x3?? ]] || fail "the client area for the 500 x 300 picture is $size"
[[ $(convert "$work/none.bmp" -format '%[max]' info:) == 0 ]] || fail "the 500 x 300 picture is not black"
drive close 10000
finish_lumora 0

# --- a start-up name with blanks and "%" reaches the loader as typed ---
use_config
odd="$work/50% of a%20b%%.bmp"
cp "$work/p100.bmp" "$odd"
start_lumora "$(winpath "$odd")"
drive wait-window 10000 wait-title " 50% of a%20b%%.bmp (100x50x24)" 10000 no-box Viewer close 10000
finish_lumora 0
echo "ok: configuration found, read and written; opening pictures; names with blanks and %"
