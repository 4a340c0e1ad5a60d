#!/bin/bash
# The performance report: Durmivela beside KShutdown and a bare Qt 6 window
# with one label (bench/BareWindow.cpp, the toolkit's floor), all measured in
# one run on this machine, written as Markdown to bench/REPORT.md and printed.
#
#   start-up to the window shown (xev's MapNotify stamp), median of N runs;
#   RSS, PSS and private dirty memory 5 s after the window is shown;
#   CPU (utime + stime ticks) and wake-ups (context switches of all threads)
#     over 60 s, idle and armed (Durmivela: the "10 H" preset clicked, then
#     hidden in the tray; KShutdown: --init --halt 10h, hidden in the tray),
#     and idle with the focus in Durmivela's hour box and with the bare
#     window's label showing the time (bare_window --clock);
#   capture + BMP save at 1920x1080 (capture.sh) and the "5 Min" countdown
#     against the mock logind (countdown.sh: 5 minutes, on its own display
#     beside the 60 s measurements; --no-countdown skips it).
#
# Every program measured sees a mock logind on a private bus as its system
# bus, finds refusing stand-ins for shutdown, poweroff, systemctl and the
# like first on its PATH, and is stopped long before its delay runs out; the
# countdown's own "5 Min" runs out against its own mock.
#
# Usage: scripts/bench/report.sh [BUILD_DIR] [--runs N] [--secs S] [--no-countdown] [--out FILE]
# BUILD_DIR defaults to build/linux (needs durmivela, bench/bare_window and
# bench/capture_bench). Installs KShutdown with apt-get when it is missing.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$root/build/linux runs=10 countdown=1 out=$root/bench/REPORT.md secs=60
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=$2; shift ;;
    --secs) secs=$2; shift ;;
    --no-countdown) countdown=0 ;;
    --out) out=$2; shift ;;
    *) build=$1 ;;
  esac
  shift
done
build=$(cd "$build" && pwd) || exit 1
for program in durmivela bench/bare_window bench/capture_bench; do
  [ -x "$build/$program" ] || { echo "FAIL: no $build/$program: build first" >&2; exit 1; }
done

if ! command -v kshutdown >/dev/null; then
  echo "KShutdown is missing: installing the Debian package"
  as_root=""
  [ "$(id -u)" = 0 ] || as_root=sudo
  install_kshutdown() {
    $as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends kshutdown
  }
  install_kshutdown || { $as_root apt-get update && install_kshutdown; } || { echo "FAIL: cannot install kshutdown" >&2; exit 1; }
fi

. "$root/tests/e2e/session.sh"
. "$root/scripts/bench/lib.sh"
r="$e2e_dir/results"
mkdir -p "$r"

e2e_start_display
e2e_start_tray
e2e_start_logind_mock

# The same private desktop for every program: a session bus with nothing on
# it, fresh configuration, cache and data folders, and no way to a real shutdown.
e2e_start_session_bus
mkdir -p "$e2e_dir/refuse"
for command in shutdown poweroff halt reboot systemctl loginctl; do
  printf '#!/bin/sh\necho "refused: %s $*" >>"%s"\nexit 1\n' "$command" "$e2e_dir/refused.log" \
    >"$e2e_dir/refuse/$command"
  chmod +x "$e2e_dir/refuse/$command"
done
export PATH="$e2e_dir/refuse:$PATH"
e2e_assert_private_bus

# Durmivela's folders: the delay layout (its default focus is the preset
# list) and the clock-time layout (the focus is in the hour's text box).
folder=$(e2e_program_folder)
cp -r "$folder" "$e2e_dir/program-clock"
e2e_write_settings "$folder/Durmivela.ini" 2 1
e2e_write_settings "$e2e_dir/program-clock/Durmivela.ini" 1 1
# Written back now: pages of a file copied a moment ago are still dirty in
# the page cache and would count as the program's private dirty memory.
sync "$folder/durmivela" "$e2e_dir/program-clock/durmivela"
durmivela_title='^Durmivela [0-9.]+$' kshutdown_title='^KShutdown$' bare_title='^Bare Qt window$'

bench_watch_maps

sleep_until() {  # $1: a date +%s%N moment
  local left=$(( $1 - $(date +%s%N) ))
  [ "$left" -gt 0 ] && sleep "$(awk -v n="$left" 'BEGIN {printf "%.3f", n / 1e9}')"
}

# launch COMMAND...: starts a program measured; its pid is $pid.
launch() {
  "$@" >>"$e2e_dir/programs.log" 2>&1 &
  pid=$!
  e2e_pids="$pid $e2e_pids"
}
stop() { kill "$1" 2>/dev/null; wait "$1" 2>/dev/null; }

# startup KEY TITLE COMMAND...: one start-up, in ms, appended to $r/KEY.startup.
startup() {
  local key=$1 title=$2 start shown
  shift 2
  start=$(date +%s%N)
  launch "$@"
  shown=$(bench_shown_at "$title" "$start") || { stop "$pid"; e2e_fail "$key: no window"; }
  stop "$pid"
  echo $(( (${shown% *} - start) / 1000000 )) >>"$r/$key.startup"
  sleep 0.5
}

# idle KEY TITLE COMMAND...: shows the program and gives it the focus; its
# memory 5 s after it is shown, then its costs over $secs s. Leaves it
# running as $pid, its window as $win.
idle() {
  local key=$1 title=$2 start shown a b
  shift 2
  start=$(date +%s%N)
  launch "$@"
  shown=$(bench_shown_at "$title" "$start") || { stop "$pid"; e2e_fail "$key: no window"; }
  win=${shown#* }
  bench_focus "$win"
  sleep_until $(( ${shown% *} + 5000000000 ))
  bench_memory "$pid" >"$r/$key.memory"
  a=$(bench_counters "$pid")
  sleep "$secs"
  b=$(bench_counters "$pid")
  bench_delta "$a" "$b" >"$r/$key.idle"
}

# armed KEY: the costs of $pid over $secs s, 5 s after it was armed.
armed() {
  local a b
  sleep 5
  a=$(bench_counters "$pid")
  sleep "$secs"
  b=$(bench_counters "$pid")
  bench_delta "$a" "$b" >"$r/$1.armed"
}

# waits up to 10 s for any window, mapped or not, whose name matches $1.
named_window() {
  for _ in $(seq 100); do
    xwininfo -root -tree | grep -qE "\"[^\"]*$1[^\"]*\"" && return 0
    sleep 0.1
  done
  return 1
}

echo "start-up: $runs runs of each, after one warm-up run each"
for run in $(seq 0 "$runs"); do
  for key in durmivela kshutdown bare; do
    case $key in
      durmivela) startup durmivela "$durmivela_title" "$folder/durmivela" ;;
      kshutdown) startup kshutdown "$kshutdown_title" kshutdown ;;
      bare) startup bare "$bare_title" "$build/bench/bare_window" ;;
    esac
  done
  [ "$run" = 0 ] && rm -f "$r"/*.startup
done

echo "capture + BMP save at 1920x1080"
"$root/scripts/bench/capture.sh" "$build" >"$r/capture.out" 2>&1 || e2e_fail "capture: $(tail -n 3 "$r/capture.out")"

if [ "$countdown" = 1 ]; then
  echo "\"5 Min\" countdown: 5 minutes, on its own display, beside what follows"
  "$root/scripts/bench/countdown.sh" "$build" >"$r/countdown.out" 2>&1 &
  countdown_pid=$!
  e2e_pids="$e2e_pids $countdown_pid"
fi

echo "Durmivela: memory, idle ${secs} s, armed ${secs} s"
idle durmivela "$durmivela_title" "$folder/durmivela"
e2e_arm_preset "$win" End Up >/dev/null
named_window 'para el apagado' || e2e_fail "Durmivela did not arm the 10 H preset"
xwininfo -id "$win" | grep -q IsUnMapped && durmivela_hidden=1 || durmivela_hidden=0
armed durmivela
grep -q " PowerOff" "$e2e_logind_log" && e2e_fail "a PowerOff reached the mock while armed for 10 hours"
stop "$pid"

echo "Durmivela, clock-time layout: idle ${secs} s"
idle durmivela-clock "$durmivela_title" "$e2e_dir/program-clock/durmivela"
stop "$pid"

echo "KShutdown: memory, idle ${secs} s, armed ${secs} s"
idle kshutdown "$kshutdown_title" kshutdown
stop "$pid"
launch kshutdown --init --halt 10h
named_window 'Remaining time.*KShutdown' || e2e_fail "KShutdown did not arm"
armed kshutdown
stop "$pid"

echo "bare Qt window: memory, idle ${secs} s; idle ${secs} s showing a clock"
idle bare "$bare_title" "$build/bench/bare_window"
stop "$pid"
idle bare-clock "$bare_title" "$build/bench/bare_window" --clock
stop "$pid"

grep -q " PowerOff" "$e2e_logind_log" && e2e_fail "a PowerOff reached the mock"
[ -s "$e2e_dir/refused.log" ] && e2e_fail "a program tried a shutdown command: $(cat "$e2e_dir/refused.log")"

if [ "$countdown" = 1 ]; then
  echo "waiting for the countdown"
  wait "$countdown_pid" || e2e_fail "countdown: $(tail -n 3 "$r/countdown.out")"
fi

# The report.
median_of() { bench_median <"$r/$1.startup"; }
field() { cut -d' ' -f"$2" "$r/$1"; }
mib() { awk -v k="$1" 'BEGIN {printf "%.1f MiB", k / 1024}'; }
cpu() { echo "$(field "$1" 1) ticks ($(field "$1" 2) ms)"; }
wakeups() { awk -v n="$(field "$1" 3)" -v s="$secs" 'BEGIN {printf "%.0f", n * 60 / s}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
verdict() { awk -v v="$1" -v l="$2" 'BEGIN {print (v <= l) ? "met" : "**not met**"}'; }

d_ms=$(median_of durmivela) k_ms=$(median_of kshutdown) b_ms=$(median_of bare)
read -r d_rss d_pss d_dirty <"$r/durmivela.memory"
read -r k_rss k_pss k_dirty <"$r/kshutdown.memory"
read -r b_rss b_pss b_dirty <"$r/bare.memory"
capture=$(grep -o 'median [0-9.]* ms' "$r/capture.out" | cut -d' ' -f2)
if [ "$countdown" = 1 ]; then
  poweroff=$(grep -o '[-+][0-9]* ms against 301 s' "$r/countdown.out" | cut -d' ' -f1)
  lateness=$(sed -n 's/.*(ms): //p' "$r/countdown.out")
  countdown_row="| \"5 Min\" countdown: PowerOff against arming + 301 s; watch-tick lateness | $poweroff ms; $lateness ms | | |"
else
  countdown_row="| \"5 Min\" countdown | skipped (--no-countdown) | | |"
fi
[ "$durmivela_hidden" = 1 ] && d_armed="hidden in the tray" || d_armed="minimised (no tray)"

commit=$(git -C "$root" rev-parse --short HEAD 2>/dev/null)
[ -n "$(git -C "$root" status --porcelain 2>/dev/null)" ] && commit="$commit with local changes"
{
  echo "# Performance report"
  echo
  echo "Generated by \`scripts/bench/report.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); do not edit by hand."
  echo "Durmivela $commit ($build), KShutdown $(dpkg-query -W -f='${Version}' kshutdown 2>/dev/null) (Qt 5),"
  echo "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null), $(uname -sr),"
  echo "$(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //') ($(nproc) CPUs)."
  echo "Xvfb 1920x1080x24 with trayer as the tray host; every program focused once shown, as a desktop does."
  echo
  echo "| Measure | Durmivela | KShutdown | Bare Qt window |"
  echo "|---|---|---|---|"
  echo "| Start-up to window shown, median of $runs | $d_ms ms | $k_ms ms | $b_ms ms |"
  echo "| RSS 5 s after shown | $(mib "$d_rss") | $(mib "$k_rss") | $(mib "$b_rss") |"
  echo "| PSS 5 s after shown | $(mib "$d_pss") | $(mib "$k_pss") | $(mib "$b_pss") |"
  echo "| Private dirty 5 s after shown | $(mib "$d_dirty") | $(mib "$k_dirty") | $(mib "$b_dirty") |"
  echo "| Idle CPU over $secs s | $(cpu durmivela.idle) | $(cpu kshutdown.idle) | $(cpu bare.idle) |"
  echo "| Idle wake-ups per minute | $(wakeups durmivela.idle) | $(wakeups kshutdown.idle) | $(wakeups bare.idle) |"
  echo "| Idle, focus in a text box (Durmivela's clock-time layout): CPU, wake-ups per minute | $(cpu durmivela-clock.idle), $(wakeups durmivela-clock.idle) | | |"
  echo "| Idle, the label showing the time read twice a second (\`bare_window --clock\`): CPU, wake-ups per minute | | | $(cpu bare-clock.idle), $(wakeups bare-clock.idle) |"
  echo "| Armed CPU over $secs s | $(cpu durmivela.armed) | $(cpu kshutdown.armed) | |"
  echo "| Armed wake-ups per minute | $(wakeups durmivela.armed) | $(wakeups kshutdown.armed) | |"
  echo "| Capture + BMP save at 1920x1080, median of 10 | $capture ms | | |"
  echo "$countdown_row"
  echo
  echo "Armed: Durmivela with the \"10 H\" preset clicked, then $d_armed; KShutdown with"
  echo "\`--init --halt 10h\`, hidden in the tray. Wake-ups are the voluntary and involuntary context"
  echo "switches of all threads; CPU is utime + stime in clock ticks of 10 ms, with the threads' time"
  echo "on a CPU (schedstat) in brackets. Wake-ups by thread:"
  echo
  for key in durmivela.idle durmivela-clock.idle durmivela.armed kshutdown.idle kshutdown.armed bare.idle \
    bare-clock.idle; do
    echo "- $key: $(field "$key" 4 | sed 's/,/, /g')"
  done
  echo
  echo "| Target | Value | |"
  echo "|---|---|---|"
  v=$(ratio "$d_ms" "$k_ms")
  echo "| Start-up <= 0.3 x KShutdown's | $v x | $(verdict "$v" 0.3) |"
  v=$(ratio "$d_rss" "$b_rss")
  echo "| RSS within 15 % of the bare window's | $v x | $(verdict "$v" 1.15) |"
  v=$(ratio "$d_dirty" "$b_dirty")
  echo "| Private dirty within 30 % of the bare window's | $v x | $(verdict "$v" 1.30) |"
  echo "| Idle CPU <= KShutdown's | $(field durmivela.idle 1) vs $(field kshutdown.idle 1) ticks | $(verdict "$(field durmivela.idle 1)" "$(field kshutdown.idle 1)") |"
  echo
  echo "KShutdown's idle window shows nothing that changes; Durmivela's shows the time of day. The bare"
  echo "window showing the time the same way costs $(field bare-clock.idle 1) ticks ($(field bare-clock.idle 2) ms) and $(wakeups bare-clock.idle) wake-ups a minute."
} >"$out"
echo
cat "$out"
