#!/bin/bash
# Benchmark: a 10000x8000 24-bit BMP named on the command line, from the start of the
# program to its first paint in BestFit (DefaultViewFull=FULL), against ImageMagick
# reading the same file and resizing it to the same fitted size, run alternately in the
# same command. Prints each median and the ratio ours / reference (below 1 = faster).
#
# The program runs under Wine in a private Xvfb screen of 1280x1024 with a persistent
# wineserver, in its own prefix (prepared on the first run, ~15 s). Its first paint is
# seen from outside: the title gains the zoom percentage only after the picture has been
# drawn, and the test driver waits for that.
# Usage: bench/bench-first-paint.sh [runs]   (builds the program and the driver first if needed)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-5}
bench_wine_session

pic="$work/first-paint-10000x8000.bmp"
[ -s "$pic" ] || drive make-pattern "$(winpath "$pic")" 10000 8000 >/dev/null

# DefaultViewFull=FULL in the user's LUM.INI of the bench prefix.
config="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/LUM"
mkdir -p "$config"
printf 'DefaultViewFull=FULL\r\n' >"$config/LUM.INI"

# The fitted size BestFit gives on this screen: the work area less the window's borders.
read -r _ _ _ _ _ _ ww wh _ fx fy _ cap _ menu _ < <(drive metrics)
bw=$((4 * fx)) bh=$((cap + 4 * fy + menu))
W=$((ww - bw)) H=$(((ww - bw) * 8000 / 10000))
if ((H > wh - bh)); then H=$((wh - bh)) W=$(((wh - bh) * 10000 / 8000)); fi

first_paint() {
  local s e pid
  s=$(date +%s%N)
  timeout -k 5 120 wine "$program" "$(winpath "$pic")" </dev/null >/dev/null 2>&1 &
  pid=$!
  drive wait-window 60000 wait-title-suffix "%)" 60000 >/dev/null
  e=$(date +%s%N)
  drive close 60000 >/dev/null
  wait "$pid"
  echo $(((e - s) / 1000))
}

first_paint >/dev/null  # the first start of a prefix pays for Wine's own set-up
a=(); b=()
for ((i = 0; i < runs; i++)); do
  a+=("$(first_paint)")
  b+=("$(bench_seconds /usr/bin/convert "$pic" -resize "${W}x${H}" ppm:/dev/null)")
done
ma=$(bench_median "${a[@]}"); mb=$(bench_median "${b[@]}")
echo "first paint of a 10000x8000x24 BMP in BestFit (${W}x${H}): lumora $(bench_secs "$ma") s," \
  "convert -resize $(bench_secs "$mb") s, ratio $(bench_ratio "$ma" "$mb") (median of $runs)"
