# Sourced by every end-to-end script and benchmark (POSIX shell): a private X
# display, the tray hosts, private session and system buses with the mocks,
# a program folder, and the program started with its output kept. Everything
# started here stops on exit. A run that fails keeps the program's output, the
# other logs, a screenshot and, after a crash, a backtrace, and says where.
# Nothing here ever talks to the machine's real system bus. It needs no root:
# the Debian package's test runs it as the user nobody.
#
# Set $build (a build folder) before sourcing. Screenshots go to $shots:
# $E2E_SHOTS, or BUILD/e2e-shots. Failed runs are kept in $E2E_KEEP_DIR, or
# in BUILD/e2e-failed/, or under /tmp when neither can be written.

e2e_dir=$(mktemp -d /tmp/durmivela-e2e.XXXXXX)
e2e_pids=""
e2e_name=$(basename "$0" .sh)
program=""
e2e_root=$(cd "$(dirname "$0")" && while [ ! -f tests/e2e/session.sh ] && [ "$PWD" != / ]; do cd ..; done && pwd)
shots=${E2E_SHOTS:-${build:+$build/e2e-shots}}
shots=${shots:-$e2e_dir/shots}
mkdir -p "$shots" 2>/dev/null || shots="$e2e_dir/shots" && mkdir -p "$shots"

e2e_cleanup() {
  e2e_status=$?
  trap - EXIT
  [ "$e2e_status" -ne 0 ] && e2e_keep_evidence
  for pid in $e2e_pids; do kill "$pid" 2>/dev/null; done
  sleep 0.2
  for pid in $e2e_pids; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$e2e_dir"
  exit "$e2e_status"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# Copies what a failed run leaves into a folder of its own: the screen as it
# was, every log of $e2e_dir, and a backtrace of any core the program dumped.
e2e_keep_evidence() {
  stamp=$(date +%Y%m%d-%H%M%S)
  keep=""
  for base in ${E2E_KEEP_DIR:-} ${build:+"$build/e2e-failed"} "/tmp/durmivela-e2e-failed"; do
    mkdir -p "$base/$e2e_name-$stamp-$$" 2>/dev/null && keep="$base/$e2e_name-$stamp-$$" && break
  done
  [ -n "$keep" ] || return 0
  [ -n "${DISPLAY:-}" ] && import -window root "$keep/screen.png" >/dev/null 2>&1
  for file in "$e2e_dir"/*.log "$e2e_dir"/*.out; do [ -f "$file" ] && cp "$file" "$keep/"; done
  for core in "$e2e_dir"/core*; do
    [ -f "$core" ] || continue
    gdb -batch -ex 'thread apply all bt' "${e2e_executable:-}" "$core" >"$keep/backtrace-${core##*/}.txt" 2>&1
  done
  # A program that died before the failure is the likelier cause.
  if [ -n "$program" ] && ! kill -0 "$program" 2>/dev/null; then
    e2e_program_ended
    [ "$status" -ne 127 ] && echo "e2e: the program had ended ($e2e_ended)" >&2
  fi
  if [ -s "$e2e_dir/program.log" ]; then
    echo "--- the program's output (last 40 lines):" >&2
    tail -n 40 "$e2e_dir/program.log" >&2
  fi
  echo "e2e: the failed run is kept in $keep ($(cd "$keep" && ls | tr '\n' ' '))" >&2
}

e2e_now() { date +%s.%N; }

# A screenshot of the whole screen, or of the window $2, into $shots/$1.png.
e2e_shot() { import -window "${2:-root}" "$shots/$1.png"; }

# Starts Xvfb with the options that follow on a display number it picks
# itself (-displayfd: the server takes the first number whose lock it can
# take, clearing the locks of servers that are gone, and names it once it
# listens, so two runs never share one); prints "NUMBER PID". Its output goes
# to the file $1. Stop it with SIGTERM, which removes its lock and socket.
e2e_xvfb() {
  log=$1
  shift
  number_file=$(mktemp /tmp/durmivela-display.XXXXXX)
  Xvfb -displayfd 3 -nolisten tcp "$@" 3>"$number_file" >"$log" 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 200); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  number=$(tr -d ' \n' <"$number_file")
  rm -f "$number_file"
  [ -n "$number" ] || { kill "$xvfb_pid" 2>/dev/null; return 1; }
  echo "$number $xvfb_pid"
}

# The run's display (E2E_SCREEN, default 1920x1080x24). -noreset: by default
# the server resets each time its last client leaves, and refuses connections
# while it does (scripts/bench/xvfb-reset.sh: about one connection in ten);
# with only short-lived clients (xdotool) before it, the program then failed
# to reach the display, which Qt ends with abort(): 2 of 120 runs of
# tests/desktop/sni.sh under CPU stress (tests/e2e/repeat.sh).
e2e_start_display() {
  started=$(e2e_xvfb "$e2e_dir/xvfb.log" -screen 0 "${E2E_SCREEN:-1920x1080x24}" -noreset) ||
    e2e_fail "Xvfb did not start: $(cat "$e2e_dir/xvfb.log")"
  set -- $started
  e2e_pids="$e2e_pids $2"
  export DISPLAY=":$1"
  # A reset would drop what a client that has left put on the root window.
  xprop -root -f _DURMIVELA_E2E 8s -set _DURMIVELA_E2E kept
  xprop -root _DURMIVELA_E2E | grep -q kept || e2e_fail "the display resets when its last client leaves"
}

# The window that owns the XEmbed tray selection of screen 0; 0 for none.
e2e_xembed_tray_owner() {
  /usr/bin/python3 -c '
import ctypes
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
x.XInternAtom.restype = ctypes.c_ulong
x.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
x.XGetSelectionOwner.restype = ctypes.c_ulong
d = x.XOpenDisplay(None)
print(x.XGetSelectionOwner(d, x.XInternAtom(d, b"_NET_SYSTEM_TRAY_S0", 0)) if d else 0)'
}

# Waits until the XEmbed tray selection is owned ($1 = yes) or not ($1 = no).
e2e_wait_xembed_tray() {
  for _ in $(seq 200); do
    owner=$(e2e_xembed_tray_owner)
    if [ "$1" = yes ]; then [ "${owner:-0}" != 0 ] && return 0; else [ "${owner:-0}" = 0 ] && return 0; fi
    sleep 0.05
  done
  return 1
}

# trayer, an XEmbed tray docked at the bottom right; $e2e_tray_pid.
e2e_start_tray() {
  trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 --SetDockType true \
    >>"$e2e_dir/trayer.log" 2>&1 &
  e2e_tray_pid=$!
  e2e_pids="$e2e_pids $e2e_tray_pid"
  e2e_wait_xembed_tray yes || e2e_fail "trayer did not take the tray selection: $(cat "$e2e_dir/trayer.log")"
}

# Ends a tray host the way a crash would; waits until its tray has gone.
e2e_kill_tray_host() {
  kill -9 "$1" 2>/dev/null
  wait "$1" 2>/dev/null
  e2e_wait_xembed_tray no || e2e_fail "the tray selection outlived its host"
}

e2e_private_session_bus() {
  case "${DBUS_SESSION_BUS_ADDRESS:-}" in "unix:path=$e2e_dir/"*) return 0 ;; esac
  return 1
}

# A session bus of this run's own, with nothing on it, and private, empty
# XDG folders: the user's own bus may hold a tray host or a portal that the
# program would use, and the desktop's services (and a test's desktop files)
# must keep away from the user's own.
e2e_start_session_bus() {
  e2e_private_session_bus && return 0
  mkdir -p "$e2e_dir/config" "$e2e_dir/cache" "$e2e_dir/data" "$e2e_dir/runtime"
  chmod 700 "$e2e_dir/runtime"
  export XDG_CONFIG_HOME="$e2e_dir/config" XDG_CACHE_HOME="$e2e_dir/cache" XDG_RUNTIME_DIR="$e2e_dir/runtime" \
    XDG_DATA_HOME="$e2e_dir/data"
  socket="$e2e_dir/session_bus_socket"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$e2e_dir/session-bus.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.05; done
  [ -S "$socket" ] || e2e_fail "private session bus did not start"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$socket"
}

# "true" when a StatusNotifierWatcher with a host registered is on the session bus.
e2e_sni_host_registered() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:IsStatusNotifierHostRegistered 2>/dev/null | grep -q 'boolean true' && echo true || echo false
}

# A mock StatusNotifierWatcher with a host registered (tests/desktop/
# mock_sni_watcher.py) on the private session bus; its calls are logged in
# $e2e_watcher_log.
e2e_start_sni_watcher() {
  e2e_start_session_bus
  e2e_watcher_log="$e2e_dir/watcher.log"
  /usr/bin/python3 -m dbusmock --session --template "$e2e_root/tests/desktop/mock_sni_watcher.py" \
    -l "$e2e_watcher_log" >"$e2e_dir/watcher.out" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 200); do [ "$(e2e_sni_host_registered)" = true ] && return 0; sleep 0.05; done
  e2e_fail "mock StatusNotifierWatcher did not come up: $(cat "$e2e_dir/watcher.out")"
}

# xfce4-panel, a real desktop's notification area: one panel along the
# bottom edge holding only its Status Tray plugin, which owns the
# StatusNotifierWatcher, registers its host and takes the XEmbed tray
# selection. From a private configuration (xfconf, started by the private
# session bus), with no window manager; $e2e_panel_pid.
e2e_start_xfce_panel() {
  e2e_start_session_bus
  channel="$XDG_CONFIG_HOME/xfce4/xfconf/xfce-perchannel-xml"
  if [ ! -f "$channel/xfce4-panel.xml" ]; then
    mkdir -p "$channel"
    cat >"$channel/xfce4-panel.xml" <<'EOF'
<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-panel" version="1.0">
  <property name="configver" type="int" value="2"/>
  <property name="panels" type="array">
    <value type="int" value="1"/>
    <property name="panel-1" type="empty">
      <property name="position" type="string" value="p=8;x=0;y=0"/>
      <property name="length" type="uint" value="100"/>
      <property name="position-locked" type="bool" value="true"/>
      <property name="size" type="uint" value="32"/>
      <property name="plugin-ids" type="array">
        <value type="int" value="1"/>
      </property>
    </property>
  </property>
  <property name="plugins" type="empty">
    <property name="plugin-1" type="string" value="systray">
      <property name="square-icons" type="bool" value="true"/>
    </property>
  </property>
</channel>
EOF
  fi
  xfce4-panel --disable-wm-check >>"$e2e_dir/xfce4-panel.log" 2>&1 &
  e2e_panel_pid=$!
  e2e_pids="$e2e_pids $e2e_panel_pid"
  for _ in $(seq 300); do
    [ "$(e2e_sni_host_registered)" = true ] && e2e_wait_xembed_tray yes && return 0
    sleep 0.05
  done
  e2e_fail "xfce4-panel did not host a tray: $(cat "$e2e_dir/xfce4-panel.log")"
}

# Ends the panel as a crash would, with its plugins' processes; waits until
# its watcher and tray have gone.
e2e_kill_xfce_panel() {
  plugins=$(pgrep -P "$e2e_panel_pid" 2>/dev/null)
  kill -9 "$e2e_panel_pid" $plugins 2>/dev/null
  wait "$e2e_panel_pid" 2>/dev/null
  for _ in $(seq 200); do [ "$(e2e_sni_host_registered)" = false ] && break; sleep 0.05; done
  [ "$(e2e_sni_host_registered)" = false ] || e2e_fail "the StatusNotifierWatcher outlived the panel"
  e2e_wait_xembed_tray no || e2e_fail "the tray selection outlived the panel"
}

# The bus names of the StatusNotifierItems registered with the watcher, one a line.
e2e_sni_items() {
  dbus-send --session --print-reply --dest=org.kde.StatusNotifierWatcher /StatusNotifierWatcher \
    org.freedesktop.DBus.Properties.Get string:org.kde.StatusNotifierWatcher \
    string:RegisteredStatusNotifierItems 2>/dev/null | sed -n 's|^ *string "\([^"/]*\).*"$|\1|p'
}

# What a host reads of the StatusNotifierItem of bus name $1: its tooltip's
# title ("tooltip TITLE"), the path of its exported menu ("menu PATH"), then
# one line per menu entry: its type, its label and whether it is enabled.
e2e_sni_describe() {
  /usr/bin/python3 - "$1" <<'EOF'
import dbus, sys
bus = dbus.SessionBus()
item = dbus.Interface(bus.get_object(sys.argv[1], "/StatusNotifierItem"), "org.freedesktop.DBus.Properties")
print("tooltip", item.Get("org.kde.StatusNotifierItem", "ToolTip")[2])
path = item.Get("org.kde.StatusNotifierItem", "Menu")
print("menu", path)
if path != "/NO_DBUSMENU":
    menu = dbus.Interface(bus.get_object(sys.argv[1], path), "com.canonical.dbusmenu")
    _, (_, _, children) = menu.GetLayout(0, -1, dbus.Array([], signature="s"))
    for _, properties, _ in children:
        print("%s\t%s\t%s" % (properties.get("type", "standard"), properties.get("label", ""),
                              "enabled" if properties.get("enabled", True) else "disabled"))
EOF
}

# A private bus at a socket of our own, exported as the system bus, with the
# logind mock on it. Refuses to go on unless the address is that socket.
e2e_start_logind_mock() {
  socket="$e2e_dir/system_bus_socket"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$socket" >"$e2e_dir/dbus.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 100); do [ -S "$socket" ] && break; sleep 0.05; done
  [ -S "$socket" ] || e2e_fail "private bus did not start"
  export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$socket"
  e2e_assert_private_bus
  e2e_logind_log="$e2e_dir/logind.log"
  /usr/bin/python3 -m dbusmock --system --template logind -l "$e2e_logind_log" >"$e2e_dir/dbusmock.out" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 200); do
    dbus-send --system --print-reply --dest=org.freedesktop.login1 /org/freedesktop/login1 \
      org.freedesktop.login1.Manager.CanPowerOff >/dev/null 2>&1 && return 0
    sleep 0.05
  done
  e2e_fail "mock logind did not come up"
}

e2e_assert_private_bus() {
  case "${DBUS_SYSTEM_BUS_ADDRESS:-}" in
    "unix:path=$e2e_dir/"*) ;;
    *) e2e_fail "refusing to run: the system bus is not this run's private socket (${DBUS_SYSTEM_BUS_ADDRESS:-unset})" ;;
  esac
}

# A fresh program folder of the build $1 (default $build): the program ($2,
# default durmivela), its language files, and the help (html/, Durmivela.chm)
# where the build made it.
e2e_program_folder() {
  folder="$e2e_dir/program"
  mkdir -p "$folder"
  cp "${1:-$build}/${2:-durmivela}" "$folder/"
  cp -r "${1:-$build}/Leng" "$folder/"
  for help in html Durmivela.chm; do [ -e "${1:-$build}/$help" ] && cp -r "${1:-$build}/$help" "$folder/"; done
  echo "$folder"
}

# Writes the settings file $1 with the type $2, the records $3 and the
# language $4 (default Español), in the program's own encoding.
e2e_write_settings() {
  printf '[TIPO]\r\nTipo=%s\r\n[LOG]\r\nLog=%s\r\n[LENGUAJE]\r\nLenguaje=%s\r\n' "$2" "$3" \
    "$(printf '%s' "${4:-Español}" | iconv -f UTF-8 -t WINDOWS-1252)" >"$1"
}

# Starts a command in the background with its output in program.log, from
# $e2e_dir so that a crash leaves its core there; sets $program.
e2e_launch() {
  e2e_executable=$1
  (cd "$e2e_dir" && ulimit -c unlimited 2>/dev/null; exec "$@") >>"$e2e_dir/program.log" 2>&1 &
  program=$!
  e2e_pids="$program $e2e_pids"
}

# Sets $e2e_ended to how the program $program ended, once it has (in this
# shell: a subshell cannot wait for it).
e2e_program_ended() {
  if kill -0 "$program" 2>/dev/null; then e2e_ended="still running"; return; fi
  wait "$program"
  status=$?
  if [ "$status" -gt 128 ]; then e2e_ended="killed by signal $((status - 128))"; else e2e_ended="exit status $status"; fi
}

# Starts the program of folder $1 on the private buses (a session bus of
# its own too: the user's may hold a tray host or a portal); sets $program
# and $win (its main window, once shown). Fails at once if it dies first.
e2e_start_program() {
  e2e_assert_private_bus
  e2e_start_session_bus
  e2e_launch "$1/durmivela"
  win=""
  end=$(($(date +%s) + 20))
  while [ "$(date +%s)" -le "$end" ]; do
    win=$(e2e_wait_window '^Durmivela 3\.0\.16$' 0) && break
    if ! kill -0 "$program" 2>/dev/null; then
      e2e_program_ended
      e2e_fail "the program ended before its window appeared ($e2e_ended)"
    fi
    sleep 0.05
  done
  [ -n "$win" ] || e2e_fail "the main window did not appear"
  sleep 0.5
}

# Waits up to $2 seconds for a visible window whose name matches the extended
# regex $1; prints its id. (xdotool's own --name search misses some windows
# that are plainly there, so names are compared one by one.)
e2e_wait_window() {
  end=$(($(date +%s) + ${2:-10}))
  while :; do
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      xdotool getwindowname "$id" 2>/dev/null | grep -qE "$1" && { echo "$id"; return 0; }
    done
    [ "$(date +%s)" -lt "$end" ] || return 1
    sleep 0.01
  done
}

# Whether the window $1 is on the screen (mapped, with every parent mapped).
e2e_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

# Waits until the window $1 is on the screen ($2 = yes) or has left it ($2 = no).
e2e_wait_viewable() {
  for _ in $(seq 100); do
    if [ "$2" = yes ]; then e2e_viewable "$1" && return 0; else e2e_viewable "$1" || return 0; fi
    sleep 0.05
  done
  return 1
}

# Waits up to 3 s for the title of window $1 to match the extended regex $2.
e2e_wait_title() {
  for _ in $(seq 60); do
    xdotool getwindowname "$1" 2>/dev/null | grep -qE "$2" && return 0
    sleep 0.05
  done
  return 1
}

# Where the main window $1's control at design pixel $2 $3 is (twips / 15),
# below the menu bar, whose height is what the window has beyond its
# 263-pixel client area; prints "x y" in the window.
e2e_at() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  awk -v x="$2" -v y="$3" -v w="$WIDTH" -v h="$HEIGHT" \
    'BEGIN {s = w / 312; printf "%d %d", x * s, h - 263 * s + y * s}'
}

# Clicks the main window $1's control at design pixel $2 $3.
e2e_click() { xdotool mousemove --window "$1" $(e2e_at "$1" "$2" "$3") click 1; }

# Picks a preset in the main window $1 with the keys that follow in the open
# list (End: "5 Seg", Home: "5 Min", End Up: "10 H"), presses ACEPTAR, and
# prints the moment of the press.
e2e_arm_preset() {
  preset_window=$1
  shift
  e2e_click "$preset_window" 204 82
  sleep 0.4
  xdotool key "$@" Return
  sleep 0.4
  e2e_now
  e2e_click "$preset_window" 68 237
}

# The stop/quit button of the main window $1.
e2e_click_stop() { e2e_click "$1" 244 237; }

# Clicks the menu of the main window $1's bar at design x $2, then that
# menu's first item at design x $3, where a user finds them below the title;
# with $4, a screenshot of the open menu of that name.
e2e_menu_item() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  menubar=$(awk -v h="$HEIGHT" -v w="$WIDTH" 'BEGIN {printf "%d", h - 263 * w / 312}')
  xdotool mousemove --window "$1" "$(awk -v x="$2" -v w="$WIDTH" 'BEGIN {printf "%d", x * w / 312}')" \
    $((menubar / 2)) click 1
  sleep 0.5
  [ -n "${4:-}" ] && e2e_shot "$4"
  xdotool mousemove --window "$1" "$(awk -v x="$3" -v w="$WIDTH" 'BEGIN {printf "%d", x * w / 312}')" \
    $((menubar + menubar / 2 + 4)) click 1
}

# Opens the settings dialog from the main window $1's menu (Archivo, then its
# first item); sets $dialog.
e2e_open_settings() {
  e2e_menu_item "$1" 30 70
  dialog=$(e2e_wait_window '^Configuración$' 10) || e2e_fail "the settings dialog did not open from the menu"
  sleep 0.5
}

# Clicks the control of dialog $1 (no menu bar) at design pixel $2 $3.
e2e_click_dialog() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove --window "$1" $(awk -v x="$2" -v y="$3" -v w="$WIDTH" \
    'BEGIN {printf "%d %d", x * w / 312, y * w / 312}') click 1
}

# Chooses the language the keys that follow reach in the open settings
# dialog's list (Home e: English, the first name under E).
e2e_choose_language() {
  e2e_click_dialog "$dialog" 150 196  # the language box
  sleep 0.4
  xdotool key "$@" Return
  sleep 0.3
}

# The same, then Aceptar.
e2e_pick_language() {
  e2e_choose_language "$@"
  e2e_accept_settings
}

# Aceptar in the open settings dialog, which must then close.
e2e_accept_settings() {
  e2e_click_dialog "$dialog" 125 237
  e2e_wait_viewable "$dialog" no || e2e_fail "Aceptar did not close the settings dialog"
}

# The capture $1 is a whole 24-bit BMP of a $2 x $3 screen that shows the tray
# panel docked at its bottom right, the one thing on the screen besides the
# (hidden) window: bottom-up rows put that panel in the file's first row.
e2e_check_capture() {
  [ -f "$1" ] || e2e_fail "no capture file"
  capture=$(/usr/bin/python3 -c '
import struct, sys
b = open(sys.argv[1], "rb").read()
w, h = struct.unpack_from("<ii", b, 18)
bpp, = struct.unpack_from("<H", b, 28)
size, offset = struct.unpack_from("<I", b, 2)[0], struct.unpack_from("<I", b, 10)[0]
assert size == len(b), "size field"
row = b[offset:offset + w * 3]
print(b[:2].decode(), w, h, bpp, "panel" if any(row[-3 * 100:]) else "black")' "$1") || e2e_fail "capture is not a valid BMP"
  case "$capture" in
    "BM $2 $3 24 panel") ;;
    "BM $2 $3 24 black") e2e_fail "the capture does not show the tray panel: it did not copy the screen" ;;
    *) e2e_fail "capture is $capture, not a $2x$3 24-bit BMP" ;;
  esac
}

# Waits for the program $program to end after a quit command, and fails unless
# it ended cleanly: status 0, and no sanitizer report in its output.
e2e_expect_clean_exit() {
  for _ in $(seq 100); do kill -0 "$program" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$program" 2>/dev/null && e2e_fail "$1 did not end the program"
  wait "$program"
  status=$?
  if [ "$status" -ne 0 ] || grep -qE '^==[0-9]+==ERROR|runtime error:' "$e2e_dir/program.log"; then
    e2e_fail "the program ended with status $status"
  fi
}

# The accessibility bus (AT-SPI) announced on the private session bus (start
# that first), and Qt's bridge to it always on, as under a screen reader.
e2e_start_atspi() {
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$e2e_dir/atspi.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
  for _ in $(seq 200); do
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null 2>&1 &&
      return 0
    sleep 0.05
  done
  e2e_fail "the accessibility bus did not start: $(cat "$e2e_dir/atspi.log")"
}

# Xfce's window manager, which gives each new window the keyboard focus as a
# desktop does (bare Xvfb gives no window the focus).
e2e_start_window_manager() {
  xfwm4 --compositor=off --sm-client-disable >"$e2e_dir/wm.log" 2>&1 &
  wm=$!
  e2e_pids="$e2e_pids $wm"
  for _ in $(seq 400); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
    kill -0 "$wm" 2>/dev/null || e2e_fail "the window manager ended: $(cat "$e2e_dir/wm.log")"
    sleep 0.05
  done
  e2e_fail "the window manager did not start: $(cat "$e2e_dir/wm.log")"
}

# Waits up to 10 seconds until the window $1 has the keyboard focus.
e2e_wait_active() {
  for _ in $(seq 200); do [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] && return 0; sleep 0.05; done
  e2e_fail "window $1 never got the keyboard focus"
}

# Gives the window $1 the focus as a launcher or a taskbar does, through the
# window manager (started from a script, a program's first window does not
# always get it), and waits for it.
e2e_activate() {
  xdotool windowactivate "$1" 2>/dev/null
  e2e_wait_active "$1"
}

# Waits up to $2 tenths of a second (default 150) for the mock logind's
# PowerOff call number $1 (default 1); prints its line ("TIME PowerOff
# False"), or returns 1.
e2e_wait_poweroff() {
  for _ in $(seq "${2:-150}"); do
    [ "$(e2e_poweroffs)" -ge "${1:-1}" ] && break
    sleep 0.1
  done
  grep " PowerOff" "$e2e_logind_log" 2>/dev/null | sed -n "${1:-1}p" | grep .
}

# How many PowerOff calls the mock logind has had.
e2e_poweroffs() { cat "$e2e_logind_log" 2>/dev/null | grep -c " PowerOff"; }

# Waits for the program's icon docked in the XEmbed tray (a small viewable
# window of its class, or of the class $1: under Wine, the desktop process
# docks every program's icons) and prints its id.
e2e_tray_icon() {
  for _ in $(seq 120); do
    for w in $(xdotool search --class "${1:-durmivela}" 2>/dev/null); do
      info=$(xwininfo -id "$w" 2>/dev/null)
      echo "$info" | grep -q 'Map State: IsViewable' && echo "$info" | grep -q 'Width: [0-9]\{1,2\}$' &&
        { echo "$w"; return 0; }
    done
    sleep 0.05
  done
  return 1
}

# Waits for the first StatusNotifierItem registered with the watcher; sets
# $item, or fails with $1.
e2e_wait_sni_item() {
  for _ in $(seq 100); do
    item=$(e2e_sni_items | head -n 1)
    [ -n "$item" ] && return 0
    sleep 0.05
  done
  e2e_fail "$1"
}

# The test server $2 (default: the project's, tests/update/servidor_prueba.py)
# serving the folder $1; sets $e2e_server (its process), $e2e_port and
# $e2e_tls_port.
e2e_start_test_server() {
  /usr/bin/python3 "${2:-$e2e_root/tests/update/servidor_prueba.py}" "$1" >"$e2e_dir/server.port" 2>"$e2e_dir/server.log" &
  e2e_server=$!
  e2e_pids="$e2e_pids $e2e_server"
  for _ in $(seq 200); do [ -s "$e2e_dir/server.port" ] && break; sleep 0.05; done
  read -r e2e_port e2e_tls_port _ <"$e2e_dir/server.port" ||
    e2e_fail "the test server did not start: $(cat "$e2e_dir/server.log")"
}

# Presses the keys that follow one by one, as a user types them, and gives
# the program time to follow.
e2e_keys() { xdotool key --delay 150 "$@"; sleep 0.5; }

# Presses the keys that follow, which must open a window whose name matches
# the extended regex $1 and give it the focus; sets $opened.
e2e_keys_open() {
  pattern=$1
  shift
  e2e_keys "$@"
  opened=$(e2e_wait_window "$pattern" 10) || e2e_fail "the keys $* did not open /$pattern/"
  e2e_wait_active "$opened"
}

# Presses the keys that follow in the window $opened, which must then close
# and give the focus back to the main window $win.
e2e_keys_close() {
  e2e_keys "$@"
  e2e_wait_viewable "$opened" no || e2e_fail "the keys $* did not close window $opened"
  e2e_wait_active "$win"
}

# The visible windows, one id a line: taken before an action, for e2e_new_window.
e2e_windows() { xdotool search --onlyvisible --name '' 2>/dev/null | sort; }

# Waits up to 3 s for a visible window not in the list $1 (from e2e_windows)
# and taller than $2 pixels (default 0); prints its id.
e2e_new_window() {
  for _ in $(seq 60); do
    for id in $(e2e_windows | grep -vxF "$1"); do
      eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null)"
      [ "${HEIGHT:-0}" -gt "${2:-0}" ] && { echo "$id"; return 0; }
    done
    sleep 0.05
  done
  return 1
}
