#!/bin/sh
# End to end: Ayuda > Contenido clicked as a user does, on a desktop with no
# CHM viewer and then on one with. Desktop files are looked for only in this
# run's empty folders, and a recording xdg-open comes first on PATH (xdg-mime
# stays the real one). With no viewer the program must hand over the HTML
# page of its language, a page that exists; once a viewer is installed, the
# CHM. Usage: help.sh <build folder> (the program, Leng/, html/ and
# Durmivela.chm in it).
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"
shots=${E2E_SHOTS:-$build/e2e-shots}
mkdir -p "$shots"
# Without the compiled help there is nothing to choose between.
[ -f "$build/Durmivela.chm" ] || { echo "SKIP: no Durmivela.chm (chmcmd is missing)"; exit 77; }

# Nothing of this machine's desktop: empty data and configuration folders,
# no desktop named (xdg-mime then follows the freedesktop rules itself), and
# a session bus of this run's own.
xdg="$e2e_dir/xdg"
mkdir -p "$xdg/data" "$xdg/dirs" "$xdg/config" "$xdg/configdirs" "$e2e_dir/bin"
export XDG_DATA_HOME="$xdg/data" XDG_DATA_DIRS="$xdg/dirs" XDG_CONFIG_HOME="$xdg/config" XDG_CONFIG_DIRS="$xdg/configdirs"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID \
  MATE_DESKTOP_SESSION_ID XDG_MENU_PREFIX BROWSER
opened="$e2e_dir/opened"
cat >"$e2e_dir/bin/xdg-open" <<EOF
#!/bin/sh
printf '%s\n' "\$*" >>"$opened"
EOF
chmod +x "$e2e_dir/bin/xdg-open"
export PATH="$e2e_dir/bin:$PATH"

e2e_start_display
e2e_start_logind_mock
dbus-daemon --session --nofork --nopidfile --address="unix:path=$e2e_dir/session_bus_socket" \
  >"$e2e_dir/session-dbus.log" 2>&1 &
e2e_pids="$e2e_pids $!"
export DBUS_SESSION_BUS_ADDRESS="unix:path=$e2e_dir/session_bus_socket"
for _ in $(seq 100); do [ -S "$e2e_dir/session_bus_socket" ] && break; sleep 0.05; done

folder=$(e2e_program_folder "$build")
cp -r "$build/html" "$build/Durmivela.chm" "$folder/" || e2e_fail "the build folder lacks html/ or Durmivela.chm"
printf '[TIPO]\r\nTipo=1\r\n[LOG]\r\nLog=1\r\n[LENGUAJE]\r\nLenguaje=English\r\n' >"$folder/Durmivela.ini"
e2e_start_program "$folder"

# Help, then its first item, where a user finds them; waits for the $1-th
# hand-over and sets $handed to it as a path.
contents() {
  eval "$(xdotool getwindowgeometry --shell "$win")"
  scale=$(awk -v w="$WIDTH" 'BEGIN {printf "%.4f", w / 312}')
  menubar=$(awk -v h="$HEIGHT" -v s="$scale" 'BEGIN {printf "%d", h - 263 * s}')
  xdotool mousemove --window "$win" "$(awk -v s="$scale" 'BEGIN {printf "%d", 70 * s}')" $((menubar / 2)) click 1
  sleep 0.5
  import -window root "$shots/help-menu.png"
  xdotool mousemove --window "$win" "$(awk -v s="$scale" 'BEGIN {printf "%d", 90 * s}')" $((menubar + menubar / 2 + 4)) click 1
  for _ in $(seq 100); do [ -f "$opened" ] && [ "$(wc -l <"$opened")" -ge "$1" ] && break; sleep 0.1; done
  handed=$(sed -n "$1p" "$opened" 2>/dev/null)
  [ -n "$handed" ] || e2e_fail "Contents handed nothing to the desktop: $(cat "$e2e_dir/program.log")"
  # Qt hands over a file:// address; the folders here need no unescaping.
  handed=${handed#file://}
}

contents 1
page=$handed
[ "$page" = "$folder/html/en/start.htm" ] || e2e_fail "with no CHM viewer, Contents opened $page"
[ -f "$page" ] || e2e_fail "Contents opened $page, which does not exist"
grep -q '<title>What Durmivela does</title>' "$page" || e2e_fail "$page is not the English first page"

# A CHM viewer installed for this user, as a package would leave it.
mkdir -p "$XDG_DATA_HOME/applications"
printf '[Desktop Entry]\nType=Application\nName=CHM viewer\nExec=true %%f\nMimeType=application/vnd.ms-htmlhelp;\n' \
  >"$XDG_DATA_HOME/applications/chm-viewer.desktop"
contents 2
chm=$handed
[ "$chm" = "$folder/Durmivela.chm" ] || e2e_fail "with a CHM viewer, Contents opened $chm"

# Quit, below the design position of its button: a clean end, sanitizers silent.
xdotool mousemove --window "$win" "$(awk -v s="$scale" 'BEGIN {printf "%d", 245 * s}')" \
  "$(awk -v s="$scale" -v m="$menubar" 'BEGIN {printf "%d", m + 237 * s}')" click 1
e2e_expect_clean_exit "Quit"
echo "e2e help: ok (no viewer: $page; viewer: $chm)"
