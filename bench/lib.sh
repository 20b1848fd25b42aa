# Helpers shared by the benchmark scripts; sourced, not run.
#   bench_init                   sets root, build (LUMORA_BUILD, default build/) and work
#                                (LUMORA_BENCH_DIR, default /tmp/lumora-bench); reference
#                                tools run on one thread
#   bench_tool TARGET            path of a bench tool, built first when missing
#   bench_plasma PATH OUTPUT WxH SEED [convert options...]
#                                makes a deterministic photo-like picture once (OUTPUT is
#                                convert's output name for PATH, e.g. bmp3:PATH)
#   bench_seconds COMMAND...     runs it, prints the elapsed microseconds; its standard
#                                error is kept in $work/stderr.txt
#   bench_median VALUES...       prints the median
#   bench_check COMMAND...       runs it once, exits with a message when it fails
#   bench_ratio A B              prints A / B with two decimals
#   bench_secs MICROSECONDS      prints seconds with three decimals
#   bench_wine_session           builds the program and the driver when missing, prepares
#                                the bench prefix, starts a private Xvfb (1280x1024) and a
#                                persistent wineserver, both stopped when the script ends;
#                                sets program and driver and defines drive and winpath

bench_init() {
  root=$(cd "$(dirname "${BASH_SOURCE[1]}")/.." && pwd)
  build=${LUMORA_BUILD:-$root/build}
  work=${LUMORA_BENCH_DIR:-/tmp/lumora-bench}
  mkdir -p "$work"
  export MAGICK_THREAD_LIMIT=1 OMP_NUM_THREADS=1 VIPS_CONCURRENCY=1
}

bench_tool() {
  local tool="$build/bench/$1"
  if [ ! -x "$tool" ]; then
    cmake -S "$root" -B "$build" >/dev/null
    make -C "$build" -j2 "$1" >/dev/null
  fi
  echo "$tool"
}

bench_plasma() {
  local path=$1 output=$2 size=$3 seed=$4
  shift 4
  [ -s "$path" ] || /usr/bin/convert -seed "$seed" -size "$size" plasma:fractal "$@" "$output"
}

bench_seconds() {
  local s e
  s=$(date +%s%N)
  "$@" >/dev/null 2>"$work/stderr.txt"
  e=$(date +%s%N)
  echo $(((e - s) / 1000))
}

bench_median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

bench_check() { "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }; }

bench_ratio() { printf '%.2f' "$(echo "$1 / $2" | bc -l)"; }

bench_secs() { printf '%.3f' "$(echo "$1 / 1000000" | bc -l)"; }

bench_wine_session() {
  program="$build/shell/lumora.exe.so"
  driver="$build/tests/gui/lumora-driver.exe.so"
  if [ ! -f "$program" ] || [ ! -f "$driver" ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
    make -C "$build" -j2 lumora.exe lumora-driver.exe >/dev/null
  fi
  # shellcheck source=tools/wine-env.sh
  source "$root/tools/wine-env.sh"
  lumora_wine_env "$work/wineprefix"
  "$root/tools/prepare-prefix.sh" "$WINEPREFIX"
  local n display=""
  for n in $(seq 120 180); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    display=$n
    break
  done
  [ -n "$display" ] || { echo "no free X display" >&2; exit 1; }
  setsid Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
  bench_xvfb=$!
  trap bench_wine_stop EXIT
  export DISPLAY=":$display"
  for _ in $(seq 100); do [ -S "/tmp/.X11-unix/X$display" ] && break; sleep 0.05; done
  timeout -k 5 20 wineserver -p </dev/null >/dev/null 2>&1
}

bench_wine_stop() {
  timeout -k 5 20 wineserver -k >/dev/null 2>&1 || true
  kill "$bench_xvfb" 2>/dev/null || true
}

drive() { timeout -k 5 120 wine "$driver" "$@" </dev/null; }

winpath() { local p; p=$(realpath -m "$1"); printf 'Z:%s' "${p//\//\\}"; }
