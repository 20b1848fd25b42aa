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
program="$build/shell/lumora.exe.so"
driver="$build/tests/gui/lumora-driver.exe.so"
if [ ! -f "$program" ] || [ ! -f "$driver" ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
  make -C "$build" -j2 lumora.exe lumora-driver.exe >/dev/null
fi
export WINEPREFIX="$work/wineprefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d;winebrowser.exe=d"
"$root/tools/prepare-prefix.sh" "$WINEPREFIX"

# A private screen and a persistent wineserver, both gone when the script ends.
display=""
for n in $(seq 120 180); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
  display=$n
  break
done
[ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
setsid Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
xvfb=$!
cleanup() {
  timeout -k 5 20 wineserver -k >/dev/null 2>&1 || true
  kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
timeout -k 5 20 wineserver -p </dev/null >/dev/null 2>&1

drive() { timeout -k 5 120 wine "$driver" "$@" </dev/null; }
winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }

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
