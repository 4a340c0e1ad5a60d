#!/bin/bash
# End to end on Linux: a schedule keeps its time while the program is held.
# 1. Armed for the next minute, the real program runs Ayuda > Buscar
#    actualizaciones against a network that stalls: the test server is its
#    proxy and answers nothing, so the probe waits out its 60 s limit. The
#    window keeps repainting, takes no click, and logind is asked for
#    PowerOff at the minute, not after the update; the update then ends with
#    its message and the program quits cleanly.
# 2. Armed "5 Seg", the program is stopped (SIGSTOP) for 20 s: once it runs
#    again PowerOff comes at once, not 20 s late.
# Usage: tests/e2e/stall.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"

e2e_start_display
e2e_start_tray
e2e_start_logind_mock

# The test server as every request's proxy: the probe's address reaches it and
# gets no answer (a request made through a proxy never does).
mkdir -p "$e2e_dir/served"
e2e_start_test_server "$e2e_dir/served"
export http_proxy="http://127.0.0.1:$e2e_port" https_proxy="http://127.0.0.1:$e2e_port"
unset no_proxy NO_PROXY HTTP_PROXY HTTPS_PROXY

folder=$(e2e_program_folder)

# 1. Armed for the next minute, between 15 and 25 s before it.
e2e_write_settings "$folder/Durmivela.ini" 1 2
e2e_start_program "$folder"
while [ "$(date +%-S)" -lt 35 ] || [ "$(date +%-S)" -ge 45 ]; do sleep 0.2; done
now=$(date +%s)
minute=$(((now + 60) / 60 * 60))
xdotool mousemove --window "$win" $(e2e_at "$win" 188 81) click 1 key ctrl+a type "$(date -d "@$minute" +%-H)"
xdotool mousemove --window "$win" $(e2e_at "$win" 236 81) click 1 key ctrl+a type "$(date -d "@$minute" +%-M)"
e2e_click "$win" 68 237
e2e_wait_viewable "$win" no || e2e_fail "ACEPTAR did not arm the schedule"
# Back from the tray with a double click on the docked icon, still armed.
icon=$(e2e_tray_icon) || e2e_fail "no tray icon appeared"
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
e2e_wait_viewable "$win" yes || e2e_fail "a double click on the icon did not restore the window"
sleep 0.3
xdotool windowfocus --sync "$win"
xdotool key alt+y
sleep 0.4
xdotool key b
started=$(e2e_now)
sleep 1.5
# The update is running: the window repaints its clock, and Parar does nothing.
e2e_shot stall-update-1 "$win"
e2e_click_stop "$win"
sleep 1.2
e2e_shot stall-update-2 "$win"
changed=$(compare -metric AE "$shots/stall-update-1.png" "$shots/stall-update-2.png" null: 2>&1 | cut -d' ' -f1)
[ "${changed:-0}" -gt 0 ] || e2e_fail "the window did not repaint its clock during the update"
[ "$(e2e_poweroffs)" -eq 0 ] || e2e_fail "PowerOff came before the minute"

call=$(e2e_wait_poweroff 1 400) || e2e_fail "no PowerOff reached logind during the stalled update"
fired=${call%% *}
late=$(awk -v t="$fired" -v m="$minute" 'BEGIN {printf "%.3f", t - m}')
echo "stalled update: PowerOff $late s after the minute it was armed for (the update began $(awk -v s="$started" -v m="$minute" 'BEGIN {printf "%.1f", m - s}') s before it)"
awk -v l="$late" 'BEGIN {exit !(l >= 0 && l < 1.5)}' || e2e_fail "PowerOff came $late s after the minute"
iconv -f WINDOWS-1252 -t UTF-8 "$folder/Durmivelar_Log.log" 2>/dev/null | grep -q 'Apagado a una hora' ||
  e2e_fail "no log record before the shutdown: $(cat "$folder/Durmivelar_Log.log" 2>&1)"
# The stall ends (the server goes): the update reports no connection.
kill "$e2e_server"
box=$(e2e_wait_window '^Actualizando$' 30) || e2e_fail "the update did not end with its message"
sleep 0.3
e2e_shot stall-update-ended
xdotool key --window "$box" Return
sleep 0.5
# Parar, then Salir: the program ends the ordinary way.
e2e_click_stop "$win"
sleep 0.5
e2e_click_stop "$win"
e2e_expect_clean_exit "Parar and Salir after the update"

# 2. "5 Seg", and the program held for 20 s a second after arming.
e2e_write_settings "$folder/Durmivela.ini" 2 2
e2e_start_program "$folder"
armed=$(e2e_arm_preset "$win" End)
sleep 1
kill -STOP "$program"
sleep 20
kill -CONT "$program"
resumed=$(e2e_now)
call=$(e2e_wait_poweroff 2 100) || e2e_fail "no PowerOff after the program ran again"
fired=${call%% *}
after=$(awk -v t="$fired" -v r="$resumed" 'BEGIN {printf "%.3f", t - r}')
total=$(awk -v t="$fired" -v a="$armed" 'BEGIN {printf "%.3f", t - a}')
echo "held 20 s: PowerOff $after s after the program ran again, $total s after arming \"5 Seg\""
awk -v d="$after" 'BEGIN {exit !(d < 1.5)}' || e2e_fail "PowerOff came $after s after the program ran again"
[ "$(e2e_poweroffs)" -eq 2 ] || e2e_fail "$(e2e_poweroffs) PowerOff calls, not 2"
echo "e2e stall: ok (screenshots in $shots)"
