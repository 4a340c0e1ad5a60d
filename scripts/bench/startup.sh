#!/bin/bash
# Start-up time (launch to the main window shown) and resident memory one
# second after it is shown, median of N runs, under Xvfb with a tray host.
# Usage: scripts/bench/startup.sh [runs] [--kshutdown]
# With --kshutdown the same is measured for KShutdown in the same run.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-10}
. "$root/tests/e2e/session.sh"

[ -x "$root/build/linux/durmivela" ] || e2e_fail "build first: make build"
e2e_start_display
e2e_start_tray
folder=$(e2e_program_folder "$root/build/linux")

median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m}'; }

# Every top-level window the X server maps, stamped as xev reports it: the
# moment a window is shown does not then depend on how often we look.
maps="$e2e_dir/maps"
: >"$maps"
xev -root -event substructure | /usr/bin/python3 -u -c '
import re, sys, time
pending = False
for line in sys.stdin:
    if line.startswith("MapNotify"):
        pending, stamp = True, time.time_ns()
    elif pending and "window 0x" in line:
        print(stamp, re.search(r"window (0x[0-9a-f]+)", line).group(1), flush=True)
        pending = False' >>"$maps" &
e2e_pids="$e2e_pids $!"
sleep 0.3

# The stamp of the first window mapped after $2 (ns) whose name matches $1.
shown_at() {
  end=$(( $(date +%s) + 30 ))
  while [ "$(date +%s)" -le "$end" ]; do
    while read -r stamp id; do
      [ "$stamp" -gt "$2" ] || continue
      xdotool getwindowname "$id" 2>/dev/null | grep -qE "$1" && { echo "$stamp"; return 0; }
    done <"$maps"
    sleep 0.05
  done
  return 1
}

# measure NAME TITLE-REGEX COMMAND...: prints "ms kib" per run to $e2e_dir/NAME
measure() {
  name=$1 title=$2; shift 2
  : >"$e2e_dir/$name"
  for _ in $(seq "$runs"); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>&1 &
    pid=$!
    shown=$(shown_at "$title" "$start") || { kill $pid; e2e_fail "$name: no window"; }
    sleep 1
    rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
    kill $pid; wait $pid 2>/dev/null
    echo "$(( (shown - start) / 1000000 )) $rss" >>"$e2e_dir/$name"
  done
  ms=$(cut -d' ' -f1 "$e2e_dir/$name" | median)
  kib=$(cut -d' ' -f2 "$e2e_dir/$name" | median)
  echo "$name: start-up ${ms} ms, RSS ${kib} KiB (median of $runs)"
  echo "$ms $kib" >"$e2e_dir/$name.median"
}

measure durmivela '^Durmivela 3\.0\.16$' "$folder/durmivela"

if [ "${2:-}" = --kshutdown ]; then
  command -v kshutdown >/dev/null || e2e_fail "kshutdown is not installed (apt-get install kshutdown)"
  # KShutdown wants a session bus; give it a private one.
  eval "$(dbus-launch --sh-syntax)"
  e2e_pids="$e2e_pids $DBUS_SESSION_BUS_PID"
  measure kshutdown '^KShutdown$' kshutdown
  read -r dms dkib <"$e2e_dir/durmivela.median"
  read -r kms kkib <"$e2e_dir/kshutdown.median"
  awk -v a="$dms" -v b="$kms" -v c="$dkib" -v d="$kkib" \
    'BEGIN {printf "ratio to KShutdown: start-up %.2f, RSS %.2f\n", a/b, c/d}'
fi
