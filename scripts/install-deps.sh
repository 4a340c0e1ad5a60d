#!/bin/sh
# Installs what is missing for building and running the Linux program (`run`)
# or also for the Windows program and every test (`test`) on Debian 12. Uses
# sudo when not run as root.
set -eu
profile=${1:-run}

packages="cmake ninja-build g++ make pkg-config qt6-base-dev qt6-qpa-plugins libgl-dev libxcb-shm0-dev libcurl4-openssl-dev fp-utils fonts-dejavu-core"
# Wayland sessions (GNOME's default): Qt's Wayland platform plugin; the
# Debian package's dependencies come from dpkg-shlibdeps.
packages="$packages qt6-wayland dpkg-dev"
if [ "$profile" = test ]; then
  # The Windows program: the MinGW-w64 cross compiler with POSIX threads, and
  # GoogleTest's sources for its tests.
  packages="$packages g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest"
  packages="$packages libgtest-dev xvfb xauth xdotool trayer x11-utils imagemagick dbus python3 python3-dbusmock libchm-bin clang libclang-rt-14-dev"
  # A screen reader's plumbing (the AT-SPI bus and its Python client) and a
  # window manager that gives new windows the keyboard focus.
  packages="$packages at-spi2-core python3-pyatspi xfwm4"
  # The update tests' HTTPS server makes a throwaway certificate.
  packages="$packages openssl"
  # Reads a message box's words off the screen, where X offers no other way.
  packages="$packages tesseract-ocr"
  # A real desktop's notification area for the tray tests; a backtrace of a
  # program that crashed in an end-to-end run; CPU stress for repeated runs
  # (tests/e2e/repeat.sh).
  packages="$packages xfce4-panel gdb stress-ng"
  # Checks the Debian package as a distribution would.
  packages="$packages lintian desktop-file-utils appstream"
  # xdg-mime tells the help whether the desktop has a CHM viewer.
  packages="$packages xdg-utils"
  # Wine (64-bit) runs the Windows tests, with its own fonts.
  packages="$packages wine wine64 fonts-wine unzip"
fi

missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends $missing
