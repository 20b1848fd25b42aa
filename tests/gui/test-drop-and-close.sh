#!/bin/bash
# Dropped files (WM_DROPFILES with an HDROP the program builds for the test): only the
# first file is loaded; an unsupported type is reported; a file that cannot be loaded (or
# whose name is longer than a path may be) is reported and the Open dialog offered; a drop leaves the fixed-size window mode alone
# and any other mode for Normal. Closing with a changed picture asks first: No closes,
# Cancel stays, and Yes with a cancelled Save As stays too. Without the tests' permission
# the program answers none of the test requests.
source "$(dirname "$0")/lib.sh"

for n in one two three; do drive make-pattern "$(winpath "$work/$n.bmp")" 150 80; done
: >"$work/notes.xyz"
# A name longer than a path may be: refused whole, never loaded under a cut name.
long="$(winpath "$work")\\$(printf 'y%.0s' $(seq 300)).bmp"

start_lumora
drive wait-window 10000 settle 10000 \
  drop 3 "$(winpath "$work/two.bmp")" "$(winpath "$work/one.bmp")" "$(winpath "$work/three.bmp")" \
  wait-title " two.bmp (150x80x24)" 10000 settle 5000 expect-layout 65 0 150 80 0 0 150 80 000000 \
  drop 1 "$(winpath "$work/notes.xyz")" \
  expect-box Viewer equals "Error: File type not Supported: $(winpath "$work/notes.xyz")"$'\n' 10000 \
  click-button Viewer 1 no-box Open wait-title " two.bmp (150x80x24)" 2000 \
  drop 1 "$(winpath "$work/gone.bmp")" \
  expect-box Viewer equals "Can't open file : $(winpath "$work/gone.bmp")"$'\n' 10000 \
  click-button Viewer 1 click-button Open 2 \
  drop 1 "$long" expect-box Viewer equals "Can't open file : $long"$'\n' 10000 click-button Viewer 1 click-button Open 2 \
  send-command 10 settle 5000 drop 1 "$(winpath "$work/one.bmp")" wait-title " one.bmp (150x80x24)" 10000 \
  settle 5000 expect-layout 65 0 150 80 0 0 150 80 000000 \
  send-command 5503 settle 5000 drop 1 "$(winpath "$work/three.bmp")" wait-title " three.bmp (150x80x24)" 10000 \
  settle 5000 expect-layout 125 110 150 80 0 0 150 80 808080
drive mark-changed command 8 \
  expect-box "Leave LUM?" equals $'Image has been modified! Do you wish to save before exiting?\nPress <ESC> key to cancel' 10000 \
  click-button "Leave LUM?" 2 alive \
  command 8 click-button "Leave LUM?" 6 click-button "Save As" 2 alive \
  drop 1 "$(winpath "$work/one.bmp")" expect-box "Leave LUM?" prefix "Image has been modified!" 10000 \
  click-button "Leave LUM?" 2 alive wait-title " three.bmp (150x80x24)" 2000 \
  command 8 click-button "Leave LUM?" 7 wait-gone 10000
finish_lumora 0

# Without LUMORA_TEST_REQUESTS=1 the program refuses every test request: nothing is dropped,
# marked changed or written, and it closes without asking.
test_requests=0
start_lumora "$(winpath "$work/one.bmp")"
test_requests=1
drive wait-window 10000 wait-title " one.bmp (150x80x24)" 10000
drive_fails drop 1 "$(winpath "$work/two.bmp")"
drive_fails mark-changed
drive_fails dump-menu "$(winpath "$work/menu.txt")"
[[ ! -e $work/menu.txt ]] || fail "the program wrote its menu without test requests enabled"
drive wait-title " one.bmp (150x80x24)" 2000 command 8 wait-gone 10000
finish_lumora 0
echo "ok: drops load the first file; closing a changed picture asks; test requests need enabling"
