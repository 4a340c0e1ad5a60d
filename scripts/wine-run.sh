#!/bin/sh
# Runs a Windows program of the build under Wine, in a throwaway prefix inside
# the build folder (never the user's own), made on first use:
#   wine-run.sh program.exe [arguments...]
# The prefix is $DURMIVELA_WINEPREFIX, or "wineprefix" in the build folder that
# holds the program. Without a display it uses the test session's Xvfb
# (wine-session.sh), or one of its own from tests/e2e/session.sh.
set -eu
program=$1

if [ -z "${DURMIVELA_WINEPREFIX:-}" ]; then
  dir=$(cd "$(dirname "$program")" && pwd)
  while [ "$dir" != / ] && [ ! -f "$dir/CMakeCache.txt" ]; do dir=$(dirname "$dir"); done
  [ -f "$dir/CMakeCache.txt" ] || { echo "wine-run.sh: no build folder above $program" >&2; exit 2; }
  DURMIVELA_WINEPREFIX=$dir/wineprefix
fi
. "$(dirname "$0")/wine-env.sh"
wine_prefix_ready

if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  DISPLAY=$(cat "$WINEPREFIX.display")
  export DISPLAY
fi
if [ -z "${DISPLAY:-}" ]; then
  set +e
  build=$(dirname "$WINEPREFIX")
  . "$(dirname "$0")/../tests/e2e/session.sh"
  E2E_SCREEN=1024x768x24 e2e_start_display
  "$wine" "$@"
  exit
fi
exec "$wine" "$@"
