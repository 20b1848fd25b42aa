#!/bin/bash
# Runs one fuzz target for a fixed time in all: every regression file whole, then every
# seed once (the corpus files of its format, its committed seeds and the regression
# files, cut to the target's -max_len), then fuzzing from those seeds merged down to a
# small set, with its dictionary. The merge passes over a seed that crashes, hence the
# run before it. A crash, a hang past -timeout, a leak or any sanitizer report fails the
# test with libFuzzer's exit code; the report is printed and the input that caused it is
# kept in the work folder named on the last line.
set -euo pipefail
fuzzer=$(realpath "$1") target=$2 seconds=$3 corpus=$(realpath -m "$4") regress=$(realpath -m "$5")
source "$(dirname "$(realpath "$0")")/fuzz-common.sh"
options=(-rss_limit_mb=2048 -timeout=10)
max_len=$(fuzz_max_len "$target")
work=$(mktemp -d /tmp/lumora-fuzz-$target.XXXXXX)
cd "$work"

# Runs the fuzzer with the given arguments, its output in log file $1; on failure shows
# the report without libFuzzer's progress lines and ends the test with its exit code.
run() {
  local log=$1 status=0
  shift
  "$fuzzer" "${options[@]}" "$@" >"$log" 2>&1 || status=$?
  if [ "$status" -ne 0 ]; then
    grep -v '^#[0-9]' "$log" | tail -n 100
    echo "run-fuzz-smoke: fuzz_$target failed with exit code $status; its input is in $work" >&2
    exit "$status"
  fi
}

if [ -d "$regress" ] && [ -n "$(ls -A "$regress")" ]; then
  run "$work/regress.log" -runs=0 "$regress"/*
fi
fuzz_raw_seeds "$target" "$corpus" "$work/raw" "$regress"
if [ -n "$(ls -A "$work/raw")" ]; then
  run "$work/seed-run.log" -runs=0 -max_len="$max_len" "$work/raw"
fi
fuzz_merge_seeds "$fuzzer" "$target" "$work/raw" "$work/seeds"
# What the runs before took comes off the fuzzing time, so the test keeps its length.
left=$((seconds - SECONDS))
[ "$left" -ge 5 ] || left=5
mkdir -p "$work/new"
run "$work/log" -max_total_time="$left" -max_len="$max_len" $(fuzz_dict_option "$target") \
  -print_final_stats=1 "$work/new" "$work/seeds"
echo "fuzz_$target: $(ls "$work/seeds" | wc -l) merged seeds, $left s fuzzing"
grep -E '^#[0-9]+.*DONE|^stat::' "$work/log"
cd /
rm -rf "$work"
