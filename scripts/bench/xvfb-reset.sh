#!/bin/bash
# Why the end-to-end displays run with -noreset: counts the connections to a
# fresh Xvfb that fail while another client keeps connecting and leaving (as
# xdotool does while a test waits for a window), without and with -noreset.
# Usage: scripts/bench/xvfb-reset.sh [CONNECTIONS]
set -u
tries=${1:-300}
. "$(dirname "$0")/../../tests/e2e/session.sh"
for options in "" "-noreset"; do
  started=$(e2e_xvfb "$e2e_dir/xvfb.log" $options) || e2e_fail "Xvfb did not start"
  read -r n server <<<"$started"
  e2e_pids="$e2e_pids $server"
  (while :; do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; done) &
  churn=$!
  failed=0
  for _ in $(seq "$tries"); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 || failed=$((failed + 1)); done
  kill "$churn" "$server"
  wait "$churn" 2>/dev/null
  echo "Xvfb ${options:-(default)}: $failed of $tries connections failed"
done
