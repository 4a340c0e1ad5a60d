#!/bin/sh
# End to end with a screen reader's plumbing: the real program under Xvfb and
# a window manager, with Qt's accessibility bridge on the AT-SPI bus of a
# private session bus. accessibility.py reads, as a screen reader does, the
# main window in both layouts, the settings dialog and About, each opened
# with the keys a user would press; what it reads goes to a11y-LANGUAGE.txt.
# Usage: accessibility.sh BUILD_DIR [LANGUAGE] (Español unless told; the
# environment's QT_SCALE_FACTOR is kept).
set -u
build=$(cd "$1" && pwd)
lang=${2:-Español}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/session.sh"
tag="$lang-${QT_SCALE_FACTOR:-1}x"
dump="$shots/a11y-$tag.txt"
: >"$dump"

e2e_start_display
e2e_start_session_bus
e2e_start_atspi
e2e_start_window_manager
e2e_start_logind_mock
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 1 1 "$lang"

read_window() {
  /usr/bin/python3 "$here/accessibility.py" "$folder/Leng/$lang.lng" "$1" "$dump" ||
    e2e_fail "what a screen reader finds in $1"
  e2e_shot "a11y-$tag-$1"
}

e2e_start_program "$folder"
e2e_activate "$win"
read_window clock

# The first menu's first item, Settings; the dialog opens on its first box.
e2e_keys_open '^Configuración$' F10 Return
read_window settings
# Shift+Tab from the first box reaches the second option (the delay type),
# Space chooses it; then forwards to the first button, OK.
e2e_keys_close shift+Tab shift+Tab shift+Tab space Tab Tab Tab Tab Return
read_window delay

# The help menu's last item (Up from its first), About.
e2e_keys_open '^Acerca de Durmivela$' F10 Right Up Return
read_window about
e2e_keys Escape

# Quit with the menu's last item, so that a sanitizer build checks for leaks.
e2e_keys F10 Up Return
e2e_expect_clean_exit "the first menu's last item"
echo "e2e accessibility ($tag): ok (what a screen reader reads: $dump)"
