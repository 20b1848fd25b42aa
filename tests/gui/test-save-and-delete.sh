#!/bin/bash
# Save As through the real dialog: a BMP written in another folder holds the picture's
# pixels, the title and path follow it (ChangeInputDir), and the picture then counts as
# unchanged. A cancelled Save As after "Yes" keeps the picture and its changed state.
# "Set Up Write Directory" keeps a typed folder. Save and Delete Current File ask first,
# move the file to the recycle bin (the trash of $HOME), and delete then loads the
# previous file.
source "$(dirname "$0")/lib.sh"

use_config "WarningFlag=TRUE" "ChangeInputDir=TRUE" "ConfirmDeleteFileFlag=TRUE"
drive make-pattern "$(winpath "$work/one.bmp")" 150 80
# A scratch HOME with an empty trash: Wine moves a file deleted "to the recycle bin" into
# it (without the folder Wine 8 deletes outright), so the tests can see where it went.
trash="$work/home/.local/share/Trash"
mkdir -p "$work/out" "$trash/files" "$trash/info"
export HOME="$work/home"
unset XDG_DATA_HOME

start_lumora "$(winpath "$work/one.bmp")"
# A changed picture: Open asks first (Cancel: no dialog). Save As and Save to a type
# without a writer fail: the file stays as it was, nothing is offered to the recycle bin,
# and the picture stays changed (the drop below asks again).
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000 settle 5000 \
  mark-changed command 2 expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 2 no-box Open \
  command 5 select-item "Save As" 1136 3 set-edit "Save As" 1148 "$(winpath "$work/out/x")" click-button "Save As" 1 \
  expect-box "File Write" prefix "Error: File type <5> not supported" 10000 click-button "File Write" 1 \
  command 4 expect-box "File Write" prefix "Error: File type <5> not supported" 10000 click-button "File Write" 1 \
  no-box "Delete file?"
[[ -f $work/one.bmp && -z $(ls "$work/out") ]] || fail "a failed save left files: $(ls "$work" "$work/out")"
[[ ! -e $work/one.tga && ! -e $work/one.tga.\$\$\$ ]] || fail "a failed Save left files"
[[ -z $(ls "$trash/files") ]] || fail "a failed Save put <$(ls "$trash/files")> in the trash"
drive mark-changed drop 1 "$(winpath "$work/one.bmp")" expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 6 click-button "Save As" 2 alive wait-title " one.bmp (150x80x24)" 2000 \
  command 5 select-item "Save As" 1136 1 set-edit "Save As" 1148 "$(winpath "$work/out/copy")" \
  click-button "Save As" 1 wait-title-contains "copy.bmp" 10000
[[ -f $work/out/copy.bmp ]] || fail "Save As wrote no copy.bmp"
# Both are bottom-up 24-bit BMPs of the same size: the pixel bytes after the headers match.
cmp <(tail -c 28800 "$work/one.bmp") <(tail -c 28800 "$work/out/copy.bmp") || fail "the copy's pixels differ"

# Save over the current file: written beside it first, the old file offered to the
# recycle bin, then the new one put in its place; the picture is unchanged after.
drive mark-changed command 4 \
  expect-box "Delete file?" equals "Do you wish to move file <$(winpath "$work/out/copy.bmp")> to recycle bin?" 10000 \
  click-button "Delete file?" 1 wait-title-contains "copy.bmp" 5000
cmp <(tail -c 28800 "$work/one.bmp") <(tail -c 28800 "$work/out/copy.bmp") || fail "Save changed the pixels"
[[ $(ls "$work/out") == copy.bmp ]] || fail "Save left $(ls "$work/out")"
# The file replaced by Save went to the trash, with a note of where it was.
[[ $(ls "$trash/files") == copy.bmp ]] || fail "the trash holds <$(ls "$trash/files")> after Save"
cmp <(tail -c 28800 "$work/one.bmp") <(tail -c 28800 "$trash/files/copy.bmp") || fail "the trashed file's pixels differ"
grep -qx "Path=$work/out/copy.bmp" "$trash/info/copy.bmp.trashinfo" || fail "the trash note does not name the file"

# The copy is now the current file: delete it (asked first; Cancel keeps it, OK moves it).
drive command 40006 expect-box "Delete file?" equals "Do you wish to move file <$(winpath "$work/out/copy.bmp")> to recycle bin?" 10000 \
  click-button "Delete file?" 2 alive
[[ -f $work/out/copy.bmp ]] || fail "Cancel deleted the file"
# Then "Load Previous File" runs: the folder holds no other picture now.
drive command 40006 click-button "Delete file?" 1 \
  expect-box Viewer equals "No file found, change directory or set different file types" 10000 click-button Viewer 1
[[ ! -e $work/out/copy.bmp ]] || fail "the file was not deleted"
# The deleted file joined the trash beside the one replaced by Save, under its own name.
deleted=$(ls "$trash/files" | grep -vx copy.bmp)
[[ $deleted == copy.bmp* && $(ls "$trash/files" | wc -l) == 2 ]] || fail "the trash holds <$(ls "$trash/files")> after delete"
grep -qx "Path=$work/out/copy.bmp" "$trash/info/$deleted.trashinfo" || fail "the trash note of the deleted file does not name it"
# The save folder dialog shows the folder Save As used; a typed folder is trimmed, ends
# with "\" and is kept in LUM.INI. Closing asks nothing: nothing is changed any more.
drive command 154 expect-item "Set Up Write Directory" 1085 prefix "$(winpath "$work/out")" 10000 \
  set-edit "Set Up Write Directory" 1085 "$(winpath "$work/out2")  " \
  press "Set Up Write Directory" 1103 click-button "Set Up Write Directory" 1 close 10000
finish_lumora 0
[[ $(config_value "$user_config/LUM.INI" SaveDirType) == User ]] || fail "SaveDirType is not User"
[[ $(config_value "$user_config/LUM.INI" SaveDir) == "$(winpath "$work/out2")\\" ]] ||
  fail "SaveDir is $(config_value "$user_config/LUM.INI" SaveDir)"
use_config
echo "ok: Save As writes and follows; a cancelled Save As keeps the change; delete goes to the trash"
