#!/usr/bin/env bash
# The program under faults and under watch:
# - a display that cannot be reached: one clear line, a failure status, no crash;
# - the X server going away while it runs: it ends on its own, without a signal;
# - run under strace: no file opened for writing (but /dev/null) and no
#   connection other than the display's.
# Usage: faults.sh PROGRAM CLOSE-HELPER
set -euo pipefail
program=$1
close_window=$2

source "$(dirname "$0")/x_session.sh"

# A display number that nobody serves.
status=0
output=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:4242 "$program" 2>&1) || status=$?
[ "$status" -ne 0 ] && [ "$status" -lt 128 ] || fail "unreachable display: status $status"
[ "$(wc -l <<<"$output")" -eq 1 ] && [[ $output == *":4242"*xvfb-run* ]] ||
    fail "unreachable display said: $output"
echo "unreachable display: status $status, '$output'"

# The X server goes away.
start_xvfb
xvfb_pid=${pids[-1]}
start_tallaro "$program" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
click_start "$window"
kill "$xvfb_pid"
for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$program_pid" 2>/dev/null && fail "the program outlived its X server"
status=0
wait "$program_pid" || status=$?
[ "$status" -lt 128 ] || fail "the program died of signal $((status - 128)) when its X server went"
echo "X server gone: the program ended with status $status"

# What it opens and connects to. (In a sanitizer build the leak check at exit
# is left to the other runs: it traces the process itself, which strace
# already does.)
start_xvfb
env -u DBUS_SESSION_BUS_ADDRESS -u LC_ALL LANG=de_DE.UTF-8 ASAN_OPTIONS=detect_leaks=0 strace -f -qq \
    -e trace=open,openat,creat,socket,connect -o "$work/trace" "$program" 2>/dev/null &
program_pid=$!
pids+=("$program_pid")
window=$(wait_for_window '^Tallaro$')
click_start "$window"
sleep 2
close_and_expect_success "$close_window" "$window"
writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|creat\(' "$work/trace" | grep -v ' = -1 ' |
    grep -v '"/dev/null"' || true)
[ -z "$writes" ] || fail "files opened for writing:"$'\n'"$writes"
network=$(grep -E 'socket\(AF_INET' "$work/trace" || true)
[ -z "$network" ] || fail "network sockets:"$'\n'"$network"
connects=$(grep -E 'connect\(' "$work/trace" | grep -v ' = -1 ' | grep -v '/tmp/.X11-unix/X' || true)
[ -z "$connects" ] || fail "connections other than the display's:"$'\n'"$connects"
echo "PASS: $(grep -c 'open' "$work/trace") opens, none for writing; only the display connected"
