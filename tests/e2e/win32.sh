#!/bin/bash
# End to end on Windows: Durmivela.exe under Wine, Xvfb and a tray host.
# A first start writes the default settings; the settings dialog, opened from
# the menu, switches to English and the delay type; "5 Min" hides the window
# behind the tray icon, whose right click opens the menu and whose double
# click restores the window; Stop, then "5 Seg": about 6 s later the log
# record and the capture exist and the prefix's processes have ended (Wine's
# ExitWindowsEx ends its prefix only), while processes outside it live on.
# Usage: tests/e2e/win32.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"
. "$e2e_root/tests/e2e/win32-ui.sh"

E2E_SCREEN=1280x800x24 e2e_start_display
e2e_start_tray
e2e_start_wine
# A process outside the prefix: the shutdown must leave it alone.
sleep 600 &
bystander=$!
e2e_pids="$e2e_pids $bystander"

folder=$(e2e_program_folder "$build" Durmivela.exe)

e2e_launch "$e2e_root/scripts/wine-run.sh" "$folder/Durmivela.exe"
win=$(e2e_wait_window '^Durmivela 3\.0\.16$' 60) || e2e_fail "the main window did not appear"
sleep 1
e2e_shot win32-main
expected=$(printf '[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=Espa\361ol\r\n')
[ "$(cat "$folder/Durmivela.ini")" = "$expected" ] ||
  e2e_fail "the first start wrote: $(od -c "$folder/Durmivela.ini" | head -5)"

# Archivo (its bar lies just above the client area), then its first item.
client_origin "$win" 312 263
click_at "$win" 20 -10
sleep 0.5
click_at "$win" 40 10
dialog=$(e2e_wait_window '^Configuración$' 10) || e2e_fail "the settings dialog did not open from the menu"
sleep 0.5
e2e_shot win32-settings
client_origin "$dialog" 312 259
click_at "$dialog" 162 93         # the delay type
click_at "$dialog" 150 196       # the language list drops down
sleep 0.5
xdotool key Home e Return         # English, the first name in E
sleep 0.3
click_at "$dialog" 125 237        # Aceptar
for _ in $(seq 50); do e2e_wait_window '^Configuración$' 0 >/dev/null || break; sleep 0.1; done
e2e_wait_window '^Configuración$' 0 >/dev/null && e2e_fail "Aceptar did not close the dialog"
expected=$(printf '[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=4\r\n[LENGUAJE]\r\nLenguaje=English\r\n')
[ "$(cat "$folder/Durmivela.ini")" = "$expected" ] ||
  e2e_fail "the settings dialog saved: $(od -c "$folder/Durmivela.ini" | head -5)"

arm first >/dev/null  # "5 Min"
for _ in $(seq 50); do hidden && break; sleep 0.1; done
hidden || e2e_fail "the window is still on screen after arming"
icon=$(e2e_tray_icon '^explorer\.exe$') || e2e_fail "no tray icon appeared"

# Double click: the window comes back, still counting down.
xdotool mousemove --window "$icon" 10 15
sleep 0.3
xdotool click --repeat 2 --delay 60 1
e2e_wait_window '^[0-9]+:[0-9]+:[0-9]+ to shutdown$' 10 >/dev/null ||
  e2e_fail "a double click on the tray icon did not restore the window"
sleep 0.5
e2e_shot win32-restored

# Minimised again with the title bar's button, then a right click on the icon
# opens the menu (a new unnamed window); its "Open" item restores the window.
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove --window "$win" $((WIDTH - 50)) 11 click 1
for _ in $(seq 50); do hidden && break; sleep 0.1; done
hidden || e2e_fail "the minimise button did not hide the window"
icon=$(e2e_tray_icon '^explorer\.exe$') || e2e_fail "no tray icon after minimising"
before=$(e2e_windows)
xdotool mousemove --window "$icon" 10 15 click 3
menu=$(e2e_new_window "$before" 60) || e2e_fail "a right click on the tray icon opened no menu"
sleep 0.5
e2e_shot win32-tray-menu
# Its rows: the bold title, a separator, then "Open Durmivela".
xdotool mousemove --window "$menu" 40 38 click 1
e2e_wait_window '^[0-9]+:[0-9]+:[0-9]+ to shutdown$' 10 >/dev/null ||
  e2e_fail "the tray menu's Open item did not restore the window"
client_origin "$win" 312 263
click_at "$win" 244 237           # Stop
e2e_wait_window '^Durmivela 3\.0\.16$' 5 >/dev/null || e2e_fail "Stop did not clear the schedule"

armed=$(arm last)                 # "5 Seg"
for _ in $(seq 150); do kill -0 "$program" 2>/dev/null || break; sleep 0.05; done
ended=$(e2e_now)
kill -0 "$program" 2>/dev/null && e2e_fail "the program did not end: the shutdown was not asked for"
delay=$(awk -v e="$ended" -v a="$armed" 'BEGIN {printf "%.3f", e - a}')
echo "the prefix ended $delay s after arming"
awk -v d="$delay" 'BEGIN {exit !(d > 5.5 && d < 7.5)}' || e2e_fail "the shutdown came $delay s after arming, not about 6 s"
sleep 1
"$wineserver" -k 2>/dev/null
# Ours only (by this run's folder, in its Unix or Windows spelling): other
# runs of the test may be going on beside this one.
ps -eo args | grep -i 'durmivela\.exe' | grep -F "${e2e_dir##*/}" && e2e_fail "a Windows process of the prefix lived on"
kill -0 "$bystander" 2>/dev/null || e2e_fail "a process outside the prefix was ended"
xdpyinfo >/dev/null 2>&1 || e2e_fail "the X server outside the prefix was ended"

log="$folder/Durmivelar_Log.log"
[ -f "$log" ] || e2e_fail "no log file"
iconv -f WINDOWS-1252 -t UTF-8 "$log" | grep -q 'Durmivela shutdown record' || e2e_fail "log record: $(cat "$log")"
grep -q $'\r$' "$log" || e2e_fail "log lines do not end in CR LF"
e2e_check_capture "$folder/Captura.bmp" 1280 800
echo "e2e win32: ok (screenshots in $shots)"
