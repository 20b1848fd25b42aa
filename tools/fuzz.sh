#!/bin/bash
# Long fuzz run on a developer's machine: tools/fuzz.sh TARGET MINUTES
#   TARGET is one of the fuzz targets listed in tests/CMakeLists.txt (LUMORA_FUZZ_TARGETS;
#   run with no arguments, it prints them). Builds the fuzz build (clang, ASan + UBSan) if
#   needed, seeds from the corpus files of the format, the committed seeds and the
#   regression files merged down to a small set, and fuzzes with the target's dictionary
#   and -max_len for MINUTES, niced, on one core. It keeps going after a finding: every
#   crash, timeout (an input running past 10 s), out-of-memory and leak is written as a
#   file into build-fuzz/fuzz-runs/TARGET/findings/, ready to be copied to
#   tests/regress/TARGET/ under a name that says what it holds once the fault is fixed.
#   The corpus the run grows is kept in build-fuzz/fuzz-runs/TARGET/corpus/ and seeds
#   the next run. Prints libFuzzer's final line (inputs run, cov, ft, corpus size,
#   oom/timeout/crash counts), the coverage of the grown corpus and the findings;
#   exits 1 when there are findings.
# Environment: LUMORA_CORPUS (default ../shared/corpus), LUMORA_FUZZ_NICE (default 10).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
targets=$(sed -n 's/^set(LUMORA_FUZZ_TARGETS \(.*\))$/\1/p' "$root/tests/CMakeLists.txt")
[ $# -eq 2 ] || { echo "usage: $0 ${targets// /|} MINUTES" >&2; exit 2; }
target=$1 minutes=$2
[[ " $targets " == *" $target "* ]] || { echo "fuzz.sh: no fuzz target '$target'" >&2; exit 2; }
[[ $minutes =~ ^[0-9]+$ ]] && [ "$minutes" -gt 0 ] || { echo "fuzz.sh: MINUTES must be a whole number" >&2; exit 2; }
source "$root/tests/fuzz/fuzz-common.sh"
corpus=${LUMORA_CORPUS:-$root/../shared/corpus}
build=$root/build-fuzz
niced=(nice -n "${LUMORA_FUZZ_NICE:-10}")

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
    -DLUMORA_WIN32=OFF -DLUMORA_FUZZ=ON -DLUMORA_CORPUS="$corpus" >/dev/null
fi
"${niced[@]}" make -C "$build" -j2 "fuzz_$target" >/dev/null
fuzzer=$build/tests/fuzz/fuzz_$target

out=$build/fuzz-runs/$target
mkdir -p "$out/corpus" "$out/findings"
scratch=$(mktemp -d /tmp/lumora-fuzz-$target.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
fuzz_raw_seeds "$target" "$corpus" "$scratch/raw" "$root/tests/regress/$target"
# The grown corpus of earlier runs is merged with the seeds into the run's corpus.
"${niced[@]}" bash -c 'source "$1"; fuzz_merge_seeds "$2" "$3" "$4" "$5"' _ "$root/tests/fuzz/fuzz-common.sh" \
  "$fuzzer" "$target" "$scratch/raw" "$out/corpus"

log=$out/run-$(date +%Y%m%d-%H%M%S).log
echo "fuzz.sh: fuzz_$target for $minutes min; log $log"
# One child process at a time (-fork=1) so that a finding is written and the run goes on.
status=0
(cd "$out" && "${niced[@]}" "$fuzzer" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
  -max_total_time=$((minutes * 60)) -max_len="$(fuzz_max_len "$target")" $(fuzz_dict_option "$target") \
  -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/findings/" "$out/corpus" >"$log" 2>&1) || status=$?
grep -E '^#[0-9]+: cov:' "$log" | tail -n 1 || true
grep -E '^INFO: exiting' "$log" || true
# The fork mode's counts are its own; one pass over the grown corpus gives the usual
# cov and ft, comparable with the smoke runs'.
(cd "$out" && "${niced[@]}" "$fuzzer" -runs=0 -max_len="$(fuzz_max_len "$target")" -rss_limit_mb=2048 \
  "$out/corpus" 2>&1 | grep -E '^#[0-9]+[[:space:]]+INITED' | sed 's/^/corpus: /') || true
findings=$(ls -A "$out/findings")
if [ -n "$findings" ]; then
  echo "fuzz.sh: findings in $out/findings:"
  ls -l "$out/findings"
  exit 1
fi
[ "$status" -eq 0 ] || { echo "fuzz.sh: libFuzzer ended with exit code $status; see $log" >&2; exit "$status"; }
echo "fuzz.sh: no crash, timeout, out-of-memory or leak"
