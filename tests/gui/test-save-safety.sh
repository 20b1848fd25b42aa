#!/bin/bash
# Data safety around Save: the black stand-in of a failed load is never written (Save,
# Save As and quick save refuse it); when the new file cannot take its place the old file
# stays where it was, the failure names the target and the picture stays changed; quick
# JPEG save writes JPEG bytes over a JPEG file only; Save asks before it replaces another
# file than the one shown; deleting the shown file steps back to the file before it in the
# folder.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE" "ChangeInputDir=FALSE" "ConfirmDeleteFileFlag=FALSE"
mkdir -p "$work/out" "$work/folder"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
cp "$work/one.bmp" "$work/one.orig"
printf 'BMxxxxxxxxxxxxxx' >"$work/broken.bmp"
/usr/bin/convert -size 2x2 xc:red "$work/pic.gif"
cp "$work/pic.gif" "$work/pic.orig"

start_lumora "$(winpath "$work/one.bmp")"
# A failed load leaves the stand-in and the previous path: Save, Save As and quick save
# refuse.
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 \
  drop 1 "$(winpath "$work/broken.bmp")" expect-box Viewer prefix "File is truncated" 10000 click-button Viewer 1 \
  click-button Open 2 alive \
  command 4 expect-box Viewer equals "There is no loaded picture to save." 10000 click-button Viewer 1 \
  command 5 expect-box Viewer equals "There is no loaded picture to save." 10000 click-button Viewer 1 \
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

# Quick JPEG save on a PNG saves as Save does: beside it as photo.jpg, after the JPEG
# questions; the PNG stays a PNG (kept here by declining the recycle bin).
use_config "WarningFlag=TRUE" "ChangeInputDir=FALSE" "ConfirmDeleteFileFlag=TRUE"
mkdir -p "$work/png" "$work/camera"
drive make-pattern "$(winpath "$work/png/pattern.bmp")" 40 30
/usr/bin/convert "$work/png/pattern.bmp" "$work/png/photo.png"
rm "$work/png/pattern.bmp"
cp "$work/png/photo.png" "$work/png/photo.orig"
start_lumora "$(winpath "$work/png/photo.png")"
drive wait-window 10000 wait-title " photo.png (40x30x24)" 10000 \
  command 4000 click-button "Enter JPEG Information" 1 \
  expect-box "Delete file?" prefix "Do you wish to move file <" 10000 click-button "Delete file?" 2 \
  wait-title " photo.jpg (40x30x24)" 10000 close 10000
finish_lumora 0
cmp -s "$work/png/photo.png" "$work/png/photo.orig" || fail "quick JPEG save wrote over photo.png"
[[ $(identify -format %m%wx%h "$work/png/photo.jpg") == JPEG40x30 ]] || fail "quick JPEG save wrote no photo.jpg"

# Save of a camera file writes IMG_1.jpg, which replaces the IMG_1.JPG beside it only after
# the overwrite question: No writes nothing and asks nothing more, Yes goes on to the JPEG
# questions and writes it.
"$LUMORA_MAKE_DNG" "$work/camera/IMG_1.NEF" 96 64 || fail "the camera file could not be written"
/usr/bin/convert -size 20x10 xc:blue "$work/camera/IMG_1.JPG"
cp "$work/camera/IMG_1.JPG" "$work/camera/IMG_1.orig"
start_lumora "$(winpath "$work/camera/IMG_1.NEF")"
drive wait-window 10000 wait-title " IMG_1.NEF (96x64x24)" 20000 \
  command 4 expect-box SaveAs equals "File: <$(winpath "$work/camera/IMG_1.jpg")> Already exists. Overwrite?" 10000 \
  click-button SaveAs 7 alive no-box "Enter JPEG Information" wait-title " IMG_1.NEF (96x64x24)" 1000
cmp -s "$work/camera/IMG_1.JPG" "$work/camera/IMG_1.orig" || fail "Save replaced IMG_1.JPG although No was answered"
drive command 4 click-button SaveAs 6 click-button "Enter JPEG Information" 1 \
  expect-box "Delete file?" prefix "Do you wish to move file <" 10000 click-button "Delete file?" 2 \
  wait-title " IMG_1.jpg (96x64x24)" 10000 close 10000
finish_lumora 0
written=$(find "$work/camera" -iname IMG_1.jpg)
[[ $(identify -format %m%wx%h "$written") == JPEG96x64 ]] || fail "Save answered Yes wrote no 96 x 64 IMG_1.jpg"

# Deleting the last of three pictures shows the one before it, in a list of two.
use_config "WarningFlag=TRUE" "ChangeInputDir=FALSE" "ConfirmDeleteFileFlag=FALSE"
for name in a b c; do drive make-pattern "$(winpath "$work/folder/$name.bmp")" 60 40; done
start_lumora "$(winpath "$work/folder/c.bmp")"
drive wait-window 10000 wait-title " c.bmp (60x40x24)" 10000 \
  command 40006 wait-title "(2 of 2) b.bmp (60x40x24)" 10000 close 10000
finish_lumora 0
[[ ! -e $work/folder/c.bmp ]] || fail "c.bmp was not deleted"
echo "ok: no stand-in saved, the old file kept when Save fails, quick save and Save replace nothing unasked, delete steps back"
