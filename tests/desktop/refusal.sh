#!/bin/bash
# End to end on Linux: a shutdown that logind refuses. The real program under
# Xvfb with a tray host; the mock logind's PowerOff raises a D-Bus error. After
# "5 Seg" the window must come back from the tray, still armed, with a message
# box that gives the refusal and the system's reason; the records are written
# anyway, and the stop button then leaves the window idle and usable.
# Reads the message box with tesseract: Qt copies a box's text to the
# clipboard only on Windows. Usage: refusal.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/../e2e/session.sh"
command -v tesseract >/dev/null || e2e_fail "tesseract (tesseract-ocr) is needed to read the message box"

reason='Operation not permitted while other users are logged in'
e2e_start_display
e2e_start_tray
e2e_start_logind_mock
dbus-send --system --print-reply --dest=org.freedesktop.login1 /org/freedesktop/login1 \
  org.freedesktop.DBus.Mock.AddMethod string:org.freedesktop.login1.Manager string:PowerOff string:b string: \
  string:"raise dbus.exceptions.DBusException('$reason', name='org.freedesktop.login1.OperationNotSupported')" \
  >/dev/null || e2e_fail "could not make the mock's PowerOff refuse"

folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 2 4
e2e_start_program "$folder"
e2e_arm_preset "$win" End >/dev/null  # "5 Seg"

e2e_wait_viewable "$win" no || e2e_fail "the window did not go to the tray"

# The refusal: the box carries the standard title, while the main window,
# back on screen, still shows the countdown in its title.
box=$(e2e_wait_window '^Durmivela 3\.0\.16$' 12) || e2e_fail "no message box after the refused shutdown"
[ "$box" != "$win" ] || e2e_fail "the main window went idle instead of showing a box"
grep -qE "^[0-9.]+ PowerOff False$" "$e2e_logind_log" || e2e_fail "logind was not asked for PowerOff(false)"
[ "$(grep -cE "^[0-9.]+ PowerOff (True|False)$" "$e2e_logind_log")" -eq 1 ] || e2e_fail "PowerOff was asked more than once: $(cat "$e2e_logind_log")"
e2e_viewable "$win" || e2e_fail "the main window did not come back"
title=$(xdotool getwindowname "$win")
echo "$title" | grep -qE '^0:00:0[0-9] para el apagado$' || e2e_fail "main window title: $title"
sleep 0.5
e2e_shot refusal-box

# The box's words, read off its pixels (enlarged, so OCR sees the small font).
import -window "$box" -resize 300% -colorspace Gray "$e2e_dir/box.png"
text=$(tesseract "$e2e_dir/box.png" - 2>/dev/null | tr -s ' \n' ' ')
echo "$text" | grep -qE 'El sistema se neg. a apagar el equipo' || e2e_fail "the box does not give the refusal: $text"
echo "$text" | grep -qF "$reason" || e2e_fail "the box does not give the system's reason: $text"

log="$folder/Durmivelar_Log.log"
iconv -f WINDOWS-1252 -t UTF-8 "$log" 2>/dev/null | grep -q 'Registro de apagado de Durmivela' ||
  e2e_fail "no log record before the request"
[ -s "$folder/Captura.bmp" ] || e2e_fail "no screen capture before the request"
kill -0 "$program" 2>/dev/null || e2e_fail "the program died"

# Close the box: the window is still armed; Parar clears the schedule.
xdotool windowfocus --sync "$box"
xdotool key Return
e2e_wait_viewable "$box" no || e2e_fail "Return did not close the box"
e2e_click_stop "$win"
e2e_wait_title "$win" '^Durmivela 3\.0\.16$' || e2e_fail "Parar did not stop the schedule: $(xdotool getwindowname "$win")"
kill -0 "$program" 2>/dev/null || e2e_fail "Parar ended the program instead of stopping the schedule"
sleep 0.3
e2e_shot refusal-stopped

# ACEPTAR works again: "5 Min" arms and the window leaves for the tray.
e2e_arm_preset "$win" Home >/dev/null
e2e_wait_viewable "$win" no || e2e_fail "ACEPTAR did not arm again after the stop"
[ "$(grep -cE "^[0-9.]+ PowerOff (True|False)$" "$e2e_logind_log")" -eq 1 ] || e2e_fail "PowerOff was asked again"
echo "refusal: ok (screenshots in $shots)"
