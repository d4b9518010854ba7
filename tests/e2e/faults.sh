#!/usr/bin/env bash
# The program under faults and under watch:
# - a display that cannot be reached: one clear line, a failure status, no crash;
# - the X server going away while it runs: it ends on its own, without a signal;
# - run under strace: no file opened for writing (but /dev/null), no
#   connection other than the display's, while it stands faint and stopped
#   no system call but a wait, which nothing ends, and while it runs nothing
#   received from the X server; with no window manager, opaque under the
#   pointer and faint once it has gone;
# - a window manager that cannot keep windows above: one line that names it,
#   and the meter runs; KWin in a Wayland session: one line that it tells
#   of no glide off the window; one that can, or one that has gone: nothing said,
#   under any locale; a call for attention either puts on the window taken
#   back, before "Start" and once the caption has ticked; a work area that
#   a dock and a panel leave without the window's design place: it opens in
#   the middle of the work area;
# - no compositing manager (none owns _NET_WM_CM_S0): one line that says
#   the window cannot fade; one from the start, or one that comes half a
#   second after the window: nothing said, and the window at its level.
# Usage: faults.sh PROGRAM CLOSE-HELPER STAND-IN-WM ASK-STATE
set -euo pipefail
program=$1
close_window=$2
standin_wm=$3
ask_state=$4

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
wait_for_program_end "after its X server went"
status=$program_status
[ "$status" -lt 128 ] || fail "the program died of signal $((status - 128)) when its X server went"
echo "X server gone: the program ended with status $status"

# What it opens and connects to, and what it asks of the kernel while idle.
# (In a sanitizer build the leak check at exit is left to the other runs: it
# traces the process itself, which strace already does.)
start_xvfb
xdotool mousemove 5 5
env -u LC_ALL DBUS_SESSION_BUS_ADDRESS="$no_session_bus" LANG=de_DE.UTF-8 ASAN_OPTIONS=detect_leaks=0 strace -f -qq -ttt \
    -e 'trace=!restart_syscall' -o "$work/trace" "$program" 2>/dev/null &
program_pid=$!
pids+=("$program_pid")
window=$(wait_for_window '^Tallaro$')
sleep 2  # faded out
idle_from=$(date +%s.%N)
sleep 2
idle_to=$(date +%s.%N)
# A line starts with the thread's id once there are several, then the time.
# Faint and stopped, the poll sleeps: the program waits, and wakes for
# nothing (a poll every 50 ms would wake it 40 times).
idle_calls=$(awk -v from="$idle_from" -v to="$idle_to" \
    '{t = ($1 ~ /\./) ? $1 : $2} t + 0 > from + 0 && t + 0 < to + 0' "$work/trace")
wake_ups=$(grep -c 'poll' <<<"$idle_calls" || true)
[ "$wake_ups" -le 2 ] || fail "$wake_ups waits ended in 2 s, faint and stopped:"$'\n'"$(head -5 <<<"$idle_calls")"
idle_calls=$(grep -v 'poll' <<<"$idle_calls" || true)
[ -z "$idle_calls" ] || fail "system calls while faint and stopped:"$'\n'"$(head -5 <<<"$idle_calls")"
# Running, with the pointer away: the tick's caption and repaint bring
# nothing back from the X server (Qt's connection does not hear its own
# caption), so nothing wakes Qt's reader thread.
# With no window manager, as in a kiosk, the window hears the pointer's
# crossings itself: opaque under it, faint again once it has gone.
click_start "$window"
wait_for_opacity "$window" "$opaque"
xdotool mousemove 5 5
wait_for_opacity "$window" "$faint"
running_from=$(date +%s.%N)
sleep 2
running_to=$(date +%s.%N)
received=$(awk -v from="$running_from" -v to="$running_to" \
    '{t = ($1 ~ /\./) ? $1 : $2} t + 0 > from + 0 && t + 0 < to + 0 && /recvmsg/ && / = [1-9][0-9]*$/' \
    "$work/trace")
[ -z "$received" ] || fail "received from the X server while running:"$'\n'"$(head -5 <<<"$received")"
close_and_expect_success "$close_window" "$window"
grep -E '^([0-9]+ +)?[0-9]+\.[0-9]+ (open|openat|creat|socket|connect)\(' "$work/trace" >"$work/opens" ||
    true
writes=$(grep -E 'O_WRONLY|O_RDWR|O_CREAT|creat\(' "$work/opens" | grep -v ' = -1 ' |
    grep -v '"/dev/null"' || true)
[ -z "$writes" ] || fail "files opened for writing:"$'\n'"$writes"
network=$(grep -E 'socket\(AF_INET' "$work/opens" || true)
[ -z "$network" ] || fail "network sockets:"$'\n'"$network"
connects=$(grep -E 'connect\(' "$work/opens" | grep -v ' = -1 ' | grep -v '/tmp/.X11-unix/X' || true)
[ -z "$connects" ] || fail "connections other than the display's:"$'\n'"$connects"
echo "strace: $(grep -c 'open' "$work/opens") opens, none for writing; only the display connected; no call while idle; nothing received while running"

# Window managers that announce themselves, with what they support, and
# locales the program starts under. The second name holds a line break,
# which the program's line must not carry. Under a locale whose characters
# are not UTF-8 the program keeps that locale's numbers and says nothing
# more. Each stand-in also puts a call for attention on the window when
# asked, as a window manager may, and the program must take it back.
start_xvfb
wm_states="_NET_SUPPORTED _NET_SUPPORTING_WM_CHECK _NET_WM_STATE _NET_WM_STATE_SKIP_TASKBAR _NET_WM_STATE_SKIP_PAGER"
latin1=""
mkdir "$work/locales"
if localedef -i de_DE -f ISO-8859-1 "$work/locales/de_DE.ISO-8859-1" 2>/dev/null; then
    latin1="LOCPATH=$work/locales LC_ALL=de_DE.ISO-8859-1"
fi
above_line="tallaro: the window manager (stand-in?wm) cannot keep windows above others, so other windows may cover this one; the meter works all the same"
kwin_line="tallaro: KWin on Wayland does not tell X11 windows when the pointer glides off them, so this one may stay opaque until the pointer crosses another X11 window; it fades in the Plasma (X11) session, or natively with a package built with the Wayland road, such as Debian 13's"
while IFS='|' read -r case name above locale caption said; do
    [ "$locale" = latin1 ] && { [ -n "$latin1" ] || continue; locale=$latin1; }
    said=${said//ABOVE/$above_line}
    said=${said//KWIN/$kwin_line}
    said=$(printf '%b' "${said//NONE/$no_compositor}")
    if [ "$case" != gone ]; then
        # shellcheck disable=SC2086 # the states are words
        "$standin_wm" "$(printf "$name")" $wm_states $above >"$work/wm.out" &
        wm_pid=$!
        pids+=("$wm_pid")
        for _ in $(seq 50); do grep -qx ready "$work/wm.out" && break; sleep 0.1; done
    fi
    # shellcheck disable=SC2086 # the locale's variables are words
    env -u LC_ALL -u LC_NUMERIC -u LANGUAGE -u LANG $locale "$program" 2>"$work/program.log" &
    program_pid=$!
    pids+=("$program_pid")
    window=$(wait_for_window '^Tallaro$')
    if [ "$case" = "compositor late" ]; then
        # As one started with the session may come, well within the second
        # the program waits before it speaks.
        sleep 0.5
        start_compositor "$standin_wm"
        xdotool mousemove 5 5
        wait_for_opacity "$window" "$faint"
    fi
    if [[ $above =~ _NET_WORKAREA=([0-9]+),([0-9]+),([0-9]+),([0-9]+) ]]; then
        # Its design place is not within the work area: in the middle of it.
        read -r x y < <(client_origin "$window")
        middle="$((BASH_REMATCH[1] + (BASH_REMATCH[3] - 217) / 2)) $((BASH_REMATCH[2] + (BASH_REMATCH[4] - 107) / 2))"
        [ "$x $y" = "$middle" ] || fail "beside a dock and under a panel the window opened at $x $y, not at $middle"
    fi
    [ "$case" = gone ] || expect_attention_taken_back "$ask_state" "$window"
    click_start "$window"
    seen=$(wait_for_caption "$window" "$caption")
    [[ $seen =~ $caption ]] || fail "$case ($locale): the meter did not run: '$seen'"
    # The window manager's marks are still heard once the caption has ticked.
    [ "$case" = gone ] || expect_attention_taken_back "$ask_state" "$window"
    close_and_expect_success "$close_window" "$window"
    [ "$(cat "$work/program.log")" = "$said" ] ||
        fail "$case ($locale): the program said '$(cat "$work/program.log")' instead of '$said'"
    echo "$case, $locale: said '$(cat "$work/program.log")', and the meter ran${wm_pid:+; a call for attention taken back}"
    # The window manager goes; its announcement stays behind on the root.
    [ "$case" = gone ] || { kill "$wm_pid"; wait "$wm_pid" 2>/dev/null || true; }
    [ "$case" = "compositor late" ] && stop_compositor
    wm_pid=""
done <<'CASES'
without above|stand-in\nwm|_NET_WM_CM_S0|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|ABOVE
with above|stand-in wm|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|
no compositor|stand-in wm|_NET_WM_STATE_ABOVE|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|NONE
neither|stand-in\nwm||LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|ABOVE\nNONE
compositor late|stand-in wm|_NET_WM_STATE_ABOVE|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|
beside a dock|stand-in wm|_NET_WM_STATE_ABOVE _NET_WORKAREA=500,32,780,992 _NET_WM_CM_S0|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|
with above|stand-in wm|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|LC_ALL=C|^100\.0[1-9] - Tallaro$|
with above|stand-in wm|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|LANG=C|^100\.0[1-9] - Tallaro$|
with above|stand-in wm|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|latin1|^100,0[1-9] - Tallaro$|
gone|||LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|NONE
kwin on wayland|KWin|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|LANG=de_DE.UTF-8 WAYLAND_DISPLAY=wayland-nowhere|^100,0[1-9] - Tallaro$|KWIN
kwin on x11|KWin|_NET_WM_STATE_ABOVE _NET_WM_CM_S0|LANG=de_DE.UTF-8|^100,0[1-9] - Tallaro$|
CASES
echo "PASS: faults handled, and what the desktop cannot give said once"
