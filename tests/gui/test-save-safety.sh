#!/bin/bash
# Data safety around Save: the black stand-in of a failed load is never written; when the
# new file cannot take its place the old file stays where it was, the failure names the
# target and the picture stays changed; deleting the shown file steps back to the file
# before it in the folder.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE" "ChangeInputDir=FALSE" "ConfirmDeleteFileFlag=FALSE"
mkdir -p "$work/out" "$work/folder"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
cp "$work/one.bmp" "$work/one.orig"
printf 'BMxxxxxxxxxxxxxx' >"$work/broken.bmp"
/usr/bin/convert -size 2x2 xc:red "$work/pic.gif"
cp "$work/pic.gif" "$work/pic.orig"

start_lumora "$(winpath "$work/one.bmp")"
# A failed load leaves the stand-in and the previous path: Save and quick save refuse.
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 \
  drop 1 "$(winpath "$work/broken.bmp")" expect-box Viewer prefix "File is truncated" 10000 click-button Viewer 1 \
  click-button Open 2 alive \
  command 4 expect-box Viewer equals "There is no loaded picture to save." 10000 click-button Viewer 1 \
  command 4000 expect-box Viewer equals "There is no loaded picture to save." 10000 click-button Viewer 1
cmp -s "$work/one.bmp" "$work/one.orig" || fail "the stand-in of a failed load was written over one.bmp"

# Save of a GIF as BMP where the new file cannot take its place (a folder holds its
# name): the GIF stays, nothing is left beside it, and the picture stays changed.
drive drop 1 "$(winpath "$work/pic.gif")" wait-title " pic.gif (2x2x8)" 10000 \
  command 5 select-item "Save As" 1136 1 set-edit "Save As" 1148 "$(winpath "$work/out/copy")" \
  click-button "Save As" 1 wait-title-contains "copy.bmp" 10000
[[ -f $work/out/copy.bmp ]] || fail "Save As wrote no copy.bmp"
mkdir "$work/pic.bmp"
drive mark-changed command 4 \
  expect-box Viewer equals "Error in Opening output file : $(winpath "$work/pic.bmp")"$'\n' 10000 click-button Viewer 1
cmp -s "$work/pic.gif" "$work/pic.orig" || fail "the old file is not where it was after a failed Save"
[[ ! -e "$work/pic.gif.\$\$\$" ]] || fail "a failed Save left its copy of the old file"
drive command 8 expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 7
finish_lumora 0

# Deleting the last of three pictures shows the one before it, in a list of two.
for name in a b c; do drive make-pattern "$(winpath "$work/folder/$name.bmp")" 60 40; done
start_lumora "$(winpath "$work/folder/c.bmp")"
drive wait-window 10000 wait-title " c.bmp (60x40x24)" 10000 \
  command 40006 wait-title "(2 of 2) b.bmp (60x40x24)" 10000 close 10000
finish_lumora 0
[[ ! -e $work/folder/c.bmp ]] || fail "c.bmp was not deleted"
echo "ok: no stand-in saved, the old file kept when Save fails, delete steps back"
