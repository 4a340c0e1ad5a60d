#!/bin/bash
# Start-up time (launch to the main window shown) and resident memory one
# second after it is shown, median of N runs, under Xvfb with a tray host.
# Usage: scripts/bench/startup.sh [runs] [--kshutdown] [BUILD_DIR]
# With --kshutdown the same is measured for KShutdown in the same run.
# scripts/bench/report.sh measures this and more in one run.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=10 kshutdown=0 build=$root/build/linux
for arg in "$@"; do
  case $arg in
    --kshutdown) kshutdown=1 ;;
    *[!0-9]*) build=$arg ;;
    *) runs=$arg ;;
  esac
done
. "$root/tests/e2e/session.sh"
. "$root/scripts/bench/lib.sh"

[ -x "$build/durmivela" ] || e2e_fail "build first: make build"
e2e_start_display
e2e_start_tray
e2e_start_logind_mock
folder=$(e2e_program_folder)
bench_watch_maps

# measure NAME TITLE-REGEX COMMAND...: prints "ms kib" per run to $e2e_dir/NAME
measure() {
  name=$1 title=$2; shift 2
  : >"$e2e_dir/$name"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    shown=$(bench_shown_at "$title" "$start") || { kill $pid; e2e_fail "$name: no window"; }
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill $pid; wait $pid 2>/dev/null
    echo "$(( (${shown% *} - start) / 1000000 )) $rss" >>"$e2e_dir/$name"
  done
  ms=$(cut -d' ' -f1 "$e2e_dir/$name" | bench_median)
  kib=$(cut -d' ' -f2 "$e2e_dir/$name" | bench_median)
  echo "$name: start-up ${ms} ms, RSS ${kib} KiB (median of $runs)"
  echo "$ms $kib" >"$e2e_dir/$name.median"
}

measure durmivela '^Durmivela [0-9.]+$' "$folder/durmivela"

if [ "$kshutdown" = 1 ]; then
  command -v kshutdown >/dev/null || e2e_fail "kshutdown is not installed (apt-get install kshutdown)"
  # KShutdown wants a session bus; give it a private one.
  e2e_start_session_bus
  measure kshutdown '^KShutdown$' kshutdown
  read -r dms dkib <"$e2e_dir/durmivela.median"
  read -r kms kkib <"$e2e_dir/kshutdown.median"
  awk -v a="$dms" -v b="$kms" -v c="$dkib" -v d="$kkib" \
    'BEGIN {printf "ratio to KShutdown: start-up %.2f, RSS %.2f\n", a/b, c/d}'
fi
