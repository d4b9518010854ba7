#!/usr/bin/env bash
# Measures the program in KDE's KWin, sway and labwc, headless, as the README
# describes them (tests/e2e/other_desktops.sh); not part of the test command.
# Takes about a minute once the packages are in.
# Usage: scripts/desktops.sh [COMPOSITORS]   (those of kwin, sway and labwc
#   named, with commas, alone: sway,labwc, say)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh desktops
cmake --workflow --preset bench >/dev/null
bash tests/e2e/other_desktops.sh build/bench/tallaro build/bench/bench/bare_window "$@"
