#!/bin/sh
# The Wine session of a build's Windows tests: `start BUILD` makes the prefix
# and starts one Xvfb for every test, on a display number of its own
# (tests/e2e/session.sh); `stop BUILD` ends the prefix's processes
# (wineserver -k) and that Xvfb, with SIGTERM so that it removes its lock.
set -u
action=$1
build=$(cd "$2" && pwd)
DURMIVELA_WINEPREFIX=$build/wineprefix
. "$(dirname "$0")/wine-env.sh"
. "$(dirname "$0")/../tests/e2e/session.sh"

case $action in
  start)
    wine_prefix_ready
    if [ -f "$WINEPREFIX.xvfb" ] && kill -0 "$(cat "$WINEPREFIX.xvfb")" 2>/dev/null; then exit 0; fi
    started=$(e2e_xvfb "$WINEPREFIX.xvfb.log" -screen 0 1024x768x24 -noreset) ||
      e2e_fail "Xvfb did not start: $(cat "$WINEPREFIX.xvfb.log")"
    set -- $started
    echo "$2" >"$WINEPREFIX.xvfb"
    echo ":$1" >"$WINEPREFIX.display"
    ;;
  stop)
    "$wineserver" -k 2>/dev/null
    if [ -f "$WINEPREFIX.xvfb" ]; then
      xvfb=$(cat "$WINEPREFIX.xvfb")
      kill "$xvfb" 2>/dev/null
      for _ in $(seq 50); do kill -0 "$xvfb" 2>/dev/null || break; sleep 0.1; done
    fi
    rm -f "$WINEPREFIX.xvfb" "$WINEPREFIX.display"
    ;;
  *) echo "usage: $0 start|stop BUILD" >&2; exit 2 ;;
esac
