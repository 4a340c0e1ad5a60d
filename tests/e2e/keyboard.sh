#!/bin/sh
# End to end with the keyboard alone (xdotool key, never the pointer), under
# a window manager that gives each new window the focus, as a desktop does:
# English chosen in the settings dialog (the settings file then names it); a
# clock time armed and stopped; the delay type chosen; "5 Min" armed and
# stopped; "5 Seg" armed, which asks the mock logind for PowerOff; Quit from
# the menu (accessibility.sh reaches About so). Only what a launcher and a
# taskbar do (the first focus, the armed window back) is asked of the window
# manager.
# Usage: keyboard.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"

e2e_start_display
e2e_start_session_bus
e2e_start_window_manager
e2e_start_logind_mock
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 1 1

title_is() {
  e2e_wait_title "$win" "$1" || e2e_fail "the window's title is '$(xdotool getwindowname "$win")', not /$1/ ($2)"
}
# The armed window waits minimised on the taskbar (no tray here): bringing
# it back is the taskbar's part (xfwm4's Alt+Tab does not do it reliably
# under simulated keys). The focus is then on the stop button: Return stops.
stop_with_keys() {
  e2e_activate "$win"
  e2e_keys Return
  title_is '^Durmivela 3\.0\.16$' "$1 was not stopped with Return on its stop button"
}

e2e_start_program "$folder"
e2e_activate "$win"

# Alt+A opens Archivo at Configuración. In the dialog, back from the first
# box past the check box to the language list: Home and E pick English (the
# first name with an E); forwards past the two boxes, Return on Aceptar.
e2e_keys_open '^Configuración$' alt+a Return
e2e_keys_close shift+Tab shift+Tab Home e Tab Tab Tab Return
expected=$(printf '[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=English\r\n')
[ "$(cat "$folder/Durmivela.ini")" = "$expected" ] || e2e_fail "Durmivela.ini holds: $(od -c "$folder/Durmivela.ini" | head -5)"
e2e_shot keyboard-en

# The clock-time layout: the hour field has the focus. Twelve hours ahead,
# so that it cannot fire; Tab to the minute, Tab to ACCEPT, Return.
hour=$(( ($(date +%-H) + 12) % 24 ))
e2e_keys ctrl+a $(echo "$hour" | sed 's/./& /g') Tab ctrl+a 3 0 Tab Return
title_is "^Shutdown at 0?$hour:30\$" "arming a clock time with the keys"
stop_with_keys "the clock time"

# The delay type, from the settings dialog: the second option is reached
# back from the first box, Space chooses it, and forwards to OK.
e2e_keys_open '^Configuración$' F10 Return
e2e_keys_close shift+Tab shift+Tab shift+Tab space Tab Tab Tab Tab Return
grep -q 'Tipo=2' "$folder/Durmivela.ini" || e2e_fail "Space on the delay option did not choose it"

# The focus is still on Quit: back past ACCEPT to the delay list, Home is
# "5 Min", Tab to ACCEPT, Return.
e2e_keys shift+Tab shift+Tab Home Tab Return
title_is '^0:0[45]:[0-9][0-9] to shutdown$' "arming 5 Min with the keys"
stop_with_keys "5 Min"
grep -q " PowerOff" "$e2e_logind_log" && e2e_fail "a stopped schedule reached logind"

# The same way from the stop button, now Quit: End is "5 Seg".
e2e_keys shift+Tab shift+Tab End Tab Return
e2e_wait_poweroff >/dev/null || e2e_fail "5 Seg armed with the keys never asked logind for PowerOff"

# Back from the taskbar; File's last item (Up from its first), Quit.
e2e_activate "$win"
e2e_keys F10 Up Return
e2e_expect_clean_exit "Quit from the keyboard"
echo "e2e keyboard: ok (screenshots in $shots)"
