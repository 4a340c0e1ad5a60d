#!/bin/bash
# Damaged files beside the program: start-up time (launch to its first window,
# the warning or the main window, polled every 10 ms), peak resident memory (VmHWM, once the main
# window is up) and whether a "5 Seg" schedule still reaches logind's PowerOff.
# Cases: the shipped files; a 200 MB language file of tiny records; a 20 MB
# and a 900 KB text in the countdown title's record (908); a pipe named
# Durmivela.ini.tmp with no settings file. Under Xvfb, with a tray host and a
# mock logind on a private bus.
# Usage: scripts/bench/language.sh [BUILD_DIR]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/linux}
. "$root/tests/e2e/session.sh"
. "$root/scripts/bench/lib.sh"

[ -x "$build/durmivela" ] || e2e_fail "build first: make build"
e2e_start_display
e2e_start_tray
e2e_start_logind_mock

ini() { e2e_write_settings "$folder/Durmivela.ini" 2 1 "$1"; }

# A program folder of the shipped files, with English made from $1 bytes of
# text in record 908 (none: the shipped English).
fresh_folder() {
  rm -rf "$e2e_dir/program"
  folder=$(e2e_program_folder)
  if [ "$1" -gt 0 ]; then
    /usr/bin/python3 - "$folder/Leng/English.lng" "$1" <<'EOF'
import sys
path, size = sys.argv[1], int(sys.argv[2])
data = open(path, "rb").read().replace(b'908,"to shutdown"', b'908,"' + b"x" * size + b'"')
open(path, "wb").write(data)
EOF
  fi
}

# The first visible window of $program wider than a tray icon; prints its id.
# (Told by the process, as window ids come back from a program that ended.)
first_window() {
  local end=$(( $(date +%s) + 60 )) id WIDTH HEIGHT X Y SCREEN WINDOW
  while [ "$(date +%s)" -le "$end" ]; do
    for id in $(xdotool search --onlyvisible --pid "$program" 2>/dev/null); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      [ "${WIDTH:-0}" -ge 100 ] && { echo "$id"; return 0; }
    done
    sleep 0.01
  done
  return 1
}

# run_case NAME [arm]: starts the program of $folder, answers a warning with
# Return, and prints one line of figures; with "arm", picks "5 Seg" and waits
# for PowerOff.
run_case() {
  name=$1
  start=$(date +%s%N)
  : >"$e2e_dir/program.log"
  e2e_launch "$folder/durmivela"
  first=$(first_window) || e2e_fail "$name: no window; $(tail -n 3 "$e2e_dir/program.log")"
  first_ms=$(( ($(date +%s%N) - start) / 1000000 ))
  warning=no
  if [ "$(xdotool getwindowname "$first")" = "Durmivela" ]; then
    warning=yes
    bench_focus "$first"
    xdotool key Return
  fi
  win=$(e2e_wait_window '^Durmivela 3\.0\.16$' 60) || e2e_fail "$name: no main window"
  main_ms=$(( ($(date +%s%N) - start) / 1000000 ))
  sleep 1
  hwm=$(awk '/VmHWM/ {print $2}' "/proc/$program/status")
  result="$name: first window ${first_ms} ms, main window by ${main_ms} ms, warning $warning, peak RSS ${hwm} KiB"
  if [ "${2:-}" = arm ]; then
    before=$(e2e_poweroffs)
    e2e_arm_preset "$win" End >/dev/null
    sleep 2
    title=$(xdotool getwindowname "$win")
    reached=no
    e2e_wait_poweroff $((before + 1)) 100 >/dev/null && reached=yes
    kill -0 "$program" 2>/dev/null || reached="no (the program died: $(tail -n 1 "$e2e_dir/program.log"))"
    result="$result, countdown title ${#title} characters, PowerOff reached: $reached"
  fi
  echo "$result"
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}

fresh_folder 0
ini English
run_case "shipped English" arm

ini Grande
yes '1,a' | head -c 200000000 >"$folder/Leng/Grande.lng"
run_case "200 MB language file"

fresh_folder 20000000
ini English
run_case "20 MB text in record 908" arm

fresh_folder 900000
ini English
run_case "900 KB text in record 908" arm

fresh_folder 0
mkfifo "$folder/Durmivela.ini.tmp"
run_case "pipe named Durmivela.ini.tmp, no settings file"
[ -f "$folder/Durmivela.ini" ] && echo "  Durmivela.ini written: $(head -c 20 "$folder/Durmivela.ini" | tr '\r\n' '  ')"
