#!/bin/sh
# End to end: the settings dialog opened from the menu as a user would, the
# delay type and English chosen, Aceptar. The settings file then holds the new
# lines, and the main window counts a delay down with English words in its
# title. Usage: settings.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"

e2e_start_display
e2e_start_logind_mock
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 1 1

e2e_start_program "$folder"
e2e_shot main-es

e2e_open_settings "$win"
e2e_shot settings-es
e2e_click_dialog "$dialog" 162 93    # "tras un calculo"
e2e_choose_language Home e           # English
e2e_click_dialog "$dialog" 190 237   # Aplicar: the dialog turns English
sleep 0.5
e2e_shot settings-en
e2e_accept_settings

expected=$(printf '[TIPO]\r\nTipo=2\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=English\r\n')
[ "$(cat "$folder/Durmivela.ini")" = "$expected" ] ||
  e2e_fail "Durmivela.ini holds: $(od -c "$folder/Durmivela.ini" | head -5)"
sleep 0.5
e2e_shot main-en

# The delay layout in English: arm "5 Seg" and read the countdown's words.
e2e_arm_preset "$win" End >/dev/null
e2e_wait_window '^0:00:0[0-4] to shutdown$' 5 >/dev/null || e2e_fail "no English countdown in the title"
echo "e2e settings: ok (screenshots in $shots)"
