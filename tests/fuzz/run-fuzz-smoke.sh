#!/bin/bash
# Runs one fuzz target for a fixed time: first over every regression file, then seeded
# from the corpus files of its format. A crash leaves its input in the work folder.
set -euo pipefail
fuzzer=$(realpath "$1") format=$2 seconds=$3 corpus=$4 regress=$5
work=$(mktemp -d /tmp/lumora-fuzz-$format.XXXXXX)
trap 'rm -rf "$work/seeds" "$work/new"' EXIT
mkdir -p "$work/seeds" "$work/new"
find "$corpus" -type f -iname "*.$format" -size -1M -exec cp -t "$work/seeds" {} + 2>/dev/null || true
if [ -d "$regress" ] && [ -n "$(ls -A "$regress")" ]; then
  "$fuzzer" -runs=0 "$regress"/*
fi
cd "$work"
"$fuzzer" -max_total_time="$seconds" -max_len=200000 -rss_limit_mb=2048 -timeout=10 \
  -print_final_stats=1 "$work/new" "$work/seeds" 2>&1 | tail -n 15
