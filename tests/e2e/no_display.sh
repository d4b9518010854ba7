#!/usr/bin/env bash
# Without any display the program says so in one line and ends with a failure status.
set -uo pipefail
output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$1" 2>&1)
status=$?
lines=$(printf '%s\n' "$output" | wc -l)
echo "status $status: $output"
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] && [ "$lines" -eq 1 ] && [[ $output == *xvfb-run* ]]
