#!/bin/sh
# Draws the program icon: a power symbol on a night-blue tile with a crescent
# moon. Drawn large and reduced, so the same strokes stay readable at 16 px.
# Writes durmivela.png (32x32), durmivela-16.png and durmivela.ico (16 + 32)
# for the program itself, and durmivela-48.png and durmivela-256.png for the
# desktop's icon theme (the 32 and 16 px files serve it too).
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The tile: rounded square, dark blue fading to near-black at the bottom.
convert -size 256x256 xc:none \
  \( -size 240x240 gradient:'#2c4a8c'-'#0b1430' \) -geometry +8+8 -composite \
  \( -size 256x256 xc:black -fill white -draw 'roundrectangle 8,8 247,247 52,52' \) \
  -alpha off -compose CopyOpacity -composite "$work/tile.png"

# The crescent: a disc with an offset disc cut out of it.
convert -size 256x256 xc:none -fill '#ffd34d' -draw 'circle 194,70 194,22' \
  \( -size 256x256 xc:none -fill black -draw 'circle 164,46 164,6' \) \
  -compose DstOut -composite "$work/moon.png"

# The power symbol: a ring open at the top and a bar through the gap.
convert -size 256x256 xc:none -fill none -stroke '#f2f5ff' -strokewidth 30 \
  -draw 'stroke-linecap round arc 44,86 180,222 -58,238' \
  -draw 'stroke-linecap round line 112,58 112,142' "$work/power.png"

convert "$work/tile.png" "$work/moon.png" -composite "$work/power.png" -composite "$work/big.png"

# No time stamps in the files, so a rerun gives the same bytes.
for size in 256 48 32 16; do
  convert "$work/big.png" -filter Lanczos -resize ${size}x${size} -depth 8 -strip \
    -define png:exclude-chunks=date,time "$work/icon-$size.png"
done
cp "$work/icon-32.png" durmivela.png
cp "$work/icon-16.png" durmivela-16.png
cp "$work/icon-48.png" durmivela-48.png
cp "$work/icon-256.png" durmivela-256.png
convert "$work/icon-16.png" "$work/icon-32.png" durmivela.ico
