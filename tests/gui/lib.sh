# Sourced by every GUI test script: the session's display and prefix, a scratch folder,
# and helpers that run the program and the driver under Wine, each under a time limit and
# with its output in a file of the scratch folder (shown when the test fails).
#
# Environment (set by ctest): LUMORA_GUI_STATE (the session folder), LUMORA_PROGRAM
# (lumora.exe.so), LUMORA_DRIVER (the driver program), LUMORA_CORPUS, LUMORA_SOURCE_DIR.
set -euo pipefail

: "${LUMORA_GUI_STATE:?}" "${LUMORA_PROGRAM:?}" "${LUMORA_DRIVER:?}" "${LUMORA_WINE_PREFIX:?}"
test_name=${test_name:-$(basename "$0" .sh)}

if [[ ! -f $LUMORA_GUI_STATE/session.env ]]; then
  echo "FAIL: no GUI session (the gui_session fixture did not run)" >&2
  exit 1
fi
# shellcheck disable=SC1091
source "$LUMORA_GUI_STATE/session.env"
# shellcheck source=tools/wine-env.sh
source "$(dirname "${BASH_SOURCE[0]}")/../../tools/wine-env.sh"
lumora_wine_env "$LUMORA_WINE_PREFIX"
lumora_wine_home "$LUMORA_GUI_STATE/home"

work="$LUMORA_GUI_STATE/tests/$test_name"
rm -rf "$work"
mkdir -p "$work"

program_pid=""
program_runs=0
driver_runs=0
# Seconds one program run may take before it is stopped.
program_limit=${LUMORA_GUI_PROGRAM_LIMIT:-60}
# The program answers the driver's test requests (drop, mark-changed, map-point, dump-menu)
# only when LUMORA_TEST_REQUESTS=1 is in its environment at start: the runs started here
# get it unless a test sets test_requests=0 first.
test_requests=1

dump_logs() {
  local f
  for f in "$work"/*.out; do
    [[ -f $f ]] || continue
    echo "----- $f" >&2
    cat "$f" >&2
  done
}

fail() {
  echo "FAIL: $*" >&2
  dump_logs
  exit 1
}

stop_program() {
  local pid
  for pid in "$program_pid" "${second_pid:-}"; do
    if [[ -n $pid ]] && kill -0 "$pid" 2>/dev/null; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
    fi
  done
  program_pid=""
  second_pid=""
}
trap stop_program EXIT

# needs_corpus: ends a test that opens files of the public image suites with the exit code
# ctest counts as skipped (SKIP_RETURN_CODE) when the suites are not there.
needs_corpus() {
  if [[ -z ${LUMORA_CORPUS:-} || ! -d $LUMORA_CORPUS ]]; then
    echo "SKIP: no image suites at ${LUMORA_CORPUS:-(LUMORA_CORPUS is not set)}"
    exit 77
  fi
}

# The Windows form of a local path (Wine's drive Z: is the Unix root).
winpath() {
  local p
  p=$(realpath -m "$1")
  printf 'Z:%s' "${p//\//\\}"
}

# Starts the program in the background with the given arguments.
start_lumora() {
  [[ -z $program_pid ]] || fail "the program is already running"
  program_runs=$((program_runs + 1))
  LUMORA_TEST_REQUESTS=$test_requests timeout -k 5 "$program_limit" wine "$LUMORA_PROGRAM" "$@" </dev/null \
    >"$work/lumora-$program_runs.out" 2>&1 &
  program_pid=$!
}

# Waits for the program to end; it must end with exit code ${1:-0}.
finish_lumora() {
  local want=${1:-0} rc=0
  [[ -n $program_pid ]] || fail "the program is not running"
  wait "$program_pid" || rc=$?
  program_pid=""
  [[ $rc == 124 || $rc == 137 ]] && fail "the program did not end within $program_limit s"
  [[ $rc == "$want" ]] || fail "the program ended with exit code $rc, expected $want"
}

# Like finish_lumora for a program started with start_lumora_second.
finish_second() {
  local want=${1:-0} rc=0
  [[ -n $second_pid ]] || fail "no second program is running"
  wait "$second_pid" || rc=$?
  second_pid=""
  [[ $rc == 124 || $rc == 137 ]] && fail "the second program did not end within $program_limit s"
  [[ $rc == "$want" ]] || fail "the second program ended with exit code $rc, expected $want"
}

# A second program run beside the first (the single-instance tests).
second_pid=""
start_lumora_second() {
  program_runs=$((program_runs + 1))
  LUMORA_TEST_REQUESTS=$test_requests timeout -k 5 "$program_limit" wine "$LUMORA_PROGRAM" "$@" </dev/null \
    >"$work/lumora-$program_runs.out" 2>&1 &
  second_pid=$!
}

# The user's folders in the prefix, as the program sees them through the system.
user_appdata="$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming"
user_config="$user_appdata/LUM"

# use_config [LINE...]: the user's LUM.INI holds exactly these lines (CR LF), so that every
# test starts from the built-in defaults plus what it sets. The program writes the file
# back when it closes.
use_config() {
  rm -rf "$user_config"
  mkdir -p "$user_config"
  if (($# > 0)); then printf '%s\r\n' "$@" >"$user_config/LUM.INI"; else : >"$user_config/LUM.INI"; fi
}
use_config

# The colour of client pixel X, Y of a capture, as RRGGBB.
capture_pixel() {
  convert "$1" -crop "1x1+$2+$3" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | head -n 1 | tr -d '#'
}

# The value of KEY in a LUM.INI file (without the CR).
config_value() {
  sed -n "s/^$2=//p" "$1" | tr -d '\r' | tail -n 1
}

# Screenshots for people to look at, kept with the session's files (not checked).
screenshots="$LUMORA_GUI_STATE/screenshots"

# Runs the driver with the given steps; its standard output is left in $driver_output.
drive() {
  driver_runs=$((driver_runs + 1))
  driver_output="$work/driver-$driver_runs.out"
  if ! timeout -k 5 60 wine "$LUMORA_DRIVER" "$@" </dev/null >"$driver_output" 2>&1; then
    fail "driver steps failed: $*"
  fi
  # A run that stopped without saying so is a failure too; the marker line is then removed
  # so that the output holds only what the steps printed.
  grep -q '^lumora-driver: [0-9]* steps done$' "$driver_output" || fail "the driver ended early: $*"
  sed -i '/^lumora-driver: [0-9]* steps done$/d' "$driver_output"
}

# Runs the driver with the given steps, expecting one of them to fail (exit code 1).
drive_fails() {
  driver_runs=$((driver_runs + 1))
  driver_output="$work/driver-$driver_runs.out"
  local rc=0
  timeout -k 5 60 wine "$LUMORA_DRIVER" "$@" </dev/null >"$driver_output" 2>&1 || rc=$?
  [[ $rc == 1 ]] || fail "driver steps did not fail (exit code $rc): $*"
}
