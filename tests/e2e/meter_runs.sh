#!/usr/bin/env bash
# Starts the real program in an X server of its own under a locale, clicks
# "Start", reads the caption from the X server until it shows a ticked amount
# written with the locale's decimal separator, and the older WM_NAME with it,
# closes the window and expects the program to end with status 0.
# Usage: meter_runs.sh PROGRAM CLOSE-HELPER LANG DECIMAL-SEPARATOR
set -euo pipefail
program=$1
close_window=$2
lang=$3
decimal=$4

source "$(dirname "$0")/x_session.sh"

start_xvfb
start_tallaro "$program" "$lang"

window=$(wait_for_window '^Tallaro$')

properties=$(xprop -id "$window")
grep -q '_NET_WM_STATE_ABOVE' <<<"$properties" || fail "the window is not above others"
grep -q '_NET_WM_WINDOW_TYPE_UTILITY' <<<"$properties" || fail "the window is no tool window"
grep -q 'program specified minimum size: 217 by 107' <<<"$properties" || fail "size not fixed"
grep -q 'program specified maximum size: 217 by 107' <<<"$properties" || fail "size not fixed"

click_start "$window"

pattern="^100[$decimal]0[3-9] - Tallaro$"
caption=$(wait_for_caption "$window" "$pattern")
[[ $caption =~ $pattern ]] || fail "caption after Start: '$caption'"
echo "caption: $caption"
# A window manager that reads only the older name sees the same caption,
# as each tick sets it (read again should a tick come between the two).
for _ in 1 2 3; do
    names=$(xprop -id "$window" _NET_WM_NAME WM_NAME | sed -n 's/^.*(\(UTF8_\)\{0,1\}STRING) = "\(.*\)"$/\2/p')
    [ "$(sed -n 1p <<<"$names")" = "$(sed -n 2p <<<"$names")" ] && break
done
[ "$(sed -n 1p <<<"$names")" = "$(sed -n 2p <<<"$names")" ] && [ "$(wc -l <<<"$names")" -eq 2 ] ||
    fail "the caption's two names differ: $(paste -sd '|' <<<"$names")"

close_and_expect_success "$close_window" "$window"
echo "PASS: the meter ran and the program ended with status 0"
