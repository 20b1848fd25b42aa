#!/bin/bash
# The main window's menu: every item's identifier, text, grey and check state, in order,
# against menu-expected.txt (a BMP just opened, nothing to undo), with the history
# submenus filled from the histories. Then keys reach their commands, commands without
# their feature answer with one message, and the exit keys follow AllowExitESC.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
start_lumora "$(winpath "$work/one.bmp")"
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 settle 5000 dump-menu "$(winpath "$work/menu.txt")"
grep -Ev '^2 (30|31)[0-9][0-9] ' "$work/menu.txt" | diff "$(dirname "$0")/menu-expected.txt" - || fail "the menu differs from the table"
grep -qxF "2 3100 $(winpath "$work/one.bmp")" "$work/menu.txt" || fail "the file history submenu lacks the picture"
grep -qxF "2 3000 $(winpath "$work")" "$work/menu.txt" || fail "the folder history submenu lacks the folder"

# Keys: Tab, O, a letter and a digit whose feature is missing, Down and the wheel on a
# picture that fits (they change the file, not built yet); command 1; Escape asks when nothing
# changed and No stays.
drive key TAB expect-box "System Info" prefix "Memory in Use:" 10000 click-button "System Info" 1 \
  key O click-button Open 2 alive \
  key P expect-box Viewer equals "This command is not available yet." 10000 click-button Viewer 1 \
  command 196 expect-box Viewer equals "This command is not available yet." 10000 click-button Viewer 1 \
  key 9 wait-title " one.bmp (80x150x24)" 10000 send-command 144 wait-title " one.bmp (150x80x24)" 10000 \
  key DOWN wait-title "(1 of 1) one.bmp (150x80x24)" 10000 send-command 16 \
  wheel -120 0 0 wait-title "(1 of 1) one.bmp (150x80x24)" 10000 send-command 16 \
  command 1 expect-box Viewer equals "This File Menu Option Not Yet Implemented!" 10000 click-button Viewer 1 \
  key ESCAPE expect-box "Leave LUM?" equals "Do you wish to exit LUM?" 10000 click-button "Leave LUM?" 7 alive \
  key RETURN expect-box "Leave LUM?" equals "Do you wish to exit LUM?" 10000 click-button "Leave LUM?" 7 alive

# A changed picture: Escape asks the save question; Cancel stays, changed. With "Allow
# Immediate Exit" checked, Escape quits at once even so.
drive mark-changed key ESCAPE expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 2 alive \
  send-command 1187 dump-menu "$(winpath "$work/menu2.txt")"
grep -qxF "1 1187 Allow Immediate Exit if ESCAPE  Key Hit? checked" "$work/menu2.txt" || fail "1187 is not checked"
grep -qF "1 50 &Undo"$'\t'"Ctrl+Z grey" "$work/menu2.txt" || fail "Undo is not grey"
drive key ESCAPE wait-gone 10000
finish_lumora 0
use_config
echo "ok: the menu matches its table; keys reach their commands; the exit keys follow the rules"
