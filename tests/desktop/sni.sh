#!/bin/bash
# End to end: the tray icon where the desktop hosts icons over D-Bus
# (StatusNotifierItem, as KDE Plasma and GNOME with AppIndicator do). The real
# program under Xvfb with no XEmbed dock, a mock StatusNotifierWatcher on a
# private session bus and the mock logind on a private system bus. Arms
# "5 Min"; the hidden window's item registers with the watcher; the host's
# context request opens the tray menu, whose Parar stops the schedule; the
# host's primary activation brings the window back; ACEPTAR arms again and
# the menu's Salir ends the program.
# Usage: tests/desktop/sni.sh BUILD_DIR [SCREENSHOT_DIR]
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/linux}" && pwd)
shots=${2:-$build/e2e}
mkdir -p "$shots"
. "$root/tests/e2e/session.sh"

sni_start_watcher() {
  socket="$e2e_dir/session_bus_socket"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$e2e_dir/session-dbus.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.05; done
  [ -S "$socket" ] || e2e_fail "private session bus did not start"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$socket"
  watcher_log="$e2e_dir/watcher.log"
  /usr/bin/python3 -m dbusmock --session --template "$root/tests/desktop/mock_sni_watcher.py" -l "$watcher_log" \
    >"$e2e_dir/watcher.out" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
      org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
      string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true' && return 0
    sleep 0.05
  done
  e2e_fail "mock StatusNotifierWatcher did not come up: $(cat "$e2e_dir/watcher.out")"
}

# Waits for the watcher's $1-th registration; sets $item to the service it named.
sni_wait_registration() {
  for _ in $(seq 100); do
    [ "$(grep -c ' RegisterStatusNotifierItem ' "$watcher_log")" -ge "$1" ] && break
    sleep 0.05
  done
  item=$(grep ' RegisterStatusNotifierItem ' "$watcher_log" | sed -n "$1"'s/.* "\(.*\)"$/\1/p')
  [ -n "$item" ] || e2e_fail "the tray icon did not register with the watcher ($1): $(cat "$watcher_log")"
}

# Calls the item's method $1 with the screen point $2 $3, as a host does.
sni_call() {
  dbus-send --session --print-reply --dest="$item" /StatusNotifierItem "org.kde.StatusNotifierItem.$1" \
    "int32:$2" "int32:$3" >/dev/null || e2e_fail "$1 on $item failed"
}

# Armed, the window's title is the countdown: it is told by its id.
sni_wait_hidden() {
  for _ in $(seq 60); do
    xwininfo -id "$win" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.05
  done
  e2e_fail "$1"
}

# The tray menu pops up at the pointer: a new visible window of the program.
sni_wait_menu() {
  for _ in $(seq 60); do
    for id in $(xdotool search --onlyvisible --class durmivela 2>/dev/null); do
      [ "$id" != "$win" ] && { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

sni_wait_menu_closed() {
  for _ in $(seq 60); do
    xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable' || return 0
    sleep 0.05
  done
  e2e_fail "the tray menu stayed open"
}

e2e_start_display  # and no XEmbed dock: Qt takes the StatusNotifierItem route
e2e_start_logind_mock
sni_start_watcher
folder=$(e2e_program_folder "$build")
printf '[TIPO]\r\nTipo=2\r\n[LENGUAJE]\r\nLenguaje=Espa\361ol\r\n' >"$folder/Durmivela.ini"
case "$DBUS_SESSION_BUS_ADDRESS" in "unix:path=$e2e_dir/"*) ;; *) e2e_fail "not on the private session bus" ;; esac
e2e_start_program "$folder"

e2e_arm_preset "$win" Home >/dev/null  # "5 Min"
sni_wait_hidden "the window is still on screen after arming"
sni_wait_registration 1
echo "registered item: $item"
for _ in $(seq 40); do
  [ "$(xdotool getwindowname "$win")" != "Durmivela 3.0.16" ] && break
  sleep 0.05
done
[ "$(xdotool getwindowname "$win")" != "Durmivela 3.0.16" ] || e2e_fail "the window's title shows no countdown"

# The host's context request: the tray menu (title, Abrir, Parar, Salir) at the pointer.
xdotool mousemove 300 300
sni_call ContextMenu 300 300
menu=$(sni_wait_menu) || e2e_fail "ContextMenu did not open the tray menu"
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$menu")"
echo "tray menu ${WIDTH}x$HEIGHT at $X,$Y"
[ "$X" -ge 250 ] && [ "$X" -le 350 ] && [ "$Y" -ge 250 ] && [ "$Y" -le 350 ] ||
  e2e_fail "the tray menu is at $X,$Y, not at the pointer"
import -window root "$shots/sni-tray-menu.png"
xdotool key Up Up Return  # Parar, the second entry from the bottom
sni_wait_menu_closed "$menu"
for _ in $(seq 40); do
  [ "$(xdotool getwindowname "$win")" = "Durmivela 3.0.16" ] && break
  sleep 0.05
done
[ "$(xdotool getwindowname "$win")" = "Durmivela 3.0.16" ] ||
  e2e_fail "Parar in the tray menu left the schedule armed: $(xdotool getwindowname "$win")"

# The host's primary activation brings the hidden window back, as the double
# click does on an XEmbed dock.
sni_call Activate 0 0
e2e_wait_window '^Durmivela 3\.0\.16$' 5 >/dev/null || e2e_fail "Activate did not restore the window"
sleep 0.3
import -window root "$shots/sni-restored.png"

# ACEPTAR is enabled again: it arms, and the window goes back to the host.
e2e_arm_preset "$win" Home >/dev/null
sni_wait_hidden "ACEPTAR did not arm again after Parar"
sni_wait_registration 2
grep -q " PowerOff" "$e2e_logind_log" && e2e_fail "logind was asked to power off"

# Salir from the tray menu ends the program the ordinary way.
xdotool mousemove 300 300
sni_call ContextMenu 300 300
menu=$(sni_wait_menu) || e2e_fail "ContextMenu did not open the tray menu the second time"
sleep 0.3
xdotool key Up Return
e2e_expect_clean_exit "Salir in the tray menu"
echo "e2e sni: ok (screenshots in $shots)"
