#!/usr/bin/env bash
# Renders the application icon from its one source, assets/tallaro.svg: the
# PNG sizes of the desktop's icon theme and the ten-image Windows .ico (48,
# 32 and 16 pixels in 256 colours; 256 as PNG, 128, 64, 48, 32, 24 and 16 in
# 32-bit colour). The results are committed, so that a build needs no image tools.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh icons
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" assets/tallaro.svg -o "assets/icons/tallaro-$size.png"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in 48 32 16; do
    convert "assets/icons/tallaro-$size.png" -colors 255 "PNG8:$work/tallaro-$size.png"
done
icotool --create --output=assets/tallaro.ico \
    --bit-depth=8 "$work"/tallaro-{48,32,16}.png \
    --bit-depth=32 --raw=assets/icons/tallaro-256.png assets/icons/tallaro-{128,64,48,32,24,16}.png
echo "assets/icons/tallaro-*.png and assets/tallaro.ico made from assets/tallaro.svg"
