#!/bin/bash
# Countdown accuracy of the real Linux program: arms "5 Min" under Xvfb with a
# mock logind on a private bus and reports when PowerOff arrives against the
# due moment (arming + 301 s), and how late each watch tick changed the title.
# Takes about five minutes. Usage: scripts/bench/countdown.sh [BUILD_DIR]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/linux}" && pwd)
. "$root/tests/e2e/session.sh"

e2e_start_display
e2e_start_tray
e2e_start_logind_mock
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 2 1
e2e_start_program "$folder"

# Every title change, stamped as it reaches the X server's clients.
xprop -spy -id "$win" WM_NAME 2>/dev/null | while IFS= read -r line; do echo "$(date +%s.%N) $line"; done \
  >"$e2e_dir/titles" &
e2e_pids="$e2e_pids $!"
sleep 0.3

armed=$(e2e_arm_preset "$win" Home)  # the first entry, "5 Min"
echo "armed at $armed; waiting 301 s"
call=$(e2e_wait_poweroff 1 3300) || e2e_fail "no PowerOff"
awk -v t="${call%% *}" -v a="$armed" \
  'BEGIN {printf "PowerOff at arming + %.3f s: %+.0f ms against 301 s\n", t - a, (t - a - 301) * 1000}'

# Tick k of the countdown writes the title 300-k seconds before zero; its
# lateness is when the title changed minus (arming + k s).
grep 'para el apagado' "$e2e_dir/titles" | awk -v a="$armed" '
  { split($4, hms, /[":]/); rest = hms[2] * 3600 + hms[3] * 60 + hms[4]
    k = (rest == 1 && seen0) ? 301 : 300 - rest; if (rest == 0) seen0 = 1
    late = ($1 - a - k) * 1000; print late }' | sort -n | awk '
  { v[NR] = $1 } END {
    if (NR == 0) { print "no title changes seen"; exit }
    printf "tick lateness over %d ticks (ms): min %.1f, median %.1f, p95 %.1f, max %.1f\n",
      NR, v[1], v[int((NR + 1) / 2)], v[int(NR * 0.95 + 0.5)], v[NR] }'
