#!/bin/bash
# End to end on Linux: the real program under Xvfb with an XEmbed tray host
# and a mock logind on a private bus. Arms "5 Min"; the tray host crashes and
# the window comes back minimised, still counting; the host starts again and
# the window docks again. A double click on the icon brings the window back
# and Parar stops. Then picks "5 Seg",
# presses ACEPTAR, and checks that the window goes to the tray, that logind is
# asked for PowerOff(false) about six seconds later, that the log record and
# the screen capture were written, and that a right click on the icon opens
# the tray menu.
# Usage: tests/e2e/schedule.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"

e2e_start_display
e2e_start_tray
e2e_start_logind_mock
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 2 4

# The window leaves the screen and an icon docks in the tray; sets $icon.
# (Armed, the window's title is the countdown: it is told by its id.)
wait_docked() {
  e2e_wait_viewable "$win" no || e2e_fail "the window is still on screen after arming"
  icon=$(e2e_tray_icon) || e2e_fail "no tray icon appeared"
}

e2e_start_program "$folder"
e2e_shot before-arming

e2e_arm_preset "$win" Home >/dev/null  # the first entry, "5 Min"
wait_docked

# The tray host crashes: the window comes back minimised, still counting
# down; a new host takes the window back into the tray.
e2e_kill_tray_host "$e2e_tray_pid"
e2e_wait_viewable "$win" yes || e2e_fail "the tray went and the window stayed hidden"
xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || e2e_fail "the window came back not minimised"
e2e_wait_title "$win" '^0:0[45]:[0-9]{2} para el apagado$' ||
  e2e_fail "the window came back not armed: $(xdotool getwindowname "$win")"
e2e_start_tray
wait_docked

# A double click on the docked icon brings the window back; a single click does not.
xdotool mousemove --window "$icon" 8 8 click 1
sleep 0.6
e2e_viewable "$win" && e2e_fail "a single click on the icon restored the window"
xdotool mousemove --window "$icon" 8 8 click --repeat 2 --delay 80 1
e2e_wait_viewable "$win" yes || e2e_fail "a double click on the icon did not restore the window"
sleep 0.3
# Still armed: its Parar button stops the schedule.
e2e_click_stop "$win"
e2e_wait_title "$win" '^Durmivela 3\.0\.16$' || e2e_fail "Parar did not stop the schedule"

armed=$(e2e_arm_preset "$win" End)  # the last entry, "5 Seg"
wait_docked

# logind is asked for PowerOff(false) about six seconds after arming.
call=$(e2e_wait_poweroff) || e2e_fail "no PowerOff call reached logind"
echo "logind: $call"
case "$call" in *"PowerOff False"*) ;; *) e2e_fail "PowerOff was not asked with false: $call" ;; esac
[ "$(e2e_poweroffs)" -eq 1 ] || e2e_fail "more than one PowerOff call"
delay=$(awk -v t="${call%% *}" -v a="$armed" 'BEGIN {printf "%.3f", t - a}')
echo "PowerOff $delay s after arming"
awk -v d="$delay" 'BEGIN {exit !(d > 5.5 && d < 7.0)}' || e2e_fail "PowerOff came $delay s after arming, not about 6 s"

# The log record in Spanish, Windows-1252, and a BMP of the whole screen.
log="$folder/Durmivelar_Log.log"
[ -f "$log" ] || e2e_fail "no log file"
iconv -f WINDOWS-1252 -t UTF-8 "$log" | grep -q 'Registro de apagado de Durmivela' || e2e_fail "log record: $(cat "$log")"
iconv -f WINDOWS-1252 -t UTF-8 "$log" | grep -q 'Apagado tras un tiempo' || e2e_fail "log lacks the delay line"
grep -q $'\r$' "$log" || e2e_fail "log lines do not end in CR LF"
e2e_check_capture "$folder/Captura.bmp" 1920 1080

kill -0 "$program" 2>/dev/null || e2e_fail "the program died (a mocked shutdown leaves it running)"

# A right click on the docked icon opens the tray menu (a new window of the
# program; a screenshot for a look by eye). Its last entry, Salir, then ends
# the program the ordinary way, so that a build with sanitizers checks for
# leaks at exit.
xdotool mousemove --window "$icon" 8 8 click 3
menu=""
for _ in $(seq 60); do
  for id in $(xdotool search --onlyvisible --class durmivela 2>/dev/null); do
    [ "$id" != "$icon" ] && [ "$id" != "$win" ] && menu=$id
  done
  [ -n "$menu" ] && break
  sleep 0.05
done
[ -n "$menu" ] || e2e_fail "a right click on the icon did not open the tray menu"
eval "$(xdotool getwindowgeometry --shell "$menu")"
[ "$HEIGHT" -gt 60 ] || e2e_fail "the tray menu is ${WIDTH}x$HEIGHT: too small for its entries"
sleep 0.3
e2e_shot tray-menu
xdotool key Up Return
e2e_expect_clean_exit "Salir in the tray menu"
echo "e2e schedule: ok (screenshots in $shots)"
