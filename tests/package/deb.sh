#!/bin/bash
# The Debian package, built and unpacked into a folder of its own (never
# installed on this machine): its exact file list, its desktop entry and
# AppStream data, lintian's errors. Then the unpacked program is started by a
# user who cannot write its folder, as an installed one is: under Xvfb with a
# mock logind, in English, it arms "5 Seg" with the log on; logind must be
# asked to power off, and the settings it read and the log record it wrote
# must be in that user's ~/.local/share/durmivela, nothing beside the program.
# Usage: tests/package/deb.sh BUILD_DIR
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)

# The second half, run as the user who cannot write the unpacked folder.
if [ "${1:-}" = --run-as-user ]; then
  usr=$2
  . "$root/tests/e2e/session.sh"
  [ -w "$usr/bin" ] && e2e_fail "$usr/bin can be written to: the test proves nothing"
  data="$HOME/.local/share/durmivela"
  mkdir -p "$data"
  e2e_write_settings "$data/Durmivela.ini" 2 2 English
  e2e_start_display
  e2e_start_tray
  e2e_start_logind_mock
  e2e_start_session_bus
  # The data folder the program finds by itself, as on a desktop that names none.
  unset XDG_DATA_HOME
  e2e_start_program "$usr/bin"
  e2e_arm_preset "$win" End >/dev/null  # the last entry, "5 Seg"
  case "$(e2e_wait_poweroff)" in *" PowerOff False") ;; *) e2e_fail "no PowerOff(false) reached logind" ;; esac
  log="$data/Durmivelar_Log.log"
  for _ in $(seq 20); do [ -s "$log" ] && break; sleep 0.1; done
  [ -f "$log" ] || e2e_fail "no log record in $data: $(ls -A "$data")"
  # English texts prove the language file came from share/durmivela/Leng.
  grep -q 'Durmivela shutdown record' "$log" && grep -q 'Shut down after a delay' "$log" ||
    e2e_fail "the log record is not the English one of a delay: $(cat "$log")"
  grep -q '^Tipo=2' "$data/Durmivela.ini" || e2e_fail "Durmivela.ini lost its settings: $(cat "$data/Durmivela.ini")"
  echo "installed layout: settings and log record in $data"
  exit 0
fi

build=$(cd "$1" && pwd)
. "$root/tests/e2e/session.sh"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$build/durmivela_${version}_$(dpkg --print-architecture).deb"
rm -f "$deb"
cmake --build "$build" --target package >"$e2e_dir/package.log" 2>&1 || e2e_fail "packing failed: $(tail -n 30 "$e2e_dir/package.log")"
[ -f "$deb" ] || e2e_fail "no $deb"

work=$e2e_dir
# Root's own folders, and the user's HOME inside, are only reachable through this one.
chmod 755 "$work"
troot="$work/root"
dpkg-deb -x "$deb" "$troot" || e2e_fail "dpkg-deb -x failed"

# Every file, no more and no fewer; the help file where chmcmd built it.
expected=$(
  {
    printf '%s\n' usr/bin/durmivela \
      usr/share/applications/org.example.Durmivela.desktop \
      usr/share/metainfo/org.example.Durmivela.metainfo.xml \
      usr/share/man/man1/durmivela.1.gz \
      usr/share/doc/durmivela/copyright usr/share/doc/durmivela/changelog.gz \
      usr/share/lintian/overrides/durmivela
    for size in 16 32 48 256; do echo "usr/share/icons/hicolor/${size}x$size/apps/durmivela.png"; done
    # The shipped languages by name, so that one lost from the tree or the
    # install is missed here.
    for lng in Deutsch English Español Français Italiano Português; do
      echo "usr/share/durmivela/Leng/$lng.lng"
    done
    # The help's pages, style sheet and pictures as web pages, with or without chmcmd.
    (cd "$root/help" && find . -type f \( -name '*.htm' -o -name '*.css' -o -name '*.png' -o -name '*.gif' \
      -o -name '*.jpg' \) | sed 's|^\./|usr/share/durmivela/html/|')
    [ -f "$build/Durmivela.chm" ] && echo usr/share/durmivela/Durmivela.chm
  } | LC_ALL=C sort)
actual=$(cd "$troot" && find . ! -type d | sed 's|^\./||' | LC_ALL=C sort)
[ "$actual" = "$expected" ] || e2e_fail "the package's files differ:
$(diff <(echo "$expected") <(echo "$actual"))"
# Debian's ownership and modes, as dpkg will install them.
contents=$(dpkg-deb -c "$deb")
odd=$(echo "$contents" | awk '$2 != "root/root" || ($1 !~ /^d/ && $1 != "-rw-r--r--" && $NF != "./usr/bin/durmivela")')
[ -z "$odd" ] || e2e_fail "wrong owner or mode: $odd"
echo "$contents" | grep -q '^-rwxr-xr-x root/root .* \./usr/bin/durmivela$' || e2e_fail "the program is not 0755"
depends=$(dpkg-deb -f "$deb" Depends)
case "$depends" in *libcurl4*) ;; *) e2e_fail "Depends lacks libcurl4: $depends" ;; esac
case "$depends" in *libqt6widgets6*) ;; *) e2e_fail "Depends lacks Qt, as if dpkg-shlibdeps had not run: $depends" ;; esac

desktop-file-validate "$troot/usr/share/applications/org.example.Durmivela.desktop" || e2e_fail "desktop-file-validate"
# The metainfo, its desktop entry and icon, checked together.
appstreamcli validate-tree --no-net "$troot" || e2e_fail "appstreamcli validate-tree"
# The user: the tests run as root in CI, who can write anywhere.
home="$work/home"
mkdir -p "$home" /tmp/.X11-unix
if [ "$(id -u)" -eq 0 ]; then
  chown nobody:nogroup "$home"
  as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
else
  chmod -R a-w "$troot"
  as_user=()
fi

# Errors fail; warnings are read by people (they are printed).
"${as_user[@]}" env HOME="$home" lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
cat "$work/lintian.log"
grep -q '^E: ' "$work/lintian.log" && e2e_fail "lintian reports errors"
# A failed run keeps its evidence where the user can write; it is moved into
# the build folder before the work folder goes.
mkdir -m 1777 "$work/kept"
if ! "${as_user[@]}" env -i PATH="$PATH" HOME="$home" LANG=C.UTF-8 \
  E2E_KEEP_DIR="$work/kept" /bin/bash "$0" --run-as-user "$troot/usr"; then
  mkdir -p "$build/e2e-failed" && cp -r "$work/kept"/. "$build/e2e-failed/" &&
    echo "e2e: moved to $build/e2e-failed/: $(ls "$work/kept")" >&2
  e2e_fail "the unpacked program, run by a user"
fi
stray=$(cd "$troot" && find . -newer "$deb" ! -type d)
[ -z "$stray" ] || e2e_fail "the program wrote into its own folder: $stray"
echo "package deb: ok ($deb)"
