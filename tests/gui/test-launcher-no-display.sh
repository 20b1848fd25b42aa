#!/bin/bash
# The ./lumora launcher without a display: an interactive start says what to do and ends
# with a non-zero exit code (it neither builds nor waits).
set -uo pipefail
launcher="${LUMORA_SOURCE_DIR:?}/lumora"
out=$(env -u DISPLAY LUMORA_BUILD_DIR=/nonexistent timeout -k 5 30 "$launcher" picture.bmp 2>&1)
rc=$?
if [[ $rc == 0 || $rc == 124 || $rc == 137 ]]; then
  echo "FAIL: exit code $rc without a display; output: $out" >&2
  exit 1
fi
if [[ $out != *"no display: set DISPLAY or run under xvfb-run"* ]]; then
  echo "FAIL: unexpected message: $out" >&2
  exit 1
fi
echo "ok: launcher refuses an interactive start without a display (exit code $rc)"
