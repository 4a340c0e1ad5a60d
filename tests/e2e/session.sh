# Sourced by the end-to-end scripts and benchmarks: a private X display with a
# tray host, and a private system bus with a mock logind, all stopped on exit.
# Nothing here ever talks to the machine's real system bus.

e2e_dir=$(mktemp -d /tmp/durmivela-e2e.XXXXXX)
e2e_pids=""

e2e_cleanup() {
  for pid in $e2e_pids; do kill "$pid" 2>/dev/null; done
  sleep 0.2
  for pid in $e2e_pids; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$e2e_dir"
}
trap e2e_cleanup EXIT INT TERM

e2e_fail() { echo "FAIL: $*" >&2; exit 1; }

# Xvfb on the first free display number from 70, 1920x1080, 24-bit.
e2e_start_display() {
  n=70
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 "${E2E_SCREEN:-1920x1080x24}" -nolisten tcp >"$e2e_dir/xvfb.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && return 0; sleep 0.05; done
  e2e_fail "Xvfb did not start"
}

e2e_start_tray() {
  trayer --edge bottom --align right --widthtype pixel --width 200 --height 32 --SetDockType true \
    >"$e2e_dir/trayer.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  sleep 0.5
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

# A fresh program folder: the built program with its language files.
e2e_program_folder() {
  build=$1
  folder="$e2e_dir/program"
  mkdir -p "$folder"
  cp "$build/durmivela" "$folder/"
  cp -r "$build/Leng" "$folder/"
  echo "$folder"
}

e2e_now() { date +%s.%N; }

# Starts the program of folder $1 on the private bus; sets $program and $win
# (its main window, once shown).
e2e_start_program() {
  e2e_assert_private_bus
  "$1/durmivela" >"$e2e_dir/program.log" 2>&1 &
  program=$!
  e2e_pids="$program $e2e_pids"
  win=$(e2e_wait_window '^Durmivela 3\.0\.16$' 20) || e2e_fail "the main window did not appear"
  sleep 0.5
}

# Waits up to $2 seconds for a visible window whose name matches the extended
# regex $1; prints its id. (xdotool's own --name search misses some windows
# that are plainly there, so names are compared one by one.)
e2e_wait_window() {
  end=$(( $(date +%s) + ${2:-10} ))
  while [ "$(date +%s)" -le "$end" ]; do
    for id in $(xdotool search --onlyvisible --name '' 2>/dev/null); do
      xdotool getwindowname "$id" 2>/dev/null | grep -qE "$1" && { echo "$id"; return 0; }
    done
    sleep 0.01
  done
  return 1
}

# Picks a preset in the main window $1 with the keys that follow in the open
# list (End: "5 Seg", Home: "5 Min", End Up: "10 H"), presses ACEPTAR, and
# prints the moment of the press.
# Controls are found at their design positions (twips / 15) below the menu bar,
# whose height is what the window has beyond its 263-pixel client area.
e2e_arm_preset() {
  preset_window=$1
  shift
  eval "$(xdotool getwindowgeometry --shell "$preset_window")"
  scale=$(awk -v w="$WIDTH" 'BEGIN {printf "%.4f", w / 312}')
  menubar=$(awk -v h="$HEIGHT" -v s="$scale" 'BEGIN {printf "%d", h - 263 * s}')
  at() { awk -v x="$1" -v y="$2" -v s="$scale" -v m="$menubar" 'BEGIN {printf "%d %d", x * s, m + y * s}'; }
  xdotool mousemove --window "$preset_window" $(at 204 82) click 1
  sleep 0.4
  xdotool key "$@" Return
  sleep 0.4
  e2e_now
  xdotool mousemove --window "$preset_window" $(at 68 237) click 1
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
    e2e_fail "the program ended with status $status: $(cat "$e2e_dir/program.log")"
  fi
}

# A session bus of this run's own, for the desktop's services that live there.
e2e_start_session_bus() {
  session_socket="$e2e_dir/session_bus_socket"
  dbus-daemon --session --nofork --nopidfile --address="unix:path=$session_socket" >"$e2e_dir/session-dbus.log" 2>&1 &
  e2e_pids="$e2e_pids $!"
  for _ in $(seq 100); do [ -S "$session_socket" ] && break; sleep 0.05; done
  [ -S "$session_socket" ] || e2e_fail "private session bus did not start"
  export DBUS_SESSION_BUS_ADDRESS="unix:path=$session_socket"
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
