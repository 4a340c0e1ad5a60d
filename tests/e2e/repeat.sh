#!/bin/bash
# Runs an end-to-end script again and again, optionally while stress-ng keeps
# N workers busy on the CPUs, and counts the runs that fail. Each failed run
# keeps its output, screenshot and any backtrace (tests/e2e/session.sh); the
# folders are listed at the end.
# Usage: tests/e2e/repeat.sh RUNS [--stress N] SCRIPT [ARGUMENTS...]
set -u
runs=$1
shift
stress=0
if [ "${1:-}" = --stress ]; then
  stress=$2
  shift 2
fi
script=$1
shift
log=$(mktemp /tmp/durmivela-repeat.XXXXXX)
if [ "$stress" -gt 0 ]; then
  command -v stress-ng >/dev/null || { echo "stress-ng is needed (apt-get install stress-ng)" >&2; exit 2; }
  stress-ng --cpu "$stress" --timeout 0 >/dev/null 2>&1 &
  stressor=$!
  trap 'kill $stressor 2>/dev/null; wait $stressor 2>/dev/null' EXIT
fi
failed=0
started=$(date +%s)
for run in $(seq "$runs"); do
  if "$script" "$@" >"$log" 2>&1; then
    printf '.'
  else
    failed=$((failed + 1))
    printf '\nrun %d failed: %s\n' "$run" "$(grep -E '^FAIL|kept in' "$log" | tr '\n' ' ')"
  fi
done
echo
echo "$(basename "$script"): $failed of $runs runs failed in $(($(date +%s) - started)) s, with $stress stress-ng CPU workers on $(nproc) CPUs"
rm -f "$log"
[ "$failed" -eq 0 ]
