#!/bin/sh
# End to end: the settings dialog opened from the menu as a user would, the
# delay type and English chosen, Aceptar. The settings file then holds the new
# lines, and the main window counts a delay down with English words in its
# title. Usage: settings.sh <build folder> (the program and Leng/ in it).
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"
shots=${E2E_SHOTS:-$build/e2e-shots}
mkdir -p "$shots"

e2e_start_display
e2e_start_logind_mock
folder=$(e2e_program_folder "$build")
printf '[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=Espa\361ol\r\n' >"$folder/Durmivela.ini"

e2e_start_program "$folder"
import -window root "$shots/main-es.png"

# Archivo, then its first item, where a user finds them below the title.
eval "$(xdotool getwindowgeometry --shell "$win")"
scale=$(awk -v w="$WIDTH" 'BEGIN {printf "%.4f", w / 312}')
menubar=$(awk -v h="$HEIGHT" -v s="$scale" 'BEGIN {printf "%d", h - 263 * s}')
xdotool mousemove --window "$win" "$(awk -v s="$scale" 'BEGIN {printf "%d", 30 * s}')" $((menubar / 2)) click 1
sleep 0.5
xdotool mousemove --window "$win" "$(awk -v s="$scale" 'BEGIN {printf "%d", 70 * s}')" $((menubar + menubar / 2 + 4)) click 1
dialog=$(e2e_wait_window '^Configuración$' 10) || e2e_fail "the settings dialog did not open from the menu"
sleep 0.5
import -window root "$shots/settings-es.png"

# Design positions in pixels (frame origin plus the control's own place).
eval "$(xdotool getwindowgeometry --shell "$dialog")"
s=$(awk -v w="$WIDTH" 'BEGIN {printf "%.4f", w / 312}')
at() { awk -v x="$1" -v y="$2" -v s="$s" 'BEGIN {printf "%d %d", x * s, y * s}'; }
xdotool mousemove --window "$dialog" $(at 162 93) click 1          # "tras un calculo"
xdotool mousemove --window "$dialog" $(at 150 196) click 1         # the language box
sleep 0.4
xdotool key Home e Return                                          # English, the first name in E
sleep 0.3
xdotool mousemove --window "$dialog" $(at 190 237) click 1         # Aplicar: the dialog turns English
sleep 0.5
import -window root "$shots/settings-en.png"
xdotool mousemove --window "$dialog" $(at 125 237) click 1         # Aceptar
for _ in $(seq 50); do e2e_wait_window '^Configuración$' 0 >/dev/null || break; sleep 0.1; done
e2e_wait_window '^Configuración$' 0 >/dev/null && e2e_fail "Aceptar did not close the dialog"

expected=$(printf '[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=English\r\n')
[ "$(cat "$folder/Durmivela.ini")" = "$expected" ] ||
  e2e_fail "Durmivela.ini holds: $(od -c "$folder/Durmivela.ini" | head -5)"
sleep 0.5
import -window root "$shots/main-en.png"

# The delay layout in English: arm "5 Seg" and read the countdown's words.
e2e_arm_preset "$win" End >/dev/null
title=$(e2e_wait_window '^0:00:0[0-4] to shutdown$' 5) || e2e_fail "no English countdown in the title"
echo "e2e settings: ok (screenshots in $shots)"
