#!/bin/sh
# End to end: Ayuda > Contenido clicked as a user does, on a desktop with no
# CHM viewer and then on one with. Desktop files are looked for only in this
# run's empty folders, and a recording xdg-open comes first on PATH (xdg-mime
# stays the real one). With no viewer the program must hand over the HTML
# page of its language, a page that exists; once a viewer is installed, the
# CHM. Usage: help.sh BUILD_DIR (the program, Leng/, html/ and Durmivela.chm
# in it).
set -u
build=$(cd "$1" && pwd)
. "$(dirname "$0")/session.sh"
# Without the compiled help there is nothing to choose between.
[ -f "$build/Durmivela.chm" ] || { echo "SKIP: no Durmivela.chm (chmcmd is missing)"; exit 77; }

# Nothing of this machine's desktop: the private session bus's empty XDG
# folders, no system folders, no desktop named (xdg-mime then follows the
# freedesktop rules itself).
e2e_start_display
e2e_start_logind_mock
e2e_start_session_bus
mkdir -p "$e2e_dir/dirs" "$e2e_dir/configdirs" "$e2e_dir/bin"
export XDG_DATA_DIRS="$e2e_dir/dirs" XDG_CONFIG_DIRS="$e2e_dir/configdirs"
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION KDE_SESSION_VERSION GNOME_DESKTOP_SESSION_ID \
  MATE_DESKTOP_SESSION_ID XDG_MENU_PREFIX BROWSER
opened="$e2e_dir/opened"
printf '#!/bin/sh\nprintf "%%s\\n" "$*" >>"%s"\n' "$opened" >"$e2e_dir/bin/xdg-open"
chmod +x "$e2e_dir/bin/xdg-open"
export PATH="$e2e_dir/bin:$PATH"

folder=$(e2e_program_folder)
[ -d "$folder/html" ] || e2e_fail "the build folder lacks html/"
e2e_write_settings "$folder/Durmivela.ini" 1 1 English
e2e_start_program "$folder"

# Help, then its first item; waits for the $1-th hand-over and sets $handed
# to it as a path.
contents() {
  e2e_menu_item "$win" 70 90 help-menu
  for _ in $(seq 100); do [ -f "$opened" ] && [ "$(wc -l <"$opened")" -ge "$1" ] && break; sleep 0.1; done
  handed=$(sed -n "$1p" "$opened" 2>/dev/null)
  [ -n "$handed" ] || e2e_fail "Contents handed nothing to the desktop"
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

# Quit: a clean end, sanitizers silent.
e2e_click_stop "$win"
e2e_expect_clean_exit "Quit"
echo "e2e help: ok (no viewer: $page; viewer: $chm)"
