#!/bin/bash
# The history submenus: a folder entry offers the Open dialog on the folder's first picture,
# and says so when the folder is gone or holds no picture; a file entry whose file was
# deleted fails to load and offers the Open dialog.
source "$(dirname "$0")/lib.sh"

name_field=0x47C
mkdir -p "$work/pictures" "$work/empty"
drive make-pattern "$(winpath "$work/pictures/only.bmp")" 40 30
: >"$work/pictures/notes.txt"
: >"$work/empty/notes.txt"
pictures=$(winpath "$work/pictures")
empty=$(winpath "$work/empty")
gone=$(winpath "$work/gone")

use_config "SaveHistory=TRUE" "DirHistory=$pictures" "DirHistory=$empty" "DirHistory=$gone" \
  "FileHistory=$(winpath "$work/pictures/deleted.bmp")"
start_lumora
drive wait-window 10000 dump-menu "$(winpath "$work/menu.txt")"
grep -qxF "2 3000 $pictures" "$work/menu.txt" || fail "the first folder entry is not $pictures"
grep -qxF "2 3002 $gone" "$work/menu.txt" || fail "the third folder entry is not $gone"
drive command 3000 expect-item Open $name_field contains only.bmp 10000 \
  click-button Open 2 no-box Open \
  command 3001 expect-box "Folder History" equals "Folder: <$empty> has no supported files" 10000 \
  click-button "Folder History" 1 \
  command 3002 expect-box "Folder History" equals "Folder: <$gone> no longer exists" 10000 \
  click-button "Folder History" 1 \
  command 3100 expect-box Viewer prefix "Can't open file" 10000 click-button Viewer 1 \
  click-button Open 2 alive close 10000
finish_lumora 0
echo "ok: folder entries open the dialog on the first picture or say why not; a lost file offers the dialog"
