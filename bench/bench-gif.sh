#!/bin/bash
# Benchmark: one long GIF animation (472x298, 380 frames) decoded and saved again as GIF.
#   decode: loading it into the current image (every frame decoded and composed into the
#           frame table), against ImageMagick decoding and composing it
#   save:   loading it and writing it as GIF with our writer (every frame reduced to 8 bits
#           by merging colours, then LZW coded), against ImageMagick composing and writing it
# Run alternately in the same command. Prints the medians of the time, the peak memory
# (/usr/bin/time -f %M, of the last run) and their ratios ours / reference (below 1 =
# better), and for the save both file sizes.
# Usage: bench/bench-gif.sh [runs]   (LUMORA_BUILD picks the build directory, default build/;
#        LUMORA_CORPUS the sample folder, default ../shared/corpus beside the checkout)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-3}
corpus=${LUMORA_CORPUS:-$root/../shared/corpus}
gif="$corpus/image-rs-gif/samples/gifplayer-muybridge.gif"
[ -s "$gif" ] || { echo "missing $gif (set LUMORA_CORPUS)" >&2; exit 1; }
load=$(bench_tool lumora_bench_load)
save=$(bench_tool lumora_bench_save)
ours_gif="$work/gif-ours.gif"
ref_gif="$work/gif-ref.gif"

# Runs a command once under /usr/bin/time: prints "microseconds kilobytes"; exits with a
# message when it fails. (The save runs take minutes, so there is no separate check run.)
timed() {
  local s e
  s=$(date +%s%N)
  /usr/bin/time -f %M -o "$work/gif-mem.txt" "$@" >/dev/null 2>"$work/stderr.txt" ||
    { echo "failed: $*" >&2; exit 1; }
  e=$(date +%s%N)
  echo "$(((e - s) / 1000)) $(tail -n 1 "$work/gif-mem.txt")"
}

compare() {
  local name=$1 n=$2
  shift 2
  local ours=("${@:1:n}") ref=("${@:n+1}")
  local a=() b=() ra rb
  for ((i = 0; i < runs; i++)); do
    read -r ta ma < <(timed "${ours[@]}")
    read -r tb mb < <(timed "${ref[@]}")
    a+=("$ta"); b+=("$tb")
  done
  ra=$(bench_median "${a[@]}"); rb=$(bench_median "${b[@]}")
  printf '%s: lumora %s s %s KB, convert %s s %s KB; time ratio %s, memory ratio %s (median of %d)\n' \
    "$name" "$(bench_secs "$ra")" "$ma" "$(bench_secs "$rb")" "$mb" "$(bench_ratio "$ra" "$rb")" \
    "$(bench_ratio "$ma" "$mb")" "$runs"
}

echo "$(basename "$gif"):"
compare "decode" 2 "$load" "$gif" /usr/bin/convert "$gif" -coalesce null:
compare "save as GIF" 3 "$save" "$gif" "$ours_gif" /usr/bin/convert "$gif" -coalesce "$ref_gif"
printf 'file sizes: lumora %s bytes, convert %s bytes (original %s bytes)\n' \
  "$(stat -c %s "$ours_gif")" "$(stat -c %s "$ref_gif")" "$(stat -c %s "$gif")"
