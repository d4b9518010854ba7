#!/usr/bin/env bash
# Measures the program in KDE's KWin and in sway, headless, as the README
# describes them (tests/e2e/other_desktops.sh); not part of the test command.
# Takes about a minute once the packages are in.
# Usage: scripts/desktops.sh [kwin|sway]   (one of them alone)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh desktops
cmake --workflow --preset bench >/dev/null
bash tests/e2e/other_desktops.sh build/bench/tallaro build/bench/bench/bare_window "$@"
