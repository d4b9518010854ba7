#!/usr/bin/env bash
# Without a display it can reach the program says so in one line and ends
# with status 1: with none of the variables set, and with each set empty,
# which names no display (an empty WAYLAND_DISPLAY beside an X display that
# nobody serves included).
set -uo pipefail
failed=0
while read -r environment; do
    # shellcheck disable=SC2086 # the assignments are words
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $environment "$1" 2>&1)
    status=$?
    echo "${environment:-(none set)}: status $status: $output"
    if [ "$status" -ne 1 ] || [ "$(printf '%s\n' "$output" | wc -l)" -ne 1 ] ||
        [[ $output != *xvfb-run* ]]; then
        failed=1
    fi
done <<'ENVIRONMENTS'

DISPLAY=
WAYLAND_DISPLAY=
QT_QPA_PLATFORM=
WAYLAND_DISPLAY= DISPLAY=:4243
DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=
ENVIRONMENTS
exit "$failed"
