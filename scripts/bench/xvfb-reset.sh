#!/bin/bash
# Why the end-to-end displays run with -noreset: counts the connections to a
# fresh Xvfb that fail while another client keeps connecting and leaving (as
# xdotool does while a test waits for a window), without and with -noreset.
# Usage: scripts/bench/xvfb-reset.sh [CONNECTIONS]
set -u
tries=${1:-300}
for options in "" "-noreset"; do
  n=150
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -nolisten tcp $options >/dev/null 2>&1 &
  server=$!
  for _ in $(seq 100); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  (while :; do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; done) &
  churn=$!
  failed=0
  for _ in $(seq "$tries"); do DISPLAY=":$n" xdpyinfo >/dev/null 2>&1 || failed=$((failed + 1)); done
  kill "$churn" "$server"
  wait "$churn" "$server" 2>/dev/null
  echo "Xvfb ${options:-(default)}: $failed of $tries connections failed"
done
