#!/bin/bash
# The Windows program's figures under Wine, written as Markdown to
# bench/REPORT-win32.md and printed:
#   the size of Durmivela.exe;
#   start-up to the window shown (xev's MapNotify stamp), median of N runs,
#     beside a bare Win32 window with one label (bench/win32/BareWin32Window.cpp,
#     same compiler and static runtime), both started the same way with the
#     prefix's wineserver and desktop process already running;
#   memory 5 s after the window is shown (the Wine process's RSS and private
#     dirty pages, as Linux counts them);
#   with --countdown, the "5 Min" countdown: from the ACCEPT click to the end
#     of the program, which Wine's ExitWindowsEx ends with its prefix, less
#     the 301 s the schedule takes (300 s and the tick that goes below zero);
#     split at the log record's modification time, written just before the
#     shutdown is asked for: the program's own lateness, then Wine's.
# Usage: scripts/bench/win32.sh [BUILD_DIR] [--runs N] [--countdown] [--out FILE]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/win32 runs=10 countdown=0 out=$root/bench/REPORT-win32.md
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift ;;
    --countdown) countdown=1 ;;
    --out) out=$2; shift ;;
    *) build=$1 ;;
  esac
  shift
done
build=$(cd "$build" && pwd) || exit 1
for program in Durmivela.exe bench/win32/bare_win32_window.exe; do
  [ -f "$build/$program" ] || { echo "FAIL: no $build/$program: build the win32 preset first" >&2; exit 1; }
done
. "$root/tests/e2e/session.sh"
. "$root/tests/e2e/win32-ui.sh"
. "$root/scripts/bench/lib.sh"

e2e_start_display
e2e_start_tray
bench_watch_maps
e2e_start_wine
"$wineserver" -p
folder=$(e2e_program_folder "$build" Durmivela.exe)
cp "$build/bench/win32/bare_win32_window.exe" "$folder/"
e2e_write_settings "$folder/Durmivela.ini" 2 1

# Starts $1 of the folder and prints "ms pid" once a window named like $2 shows.
start_timed() {
  local t0 shown
  t0=$(date +%s%N)
  "$wine" "$folder/$1" >/dev/null 2>&1 &
  started=$!
  shown=$(bench_shown_at "$2" "$t0") || e2e_fail "$1 showed no window"
  echo "$(( (${shown%% *} - t0) / 1000 )) $started" | awk '{printf "%.1f %d\n", $1 / 1000, $2}'
}
stop() { kill "$1" 2>/dev/null; for _ in $(seq 50); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done; }

# The first start of each warms Wine's desktop process and the disk cache.
measure() {
  local times="" line pid
  line=$(start_timed "$1" "$2"); stop "${line#* }"
  for _ in $(seq "$runs"); do
    line=$(start_timed "$1" "$2")
    times="$times ${line% *}"
    stop "${line#* }"
  done
  echo "$times" | tr ' ' '\n' | grep . | bench_median
}
size=$(stat -c %s "$build/Durmivela.exe")
startup=$(measure Durmivela.exe '^Durmivela 3\.0\.16$')
bare=$(measure bare_win32_window.exe '^Bare window$')

line=$(start_timed Durmivela.exe '^Durmivela 3\.0\.16$'); sleep 5; read -r rss _ dirty < <(bench_memory "${line#* }"); stop "${line#* }"
line=$(start_timed bare_win32_window.exe '^Bare window$'); sleep 5; read -r brss _ bdirty < <(bench_memory "${line#* }"); stop "${line#* }"

countdown_row="| \"5 Min\" countdown | not measured (--countdown) | |"
if [ "$countdown" = 1 ]; then
  e2e_write_settings "$folder/Durmivela.ini" 2 2
  e2e_launch "$wine" "$folder/Durmivela.exe"
  win=$(e2e_wait_window '^Durmivela 3\.0\.16$' 30) || e2e_fail "no main window"
  armed=$(arm first)
  while kill -0 "$program" 2>/dev/null; do sleep 0.01; done
  ended=$(e2e_now)
  logged=$(stat -c %.9Y "$folder/Durmivelar_Log.log" 2>/dev/null || echo "$ended")
  late=$(awk -v e="$ended" -v a="$armed" 'BEGIN {printf "%+.0f", (e - a - 301) * 1000}')
  own=$(awk -v l="$logged" -v a="$armed" 'BEGIN {printf "%+.0f", (l - a - 301) * 1000}')
  wine_ms=$(awk -v e="$ended" -v l="$logged" 'BEGIN {printf "%.0f", (e - l) * 1000}')
  countdown_row="| \"5 Min\" countdown: arming to the end of the prefix, less 301 s | $late ms (target ±50 ms): $own ms to the log record written just before ExitWindowsEx, then $wine_ms ms for Wine to end the prefix | |"
fi
"$wineserver" -k 2>/dev/null

ratio=$(awk -v a="$startup" -v b="$bare" 'BEGIN {printf "%.2f", a / b}')
{
  echo "# Durmivela.exe under Wine: measured figures"
  echo
  echo "Wine $("$wine" --version 2>/dev/null), $(nproc) cores, Xvfb; \`scripts/bench/win32.sh\`, $(date -u +%Y-%m-%d)."
  echo
  echo "| | Durmivela.exe | bare Win32 window |"
  echo "|---|---|---|"
  echo "| size | $(awk -v s="$size" 'BEGIN {printf "%.2f MB (%d bytes)", s / 1048576, s}') (target ≤ 1.5 MB) | |"
  echo "| start-up to window shown, median of $runs | $startup ms ($ratio×, target ≤ 1.5×) | $bare ms |"
  echo "| RSS / private dirty after 5 s (KiB) | $rss / $dirty | $brss / $bdirty |"
  echo "$countdown_row"
} | tee "$out"
