#!/bin/bash
# Files named on the command line that cannot be shown: a missing file (named in Windows
# and in Unix form) gives one box captioned "Viewer" and then the Open dialog; a name of
# an unsupported type is reported the same way without the dialog. The program keeps
# running with its title unchanged and closes normally.
source "$(dirname "$0")/lib.sh"

# expect_load_error ARGUMENT BOX_TEXT OPEN_OFFERED
expect_load_error() {
  start_lumora "$1"
  drive wait-window 10000 expect-box Viewer equals "$2" 10000 click-button Viewer 1
  if [[ $3 == yes ]]; then
    drive click-button Open 2
  fi
  drive alive no-box Viewer no-box Open wait-title Lumora 2000 close 10000
  finish_lumora 0
}

missing="$(winpath "$work/missing.bmp")"
expect_load_error "$missing" "Can't open file : $missing"$'\n' yes
# The Unix form reaches the loader as the full Windows path.
expect_load_error "$work/missing.bmp" "Can't open file : $missing"$'\n' yes

: >"$work/notes.xyz"
unsupported="$(winpath "$work/notes.xyz")"
expect_load_error "$unsupported" "Error File type not Supported  : $unsupported"$'\n' no
echo "ok: missing and unsupported files reported"
