#!/usr/bin/env bash
# Measures the program on the desktops the README describes, beyond the
# test command: KDE's KWin, sway and labwc, headless
# (tests/e2e/other_desktops.sh), and every X11 window manager Debian offers,
# under Xvfb, as the screen shows it (tests/e2e/x11_desktops.sh). Takes about
# a minute for the first three and two for the X11 ones, once the packages
# are in.
# Usage: scripts/desktops.sh [NAMES]   (with commas: kwin, sway, labwc, or
#   x11 for all the X11 rows, or the rows' own names such as xfce or
#   fluxbox-picom; all by default)
set -euo pipefail
cd "$(dirname "$0")/.."
names=",${1:-kwin,sway,labwc,x11},"
wayland="" x11=""
for name in ${names//,/ }; do
    case $name in
        kwin | sway | labwc) wayland+="$name," ;;
        x11) x11+="all," ;;
        *) x11+="$name," ;;
    esac
done
[ -z "$wayland" ] || bash scripts/deps.sh desktops
[ -z "$x11" ] || bash scripts/deps.sh x11-desktops
cmake --workflow --preset bench >/dev/null
[ -z "$wayland" ] || bash tests/e2e/other_desktops.sh build/bench/tallaro build/bench/bench/bare_window "${wayland%,}"
[ -z "$x11" ] || bash tests/e2e/x11_desktops.sh build/bench/tallaro build/bench/bench/x_screen_pixels "${x11%,}"
