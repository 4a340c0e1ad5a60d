#!/bin/sh
# The Wine session of a build's Windows tests: `start BUILD` makes the prefix
# and starts one Xvfb for every test; `stop BUILD` ends the prefix's processes
# (wineserver -k) and the Xvfb.
set -eu
action=$1
build=$(cd "$2" && pwd)
DURMIVELA_WINEPREFIX=$build/wineprefix
. "$(dirname "$0")/wine-env.sh"

case $action in
  start)
    wine_prefix_ready
    if [ -f "$WINEPREFIX.xvfb" ] && kill -0 "$(cat "$WINEPREFIX.xvfb")" 2>/dev/null; then exit 0; fi
    n=70
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    echo $! >"$WINEPREFIX.xvfb"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    echo ":$n" >"$WINEPREFIX.display"
    ;;
  stop)
    "$wineserver" -k 2>/dev/null || true
    if [ -f "$WINEPREFIX.xvfb" ]; then kill "$(cat "$WINEPREFIX.xvfb")" 2>/dev/null || true; fi
    rm -f "$WINEPREFIX.xvfb" "$WINEPREFIX.display"
    ;;
  *) echo "usage: $0 start|stop BUILD" >&2; exit 2 ;;
esac
