#!/usr/bin/env bash
# Steps the persons field from 1 to 2 with its "+" button in the real program,
# then starts the meter: the first tick must already count two persons
# (100 + 2 x 50 / 3600 = 100,03; one person would show 100,01).
# Usage: step_buttons.sh PROGRAM CLOSE-HELPER
set -euo pipefail
program=$1
close_window=$2

source "$(dirname "$0")/x_session.sh"

start_xvfb
start_tallaro "$program" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')

click_persons_plus "$window"
click_start "$window"
caption=$(wait_for_caption "$window" ' - Tallaro$')
[ "$caption" = "100,03 - Tallaro" ] || fail "first ticked caption: '$caption'"
echo "caption: $caption"

close_and_expect_success "$close_window" "$window"
echo "PASS: the first tick counted the stepped persons"
