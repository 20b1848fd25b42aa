#!/bin/bash
# One X display and one persistent wineserver for a whole run of the GUI tests.
#   session.sh start STATE_DIR   prepare the prefix, start Xvfb and wineserver -p, write STATE_DIR/session.env
#   session.sh stop STATE_DIR    stop what start started
# The Wine prefix is $LUMORA_WINE_PREFIX; HOME and the XDG folders point into STATE_DIR.
#
# Both daemons are started detached from our standard streams: a daemon that inherits
# ctest's output pipe keeps ctest waiting for ever.
set -euo pipefail

action=${1:?usage: session.sh start|stop STATE_DIR}
state=${2:?usage: session.sh start|stop STATE_DIR}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
: "${LUMORA_WINE_PREFIX:?LUMORA_WINE_PREFIX must name the test prefix}"
: "${LUMORA_SOURCE_DIR:=$(cd "$here/../.." && pwd)}"

# shellcheck source=tools/wine-env.sh
source "$LUMORA_SOURCE_DIR/tools/wine-env.sh"
lumora_wine_env "$LUMORA_WINE_PREFIX"

set_home() { lumora_wine_home "$state/home"; }

stop_session() {
  if [[ -f $state/session.env ]]; then
    # shellcheck disable=SC1091
    source "$state/session.env"
    timeout -k 5 20 wineserver -k >/dev/null 2>&1 || true
    if [[ -n ${LUMORA_XVFB_PID:-} ]] && kill -0 "$LUMORA_XVFB_PID" 2>/dev/null; then
      kill "$LUMORA_XVFB_PID" 2>/dev/null || true
      for _ in $(seq 50); do kill -0 "$LUMORA_XVFB_PID" 2>/dev/null || break; sleep 0.1; done
      kill -9 "$LUMORA_XVFB_PID" 2>/dev/null || true
    fi
    rm -f "$state/session.env"
  fi
}

# Starts Xvfb on the first free display from 97 on; prints "display pid".
start_xvfb() {
  local n pid
  for n in $(seq 97 160); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    setsid Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in $(seq 100); do
      if [[ -S /tmp/.X11-unix/X$n ]]; then echo "$n $pid"; return 0; fi
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.05
    done
    kill "$pid" 2>/dev/null || true
  done
  echo "session: no free X display for Xvfb" >&2
  return 1
}

case $action in
  start)
    mkdir -p "$state"
    stop_session
    set_home
    "$LUMORA_SOURCE_DIR/tools/prepare-prefix.sh" "$WINEPREFIX"
    read -r display xvfb_pid < <(start_xvfb) || true
    [[ -n ${xvfb_pid:-} ]] || exit 1
    cat >"$state/session.env" <<EOF
LUMORA_XVFB_PID=$xvfb_pid
export DISPLAY=:$display
EOF
    export DISPLAY=:$display
    # wineserver puts itself in the background and stays until "wineserver -k".
    timeout -k 5 20 wineserver -p </dev/null >/dev/null 2>&1
    # The first Wine process of a prefix starts Wine's own services; pay for that here
    # rather than in the first test.
    if [[ -n ${LUMORA_DRIVER:-} ]]; then
      timeout -k 5 60 wine "$LUMORA_DRIVER" no-box warm-up </dev/null >"$state/warm-up.log" 2>&1 || {
        echo "session: Wine does not run programs, see $state/warm-up.log" >&2
        cat "$state/warm-up.log" >&2
        exit 1
      }
    fi
    echo "session: Xvfb on :$display (pid $xvfb_pid), prefix $WINEPREFIX"
    ;;
  stop)
    set_home
    stop_session
    ;;
  *)
    echo "usage: session.sh start|stop STATE_DIR" >&2
    exit 2
    ;;
esac
