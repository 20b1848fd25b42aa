#!/bin/bash
# Runs every test: installs what is missing, builds the program and the engine tests,
# a sanitizer build and the fuzz targets, then two ctest runs: the fuzz smoke runs, then
# the engine tests (natively and under ASan+UBSan), the Windows syntax check, and the
# end-to-end tests of the program under Wine in a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/install-deps.sh"

corpus=${LUMORA_CORPUS:-$root/../shared/corpus}
[ -d "$corpus" ] || echo "run-tests: no corpus at $corpus: corpus tests will be skipped" >&2
jobs=${LUMORA_JOBS:-2}
quiet() { "$@" >/dev/null || { echo "run-tests: failed: $*" >&2; "$@"; exit 1; }; }

clang=(-DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DLUMORA_WIN32=OFF -DLUMORA_CORPUS="$corpus")
echo "== sanitizer build"
quiet cmake -S "$root" -B "$root/build-asan" "${clang[@]}" -DLUMORA_SANITIZE=ON
quiet make -C "$root/build-asan" -j"$jobs" lumora_engine_tests
echo "== fuzz build"
quiet cmake -S "$root" -B "$root/build-fuzz" "${clang[@]}" -DLUMORA_FUZZ=ON
quiet make -C "$root/build-fuzz" -j"$jobs" fuzzers
echo "== program and tests"
quiet cmake -S "$root" -B "$root/build" -DLUMORA_WIN32=ON -DLUMORA_CORPUS="$corpus" \
  -DLUMORA_SANITIZER_BUILD="$root/build-asan" -DLUMORA_FUZZ_BUILD="$root/build-fuzz"
quiet make -C "$root/build" -j"$jobs"
cd "$root/build"
# The fuzz smoke runs keep the cores busy for their whole time, and the end-to-end tests
# wait for the program with deadlines: the fuzzers get a pass of their own first.
rc=0
echo "== fuzz smoke runs"
ctest --output-on-failure -j"$jobs" -L fuzz "$@" || rc=$?
echo "== every other test"
ctest --output-on-failure -j"$jobs" -LE fuzz "$@" || rc=$?
exit "$rc"
