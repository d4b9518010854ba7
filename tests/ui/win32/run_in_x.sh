#!/usr/bin/env bash
# Runs a Windows test program under Wine in an X server of its own, with a
# German user locale; a further argument, a file, is handed on as a Windows
# path. With X_WORKAREA=X,Y,W,H the screen has that work area, as a panel
# or a dock leaves it. Usage: run_in_x.sh WINE PROGRAM.exe [FILE]
set -euo pipefail
wine=$1
program=$2
source "$(dirname "$0")/../../e2e/x_session.sh"
start_xvfb
if [ -n "${X_WORKAREA:-}" ]; then
    xprop -root -format _NET_WORKAREA 32c -set _NET_WORKAREA "$X_WORKAREA"
fi
export LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8
if [ $# -ge 3 ]; then
    # Wine shows the root of the file system as drive Z:.
    "$wine" "$program" "Z:$(realpath "$3" | tr / '\\')"
else
    "$wine" "$program"
fi
