#!/usr/bin/env bash
# Starts the real program in an X server of its own under a locale, clicks
# "Start", reads the caption from the X server until it shows a ticked amount
# written with the locale's decimal separator, closes the window and expects
# the program to end with status 0.
# Usage: meter_runs.sh PROGRAM CLOSE-HELPER LANG DECIMAL-SEPARATOR
set -euo pipefail
program=$1
close_window=$2
lang=$3
decimal=$4

work=$(mktemp -d)
pids=()
source "$(dirname "$0")/x_session.sh"
trap stop_all EXIT

start_xvfb
env -u LC_ALL -u LC_NUMERIC -u LANGUAGE LANG="$lang" "$program" 2>"$work/program.log" &
program_pid=$!
pids+=("$program_pid")

window=$(wait_for_window '^Tallaro$')

properties=$(xprop -id "$window")
grep -q '_NET_WM_STATE_ABOVE' <<<"$properties" || fail "the window is not above others"
grep -q '_NET_WM_WINDOW_TYPE_UTILITY' <<<"$properties" || fail "the window is no tool window"
grep -q 'program specified minimum size: 217 by 107' <<<"$properties" || fail "size not fixed"
grep -q 'program specified maximum size: 217 by 107' <<<"$properties" || fail "size not fixed"

click_start "$window"

caption=""
for _ in $(seq 150); do
    caption=$(window_caption "$window")
    [[ $caption =~ ^100[$decimal]0[3-9]\ -\ Tallaro$ ]] && break
    sleep 0.1
done
[[ $caption =~ ^100[$decimal]0[3-9]\ -\ Tallaro$ ]] || fail "caption after Start: '$caption'"
echo "caption: $caption"

"$close_window" "$window"
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program still runs after its window was closed"
status=0
wait "$program_pid" || status=$?
[ "$status" -eq 0 ] || fail "exit status $status: $(cat "$work/program.log")"
echo "PASS: the meter ran and the program ended with status 0"
