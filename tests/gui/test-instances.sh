#!/bin/bash
# The single-instance link. With AllowMultipleInstance FALSE a second start hands its file
# name to the first window, which shows it, and ends with exit code 0 without a window;
# names with blanks and "%" arrive unchanged; a changed picture asks first; a name that
# arrives while a dialog is open or long work runs waits for it; a command line with
# options runs in its own window. With TRUE both windows stay.
source "$(dirname "$0")/lib.sh"

drive make-pattern "$(winpath "$work/first.bmp")" 120 60 make-pattern "$(winpath "$work/second.bmp")" 140 70
cp "$work/second.bmp" "$work/third 100%.bmp"

use_config "AllowMultipleInstance=FALSE"
start_lumora "$(winpath "$work/first.bmp")"
drive wait-window 10000 wait-title " first.bmp (120x60x24)" 10000
start_lumora_second "$(winpath "$work/second.bmp")"
finish_second 0
drive wait-title " second.bmp (140x70x24)" 10000 count-windows 1 500
# A Unix name, with a blank and "%".
start_lumora_second "$work/third 100%.bmp"
finish_second 0
drive wait-title " third 100%.bmp (140x70x24)" 10000 count-windows 1 500
# A name of a type that cannot be shown is reported by the first window, which then offers
# the Open dialog.
: >"$work/notes.xyz"
start_lumora_second "$(winpath "$work/notes.xyz")"
finish_second 0
drive expect-box Viewer equals "Error File type not Supported  : $(winpath "$work/notes.xyz")"$'\n' 10000 \
  click-button Viewer 1 click-button Open 2 wait-title " third 100%.bmp (140x70x24)" 2000
# A command line longer than the shared block holds arrives cut, terminated, and is
# refused like any name that is not a picture.
long="Z:\\$(printf 'x%.0s' $(seq 2100)).bmp"
start_lumora_second "$long"
finish_second 0
drive expect-box Viewer prefix "Error File type not Supported  : Z:\\xxxx" 10000 box-text Viewer 1000
text=$(head -n 1 "$driver_output")
((${#text} < 2100)) || fail "the handed-over command line was not cut (${#text} characters)"
drive click-button Viewer 1 click-button Open 2 wait-title " third 100%.bmp (140x70x24)" 2000
# A changed picture is not replaced by a handed-over file without the question: Cancel
# keeps it, No lets the file in.
drive mark-changed
start_lumora_second "$(winpath "$work/second.bmp")"
finish_second 0
drive expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 2 \
  alive wait-title " third 100%.bmp (140x70x24)" 2000
start_lumora_second "$(winpath "$work/first.bmp")"
finish_second 0
drive expect-box "Leave LUM?" prefix "Image has been modified!" 10000 click-button "Leave LUM?" 7 \
  wait-title " first.bmp (120x60x24)" 10000
# A file handed over while a dialog is open is kept, not lost in the dialog's loop, and
# opened once the dialog has closed; so is one handed over during a long camera decode,
# once the decode is done.
drive command 1800 expect-item "LUM File Information" 1 equals "OK" 10000
start_lumora_second "$(winpath "$work/second.bmp")"
finish_second 0
drive wait-title " first.bmp (120x60x24)" 1000 click-button "LUM File Information" 2 \
  wait-title " second.bmp (140x70x24)" 10000
"$LUMORA_MAKE_DNG" "$work/large.dng" 4096 4096 || fail "the large DNG file could not be written"
drive drop 1 "$(winpath "$work/large.dng")" wait-title-contains "%" 20000
start_lumora_second "$(winpath "$work/first.bmp")"
finish_second 0
drive wait-title " first.bmp (120x60x24)" 30000
rm -f "$work/large.dng"
# A command line with options is a batch run: it runs in a window of its own instead of
# reaching the first one as a file name.
start_lumora_second "$(winpath "$work/second.bmp")" /Exit
drive count-windows 2 10000
kill -0 "$second_pid" 2>/dev/null || fail "the instance with options ended instead of running"
drive close-all 10000
finish_lumora 0
finish_second 0

use_config "AllowMultipleInstance=TRUE"
start_lumora "$(winpath "$work/first.bmp")"
drive wait-window 10000 wait-title " first.bmp (120x60x24)" 10000
start_lumora_second "$(winpath "$work/second.bmp")"
drive count-windows 2 10000
kill -0 "$second_pid" 2>/dev/null || fail "the second instance ended although multiple instances are allowed"
drive close-all 10000
finish_lumora 0
finish_second 0
echo "ok: single-instance hand-over, and two windows when allowed"
