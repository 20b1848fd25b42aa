#!/bin/bash
# The Open command: a picture chosen in the dialog is loaded; an unsupported pick is
# reported and the picture on the screen stays; a file that cannot be loaded is reported
# and the dialog is offered again; Cancel reports nothing.
# (A typed name longer than MAX_PATH is not tried: Wine 8's Open dialog overruns its own
# buffer with it and the process dies inside comdlg32.)
source "$(dirname "$0")/lib.sh"
needs_corpus

# The dialog's file name field and its buttons.
name_field=0x47C
open_button=1
cancel_button=2

picture="$(winpath "$LUMORA_CORPUS/bmpsuite/g/rgb24.bmp")"
: >"$work/notes.xyz"
unsupported="$(winpath "$work/notes.xyz")"
ghost="$(winpath "$work/ghost.bmp")"

start_lumora
drive wait-window 10000 wait-title Lumora 2000 \
  command 2 set-edit Open $name_field "$picture" click-button Open $open_button \
  wait-title " rgb24.bmp (127x64x24)" 10000 \
  command 2 set-edit Open $name_field "$unsupported" click-button Open $open_button \
  expect-box Viewer equals "Error: File type not Supported: $unsupported"$'\n' 10000 \
  click-button Viewer 1 no-box Open wait-title " rgb24.bmp (127x64x24)" 2000 \
  command 2 set-edit Open $name_field "$ghost" click-button Open $open_button \
  expect-box Viewer equals "Can't open file : $ghost"$'\n' 10000 \
  click-button Viewer 1 click-button Open $cancel_button no-box Viewer wait-title " rgb24.bmp (127x64x24)" 2000 \
  command 2 click-button Open $cancel_button alive no-box Viewer no-box Open \
  close 10000
finish_lumora 0
echo "ok: Open dialog"
