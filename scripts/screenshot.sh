#!/usr/bin/env bash
# Takes the README's picture of the real window, frame and title bar
# included: started under Xvfb and openbox with a German locale, three
# seconds after "Start".
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh screenshot
cmake --workflow --preset release

source tests/e2e/x_session.sh

start_xvfb
start_window_manager
start_tallaro build/release/tallaro de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
click_start "$window"
sleep 3.2
read -r left right top bottom < <(frame_extents "$window")
read -r x y < <(client_origin "$window")
import -window root -crop "$((217 + left + right))x$((107 + top + bottom))+$((x - left))+$((y - top))" \
    +repage docs/screenshot.png
echo "docs/screenshot.png: $(identify -format '%wx%h' docs/screenshot.png)"
