#!/bin/sh
# Builds the fuzzers (preset `fuzz`) and runs each, or the targets named, for
# SECONDS (default 900), one after the other, printing how many inputs each
# tried. New inputs go to build/fuzz/fuzz/corpus/<target>; the seeds in
# fuzz/corpus are only read. A crashing input is kept as
# build/fuzz/fuzz/artifacts/<target>-crash-*.
# Usage: scripts/fuzz.sh [SECONDS [TARGET...]]   (targets: settings number language)
set -eu
seconds=${1:-900}
if [ $# -gt 0 ]; then shift; fi
targets=${*:-settings number language}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
out=build/fuzz/fuzz
status=0
for target in $targets; do
  mkdir -p "$out/corpus/$target" "$out/artifacts"
  log="$out/$target.log"
  if ! "$out/fuzz_$target" -max_total_time="$seconds" -print_final_stats=1 \
      -artifact_prefix="$out/artifacts/$target-" "$out/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    status=1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  printf '%-9s %12s executions %8s exec/s (%s)\n' "$target" "${runs:-?}" "${rate:-?}" "$log"
done
exit $status
