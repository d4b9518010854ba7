#!/usr/bin/env bash
# Installs the Debian package as a user does, with apt-get, on the machine it
# runs on (a fresh minimal root of a Debian release, as root), and starts the
# installed program under Xvfb: its window comes up, "Start" makes the
# caption tick, nothing is said on stderr but that no compositing manager
# runs (none does there), and closing the window ends the program with
# status 0. Usage: installed_package.sh PACKAGE CLOSE-HELPER
set -euo pipefail
deb=$(realpath "$1")
close_window=$2
here=$(cd "$(dirname "$0")" && pwd)

export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
# The package with what it depends on and recommends, as apt-get gives it.
apt-get install -y -qq "$deb" >/dev/null
# The X server and the tools that look at the window.
apt-get install -y -qq --no-install-recommends xvfb xauth xdotool x11-utils >/dev/null

source "$here/../e2e/x_session.sh"
start_xvfb
start_tallaro /usr/bin/tallaro de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
click_start "$window"
caption=$(wait_for_caption "$window" '^100,0[2-9] - Tallaro$')
[[ $caption =~ ^100,0[2-9]\ -\ Tallaro$ ]] || fail "the installed program did not tick: '$caption'"
close_and_expect_success "$close_window" "$window"
[ "$(cat "$work/program.log")" = "$no_compositor" ] ||
    fail "the installed program said: $(cat "$work/program.log")"
. /etc/os-release
echo "PASS: $(basename "$deb") installed on $PRETTY_NAME; the program ticked ('$caption') and closed with status 0"
