# Sourced by the Wine scripts: the environment of the build's own Wine prefix,
# and its one-time set-up. Needs $DURMIVELA_WINEPREFIX.
export WINEPREFIX=$DURMIVELA_WINEPREFIX
export WINEDEBUG=-all
export WINEARCH=win64
# No Mono or Gecko installers, no menu entries on the host desktop.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
wine=$(command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

wine_prefix_ready() {
  [ -f "$WINEPREFIX/.durmivela-ready" ] && return 0
  mkdir -p "$WINEPREFIX"
  # One caller makes the prefix; the others wait for it.
  (
    flock 9
    [ -f "$WINEPREFIX/.durmivela-ready" ] && exit 0
    "$wine" wineboot -i >/dev/null 2>&1 || true
    reg() { "$wine" reg add "$@" /f >/dev/null 2>&1; }
    # A crash must end the program, not open a dialog that waits forever.
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # Windows placed and decorated by Wine itself, as Windows does.
    reg 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N
    if [ -d /usr/share/wine/fonts ]; then
      mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
      cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    fi
    "$wineserver" -w 2>/dev/null || true
    touch "$WINEPREFIX/.durmivela-ready"
  ) 9>"$WINEPREFIX.lock"
}
