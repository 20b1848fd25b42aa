#!/bin/bash
# The Win32 implementation of the engine's platform seam, checked under Wine (see seam_test.cpp).
source "$(dirname "$0")/lib.sh"
: "${LUMORA_SEAM_TEST:?}"

mkdir -p "$work/files"
rc=0
timeout -k 5 60 wine "$LUMORA_SEAM_TEST" "$(winpath "$work/files")" </dev/null >"$work/seam.out" 2>&1 || rc=$?
[[ $rc == 0 ]] || fail "the seam checks ended with exit code $rc"
grep -q "seam: all checks passed" "$work/seam.out" || fail "the seam checks did not report success"
cat "$work/seam.out"
