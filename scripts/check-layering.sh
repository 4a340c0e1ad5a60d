#!/bin/sh
# Fails when a file outside the front ends includes a Qt or Windows header or
# reads the system clock directly: the program must stay toolkit-free and its
# time must come through the Clock service, so that tests can fake it.
root=${1:-.}
cd "$root" || exit 2
files=$(find platform scheduler settings lang capture tray update about -type f \
          \( -name '*.h' -o -name '*.hpp' -o -name '*.cpp' -o -name '*.cc' \) \
          -not -path 'platform/qt/*' -not -path 'platform/win32/*' 2>/dev/null)
[ -n "$files" ] || { echo "no sources found under $root"; exit 2; }
status=0
toolkit='#[[:space:]]*include[[:space:]]*[<"](Q[A-Za-z]*|Qt[A-Za-z]*/[^>"]*|windows\.h|winuser\.h|winbase\.h|wininet\.h|shellapi\.h|ole2\.h|olectl\.h|commctrl\.h|shlobj\.h|dbus/[^>"]*)[>"]'
if grep -nE "$toolkit" $files; then
  echo "error: toolkit or Windows header included outside platform/qt and platform/win32"
  status=1
fi
clock='(system_clock|steady_clock|high_resolution_clock)[[:space:]]*::[[:space:]]*now|[^A-Za-z_]time[[:space:]]*\([[:space:]]*(NULL|nullptr|0)?[[:space:]]*\)|localtime|gettimeofday|clock_gettime|GetLocalTime|GetSystemTime|GetTickCount|QDateTime|QTime::current'
if grep -nE "$clock" $files; then
  echo "error: system clock read directly outside platform/qt and platform/win32"
  status=1
fi
[ $status -eq 0 ] && echo "layering ok: $(echo "$files" | wc -l) files checked"
exit $status
