#!/bin/bash
# Without a display the main window cannot be created: the program says so and ends with
# exit code 3 at once instead of waiting for ever on a window that does not exist.
source "$(dirname "$0")/lib.sh"

rc=0
env -u DISPLAY timeout -k 5 30 wine "$LUMORA_PROGRAM" </dev/null >"$work/lumora.out" 2>&1 || rc=$?
[[ $rc != 124 && $rc != 137 ]] || fail "the program waited without a display"
[[ $rc == 3 ]] || fail "exit code $rc without a display, expected 3"
grep -q "main window cannot be created" "$work/lumora.out" || fail "no message about the missing window"
echo "ok: no display, exit code 3"
