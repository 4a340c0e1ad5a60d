#!/bin/sh
# Pictures of the Windows program's windows, for a person to look at: each
# window in each language of Leng/, at 96 dpi and after a move to a 144-dpi
# monitor, as PNG files. Not while the build's Windows tests run: it ends the
# prefix's processes when done.
# Usage: tests/win32/gallery.sh [BUILD_DIR] [OUTPUT_DIR]
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "${1:-$root/build/win32}" && pwd)
out=${2:-$build/gallery}
mkdir -p "$out"
rm -f "$out"/*.bmp "$out"/*.png
export LANG=C.UTF-8 LC_ALL=C.UTF-8
"$root/scripts/wine-session.sh" start "$build"
trap '"$root/scripts/wine-session.sh" stop "$build"' EXIT
DURMIVELA_GALLERY="Z:$(cd "$out" && pwd)" "$root/scripts/wine-run.sh" "$build/durmivela_win32_forms_tests.exe" \
  --gtest_filter=CaptionsFit.Gallery
for picture in "$out"/*.bmp; do
  convert "$picture" "${picture%.bmp}.png" && rm "$picture"
done
ls "$out"
