#!/bin/bash
# Benchmark: "Load Next File" in the program under Wine in a folder of 20,000 small BMP
# files, with the folder's list collected and sorted by name first (the list is stale after
# ReOpen), timed inside the driver from the key to the title "(2 of 20000)"; against
# `ls -f | sort` of the same folder, run alternately in the same command. A second figure
# is the same step without collecting (the list kept), which is the load alone.
# Usage: bench/bench-next-file.sh [runs]   (builds the program and the driver first if needed)
set -euo pipefail
source "$(dirname "$0")/lib.sh"
bench_init
runs=${1:-5}
bench_wine_session

folder="$work/next-file-20000"
if [ "$(ls -f "$folder" 2>/dev/null | wc -l)" -lt 20002 ]; then
  rm -rf "$folder"
  mkdir -p "$folder"
  drive make-pattern "$(winpath "$work/next-file-one.bmp")" 2 2 >/dev/null
  # The same picture under 20,000 names, in a scrambled order of creation.
  (cd "$folder" && seq 1 20000 | awk '{printf "p%05d-%d.bmp\n", ($1 * 7919) % 20011, $1}' |
    xargs -n 2000 sh -c 'tee "$@" <"$0" >/dev/null' "$work/next-file-one.bmp")
fi
config="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/LUM"
mkdir -p "$config"
: >"$config/LUM.INI"
first=$(cd "$folder" && ls -f | sort | sed -n 3p)

timeout -k 5 600 wine "$program" "$(winpath "$folder/$first")" </dev/null >/dev/null 2>&1 &
pid=$!
drive wait-window 60000 wait-title-contains "(2x2x24)" 60000 >/dev/null
a=(); b=(); c=()
for ((i = 0; i < runs; i++)); do
  # ReOpen makes the list stale; Ctrl+Home then shows the first entry again without a rebuild.
  t=$(drive key R settle 300 stopwatch key L wait-title-contains "of 20000)" 60000 stopwatch | head -n 1)
  a+=("$t")
  t=$(drive key L wait-title-contains "(3 of 20000)" 60000 send-command 148 wait-title-contains "(1 of 20000)" 60000 \
      stopwatch key L wait-title-contains "(2 of 20000)" 60000 stopwatch | head -n 1)
  c+=("$t")
  b+=("$(bench_seconds sh -c "ls -f '$folder' | sort")")
done
drive close 60000 >/dev/null
wait "$pid" || true
ma=$(bench_median "${a[@]}"); mb=$(bench_median "${b[@]}"); mc=$(bench_median "${c[@]}")
echo "next file with the list of 20000 files collected and sorted: lumora $(bench_secs "$ma") s," \
  "ls -f | sort $(bench_secs "$mb") s, ratio $(bench_ratio "$ma" "$mb"); next file alone $(bench_secs "$mc") s" \
  "(median of $runs)"
