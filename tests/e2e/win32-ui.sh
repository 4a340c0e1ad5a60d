# shellcheck shell=bash
# Sourced after session.sh by the Windows end-to-end test and benchmark:
# finding and clicking Durmivela.exe's controls under Wine, whose windows have
# no window manager, so Wine draws their frames itself.

# The build's own Wine prefix, made once, with none of its processes left
# running ($wine and $wineserver are its commands).
e2e_start_wine() {
  export DURMIVELA_WINEPREFIX=$build/wineprefix
  . "$e2e_root/scripts/wine-env.sh"
  wine_prefix_ready
  "$wineserver" -k 2>/dev/null
}

# Wine draws the frame itself: the client area ($2 x $3 pixels) sits at the
# bottom centre of the window $1. Sets cx, cy, its top-left corner in the window.
client_origin() {
  eval "$(xdotool getwindowgeometry --shell "$1")"
  cx=$(( (WIDTH - $2) / 2 ))
  cy=$(( HEIGHT - $3 - cx ))
}
click_at() { xdotool mousemove --window "$1" $((cx + $2)) $((cy + $3)) click "${4:-1}"; }
# Opens the drop-down list of the combo box at $2 $3 in window $1 and clicks
# its first or last entry ($4: first|last), as a mouse user would.
pick_from_list() {
  before=$(e2e_windows)
  click_at "$1" "$2" "$3"
  sleep 0.5
  list=$(e2e_new_window "$before") || e2e_fail "the list of the box at $2,$3 did not drop down"
  eval "$(xdotool getwindowgeometry --shell "$list")"
  if [ "$4" = first ]; then y=6; else y=$((HEIGHT - 6)); fi
  xdotool mousemove --window "$list" 10 "$y" click 1
  sleep 0.3
}

# Picks the first ("5 Min") or last ("5 Seg") preset, presses ACCEPT, and
# prints the moment of the press.
arm() {
  client_origin "$win" 312 263
  pick_from_list "$win" 204 82 "$1" >/dev/null
  e2e_now
  click_at "$win" 68 237
}
hidden() { ! xdotool search --onlyvisible --name '^(Durmivela|[0-9]+:[0-9]+:[0-9]+ (to shutdown|para el apagado))' >/dev/null 2>&1; }

