#!/bin/bash
# The picture's comment and saving as JPEG. Edit Comment stores its text as one undo step
# (Cancel stores nothing); Save As JPEG asks "Enter JPEG Information" first, showing the
# settings and the comment: its Cancel writes nothing and leaves the picture changed, its
# OK writes the file with the typed quality and comment. A picture of fewer than 8 bits
# is refused as JPEG with a warning.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE" "ChangeInputDir=FALSE" "DefaultJPEGQuality=60" "SaveDate=TRUE"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
touch -d "2020-01-02 03:04:05" "$work/one.bmp"
mkdir -p "$work/out"
comment="Edit Comment"
info="LUM File Information"
jpeg="Enter JPEG Information"

start_lumora "$(winpath "$work/one.bmp")"
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 settle 5000 \
  command 1125 expect-item "$comment" 1123 equals "" 10000 set-edit "$comment" 1123 "not this" \
  click-button "$comment" 2 dump-menu "$(winpath "$work/cancelled.txt")" \
  command 1125 expect-item "$comment" 1123 equals "" 10000 set-edit "$comment" 1123 "Seen from the hill" \
  click-button "$comment" 1 dump-menu "$(winpath "$work/stored.txt")"
grep -qF "1 144 &Undo"$'\t'"Ctrl+Z grey" "$work/cancelled.txt" || fail "a cancelled comment left an undo step"
grep -qxF "1 144 &Undo"$'\t'"Ctrl+Z" "$work/stored.txt" || fail "the stored comment left no undo step"

# The comment is the picture's: the file information and the JPEG dialog show it.
drive click right 20 20 expect-item "$info" 6010 equals "Seen from the hill" 10000 click-button "$info" 2 \
  command 1125 expect-item "$comment" 1123 equals "Seen from the hill" 10000 click-button "$comment" 2 \
  command 5 set-edit "Save As" 1148 "$(winpath "$work/out/x")" click-button "Save As" 1 \
  expect-item "$jpeg" 1012 equals "60" 10000 expect-item "$jpeg" 1123 equals "Seen from the hill" 1000 \
  expect-check "$jpeg" 1098 1 1000 expect-check "$jpeg" 1001 0 1000 expect-check "$jpeg" 1097 0 1000 \
  set-edit "$jpeg" 1012 "30" click-button "$jpeg" 2 alive no-box "File Write"
[[ -z $(ls "$work/out") ]] || fail "a cancelled JPEG save wrote $(ls "$work/out")"

# OK writes the JPEG with the typed quality and comment, and the loaded file's date.
drive command 5 set-edit "Save As" 1148 "$(winpath "$work/out/x")" click-button "Save As" 1 \
  expect-item "$jpeg" 1012 equals "60" 10000 set-edit "$jpeg" 1012 "30" \
  set-edit "$jpeg" 1123 "Written with the picture" click-button "$jpeg" 1 wait-title-contains "x.jpg" 10000 \
  command 1125 expect-item "$comment" 1123 equals "Written with the picture" 10000 click-button "$comment" 2
[[ -f $work/out/x.jpg ]] || fail "Save As JPEG wrote no x.jpg: $(ls "$work/out")"
[[ $(head -c 2 "$work/out/x.jpg" | od -An -tx1 | tr -d ' ') == ffd8 ]] || fail "x.jpg is no JPEG file"
grep -qa "Written with the picture" "$work/out/x.jpg" || fail "x.jpg lacks the comment"
[[ $(identify -format %Q "$work/out/x.jpg") == 30 ]] || fail "x.jpg has quality $(identify -format %Q "$work/out/x.jpg")"
[[ $(stat -c %Y "$work/out/x.jpg") == $(stat -c %Y "$work/one.bmp") ]] || fail "x.jpg did not get the loaded file's date"

# Four bits: Save refuses JPEG with a warning and writes nothing.
drive command 516 set-edit "Enter Required Bits Per Pixel" 130 "4" click-button "Enter Required Bits Per Pixel" 1 \
  wait-title " one.bmp (150x80x4)" 10000 \
  command 4 expect-box Viewer equals "JPEG format is pointless for anything less than true colour or 256 colours!" 10000 \
  click-button Viewer 1 no-box "$jpeg" \
  close-saying-no 10000
finish_lumora 0
[[ ! -e $work/one.jpg && $(ls "$work/out") == x.jpg ]] || fail "a refused JPEG save wrote files"
[[ $(config_value "$user_config/LUM.INI" DefaultJPEGQuality) == 30 ]] || fail "OK did not keep the quality"

# A JPEG's comment keeps its bytes: shown escaped (the backslashes doubled, the "é" as
# octal escapes, the line end as a blank), left unchanged by an OK in Edit Comment and in
# the JPEG dialog, and written back as it was read.
cp "$(dirname "$0")/../regress/jpeg/comment-backslash-e-acute.jpg" "$work/photo.jpg"
shown='C:\\Photos\\Caf\303\251 line two'
start_lumora "$(winpath "$work/photo.jpg")"
drive wait-window 10000 wait-title-contains "photo.jpg" 10000 settle 3000 \
  click right 20 20 expect-item "$info" 6010 equals "$shown" 10000 click-button "$info" 2 \
  command 1125 expect-item "$comment" 1123 equals "$shown" 10000 click-button "$comment" 1 \
  command 5 set-edit "Save As" 1148 "$(winpath "$work/out/again")" click-button "Save As" 1 \
  expect-item "$jpeg" 1123 equals "$shown" 10000 click-button "$jpeg" 1 wait-title-contains "again.jpg" 10000 \
  close-saying-no 10000
finish_lumora 0
want=$(printf 'C:\\Photos\\Caf\303\251\r\nline two' | od -An -tx1 | tr -d ' \n')
got=$(od -An -tx1 "$work/out/again.jpg" | tr -d ' \n')
[[ $got == *fffe00$(printf '%02x' $(( ${#want} / 2 + 2 )))$want* ]] || fail "again.jpg does not hold the comment's bytes"
use_config
echo "ok: the comment is one undo step; JPEG saves ask first, write what OK says and refuse fewer than 8 bits; a JPEG comment keeps its bytes"
