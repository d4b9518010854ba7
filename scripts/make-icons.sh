#!/usr/bin/env bash
# Renders the application icon from its one source, assets/tallaro.svg: the
# PNG sizes of the desktop's icon theme and the ten-image Windows .ico. The
# results are committed, so that a build needs no image tools.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh icons
for size in 16 24 32 48 64 128 256; do
    rsvg-convert --width "$size" --height "$size" assets/tallaro.svg -o "assets/icons/tallaro-$size.png"
done
python3 scripts/make_ico.py assets/icons assets/tallaro.ico
echo "assets/icons/tallaro-*.png and assets/tallaro.ico made from assets/tallaro.svg"
