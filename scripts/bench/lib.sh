# shellcheck shell=bash
# Sourced by the benchmarks after tests/e2e/session.sh: when a window is
# shown, what a process holds in memory, what it costs while it waits, and
# arming a delay preset of the main window. Counters are read from /proc.

bench_median() { sort -n | awk '{a[NR]=$1} END {m=(NR%2)?a[(NR+1)/2]:(a[NR/2]+a[NR/2+1])/2; printf "%.1f", m}'; }

# Stamps every top-level window the X server maps, as xev reports it, into
# $bench_maps: the moment a window is shown does not then depend on how
# often we look.
bench_watch_maps() {
  bench_maps="$e2e_dir/maps"
  : >"$bench_maps"
  xev -root -event substructure 2>/dev/null | /usr/bin/python3 -u -c '
import re, sys, time
pending = False
for line in sys.stdin:
    if line.startswith("MapNotify"):
        pending, stamp = True, time.time_ns()
    elif pending and "window 0x" in line:
        print(stamp, re.search(r"window (0x[0-9a-f]+)", line).group(1), flush=True)
        pending = False' >>"$bench_maps" &
  e2e_pids="$e2e_pids $!"
  sleep 0.3
}

# The stamp (ns) of the first window mapped after $2 (ns) whose name matches
# the extended regex $1 and that is a window, not a 22-pixel tray icon.
bench_shown_at() {
  local end=$(( $(date +%s) + 30 )) stamp id WIDTH HEIGHT X Y SCREEN WINDOW
  while [ "$(date +%s)" -le "$end" ]; do
    while read -r stamp id; do
      [ "$stamp" -gt "$2" ] || continue
      xdotool getwindowname "$id" 2>/dev/null | grep -qE "$1" || continue
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      [ "${WIDTH:-0}" -ge 100 ] && { echo "$stamp $id"; return 0; }
    done <"$bench_maps"
    sleep 0.05
  done
  return 1
}

# A desktop hands the focus to a window it shows; Xvfb has no window manager.
bench_focus() { timeout 5 xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true; }

# "Rss Pss Private_Dirty" of process $1, in KiB.
bench_memory() {
  awk '/^Rss:/ {r = $2} /^Pss:/ {p = $2} /^Private_Dirty:/ {d = $2} END {print r, p, d}' "/proc/$1/smaps_rollup"
}

# "ticks ns tid:comm:switches..." of process $1: utime + stime of the whole
# process in clock ticks, time on a CPU of its threads in ns, and each
# thread's voluntary + involuntary context switches (its wake-ups).
bench_counters() {
  local ticks ns=0 task run _ threads=""
  ticks=$(sed 's/.*) //' "/proc/$1/stat" | awk '{print $12 + $13}')
  for task in /proc/"$1"/task/*; do
    read -r run _ <"$task/schedstat" 2>/dev/null || continue
    ns=$((ns + run))
    threads="$threads $(basename "$task"):$(tr ' ' _ <"$task/comm"):$(awk '/ctxt_switches/ {s += $2} END {print s}' "$task/status")"
  done
  echo "$ticks $ns$threads"
}

# From two bench_counters lines: "ticks cpu_ms wakeups per-thread-wakeups",
# per-thread as comm=count,... over the threads alive at both ends.
bench_delta() {
  /usr/bin/python3 -c '
import sys
a, b = sys.argv[1].split(), sys.argv[2].split()
threads = lambda f: {t.split(":")[0]: (t.split(":")[1], int(t.split(":")[2])) for t in f[2:]}
ta, tb = threads(a), threads(b)
per = [(tb[t][0], tb[t][1] - ta[t][1]) for t in tb if t in ta]
print(int(b[0]) - int(a[0]), round((int(b[1]) - int(a[1])) / 1e6), sum(n for _, n in per),
      ",".join(f"{c}={n}" for c, n in per))' "$1" "$2"
}
