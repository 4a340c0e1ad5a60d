#!/bin/bash
# End to end with a real desktop's notification area: xfce4-panel, whose
# Status Tray plugin hosts StatusNotifierItems and, on a right click, draws
# only the menu an item exports. Under Xvfb with no window manager, on a
# private session bus, with the mock logind on a private system bus.
# "5 Min" hides the window behind the panel's icon. The item exports the tray
# menu; its entries are read from the exported layout and, after a right
# click, off the screen. Its Parar (access key P) stops the schedule, the
# window staying hidden and the icon's tooltip then naming the program; a left
# click brings the window back. The settings dialog turns the program to
# English. Armed again, the panel crashes: the window comes back minimised,
# still counting down; the panel starts again: the window goes back behind a
# new icon, whose menu is now English and whose Quit (access key Q) ends the
# program cleanly.
# Usage: tests/desktop/panel.sh BUILD_DIR
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/../e2e/session.sh"
command -v tesseract >/dev/null || e2e_fail "tesseract (tesseract-ocr) is needed to read the panel's menu"

# The icon's centre on the screen: the only pixels inside the panel's border
# that are not its background, once the panel has drawn them.
icon_centre() {
  eval "$(xdotool search --class xfce4-panel | while read -r w; do
    xdotool getwindowgeometry --shell "$w"; done | awk -F= '/^(X|Y|WIDTH|HEIGHT)=/ {v[$1] = $2}
    /^HEIGHT=/ && v["WIDTH"] > 1000 {printf "px=%d py=%d pw=%d ph=%d\n", v["X"], v["Y"], v["WIDTH"], v["HEIGHT"]}')"
  for _ in $(seq 40); do
    import -window root "$e2e_dir/screen.png"
    set -- $(convert "$e2e_dir/screen.png" -crop "${pw}x$ph+$px+$py" +repage -shave 2x2 -fuzz 5% -trim -format '%w %h %X %Y' info:)
    if [ "$1" -ge 8 ] && [ "$1" -le "$ph" ]; then
      icon_x=$((px + 2 + $3 + $1 / 2)) icon_y=$((py + 2 + $4 + $2 / 2))
      return 0
    fi
    sleep 0.1
  done
  e2e_fail "no icon on the panel"
}

# A right click on the icon opens a menu drawn by the panel; sets $menu and
# prints its words, read off the screen.
open_menu() {
  icon_centre
  before=$(e2e_windows)
  xdotool mousemove "$icon_x" "$icon_y" click 3
  menu=$(e2e_new_window "$before" 60) || e2e_fail "a right click on the icon opened no menu"
  sleep 0.3
  import -window "$menu" -resize 300% -colorspace Gray "$e2e_dir/menu.png"
  words=$(tesseract "$e2e_dir/menu.png" - 2>/dev/null | tr -s ' \n' ' ')
}

e2e_start_display
e2e_start_logind_mock
e2e_start_xfce_panel
folder=$(e2e_program_folder)
e2e_write_settings "$folder/Durmivela.ini" 2 1
e2e_start_program "$folder"

e2e_arm_preset "$win" Home >/dev/null  # "5 Min"
e2e_wait_viewable "$win" no || e2e_fail "the window is still on screen after arming"
e2e_wait_sni_item "the icon did not register with the panel's watcher"
echo "item: $item"

# What the panel reads of the item: the tray menu's entries with their
# access keys ($1 $2 $3, the labels of the restore, stop and quit items), and
# the tooltip.
check_exported() {
  described=$(e2e_sni_describe "$item")
  echo "$described"
  expected=$(printf 'menu /MenuBar\nstandard\tDurmivela\tenabled\nseparator\t\tenabled\nstandard\t%s\tenabled\nstandard\t%s\tenabled\nseparator\t\tenabled\nstandard\t%s\tenabled' "$1" "$2" "$3")
  [ "$(echo "$described" | sed 1d)" = "$expected" ] || e2e_fail "the exported menu is not the tray menu"
  tooltip=$(echo "$described" | sed -n 's/^tooltip //p')
}

# The right click shows the program's menu (entries $@), not the panel's own.
check_on_screen() {
  open_menu
  echo "on screen: $words"
  for entry in "$@"; do
    case "$words" in *"$entry"*) ;; *) e2e_fail "the menu on the screen lacks \"$entry\": $words" ;; esac
  done
  case "$words" in *"Status Tray"* | *Properties*) e2e_fail "the panel showed its own menu: $words" ;; esac
}

check_exported '_Abrir Durmivela' '_Parar el apagado' '_Salir'
echo "$tooltip" | grep -qE '^Apagar tras 0:0[45]:[0-9]{2} desde las ' || e2e_fail "the armed icon's tooltip: $tooltip"
check_on_screen 'Abrir Durmivela' 'Parar el apagado' 'Salir'
e2e_shot panel-menu

# P, the stop item's access key: stopped, still hidden, and the tooltip no
# longer announces a shutdown.
xdotool key p
e2e_wait_title "$win" '^Durmivela 3\.0\.16$' || e2e_fail "Parar in the panel's menu left the schedule armed"
e2e_viewable "$win" && e2e_fail "Parar brought the window back"
tooltip=$(e2e_sni_describe "$item" | sed -n 's/^tooltip //p')
[ "$tooltip" = "Durmivela 3.0.16" ] || e2e_fail "after Parar the tooltip reads: $tooltip"
xdotool mousemove "$icon_x" "$icon_y"  # the panel shows the tooltip, for a look by eye
sleep 1.5
e2e_shot panel-tooltip-stopped

# A left click on the icon brings the window back. The user turns to
# English: the exported menu follows.
xdotool mousemove "$icon_x" "$icon_y" click 1
e2e_wait_viewable "$win" yes || e2e_fail "a left click on the icon did not restore the window"
e2e_open_settings "$win"
e2e_pick_language Home e  # English, the first name under E

# The panel crashes while armed: the window comes back, minimised, counting.
e2e_arm_preset "$win" Home >/dev/null
e2e_wait_viewable "$win" no || e2e_fail "ACEPTAR did not arm again"
e2e_kill_xfce_panel
e2e_wait_viewable "$win" yes || e2e_fail "the panel went and the window stayed hidden"
xprop -id "$win" _NET_WM_STATE | grep -q _NET_WM_STATE_HIDDEN || e2e_fail "the window came back not minimised"
e2e_shot panel-lost
e2e_wait_title "$win" '^0:0[45]:[0-9]{2} to shutdown$' ||
  e2e_fail "the schedule did not go on counting: $(xdotool getwindowname "$win")"

# The panel is back: the window goes behind a new icon, whose Salir ends the program.
e2e_start_xfce_panel
e2e_wait_viewable "$win" no || e2e_fail "the panel came back and the window stayed on the taskbar"
e2e_wait_sni_item "the icon did not register with the new panel"
check_exported '_Open Durmivela' '_Stop the shutdown' '_Quit'
check_on_screen 'Open Durmivela' 'Stop the shutdown' 'Quit'
e2e_shot panel-back
xdotool key q
e2e_expect_clean_exit "Quit in the panel's menu"
grep -q " PowerOff" "$e2e_logind_log" && e2e_fail "logind was asked to power off"
echo "e2e panel: ok (screenshots in $shots)"
