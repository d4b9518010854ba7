#!/usr/bin/env bash
# The real program under a window manager: faint once loaded with the pointer
# away, opaque with the pointer over its title bar, faint again after it
# leaves and opaque when it comes back, on top of other windows and off the
# taskbar throughout, never calling for attention, and still keeping time;
# at scale 2, opaque under the pointer it opened beneath.
# Each fade reaches the X server level by level, as a compositor hears of it;
# with a compositing manager beside openbox, the program says nothing.
# Usage: hover_fade.sh PROGRAM CLOSE-HELPER OPACITY-SPY ASK-STATE STAND-IN-WM
set -euo pipefail
program=$1
close_window=$2
spy=$3
ask_state=$4
standin_wm=$5

source "$(dirname "$0")/x_session.sh"

start_xvfb
start_window_manager
start_compositor "$standin_wm"
xdotool mousemove 5 5
start_tallaro "$program" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
start_opacity_spy "$spy" "$window"

# The load's fade-in passes alpha 50 on its way up: faint is where the first
# poll's fade-out ends.
spied_fade 0 out >/dev/null
wait_for_opacity "$window" "$faint"
echo "faint after load"
state=$(xprop -id "$window" _NET_WM_STATE)
for wanted in ABOVE SKIP_TASKBAR SKIP_PAGER; do
    [[ $state == *"_NET_WM_STATE_$wanted"[,]* || $state == *"_NET_WM_STATE_$wanted" ]] ||
        fail "_NET_WM_STATE lacks $wanted: $state"
done
echo "$state"

# A call for attention, as a window manager marks a window that did not get
# the focus (which the window has not yet), is taken back. The program is
# held still while the window manager marks it: it takes the mark back
# faster than another client could look. (The stand-in window manager of
# faults.sh marks it too, whatever the release's openbox does.)
expect_attention_taken_back "$ask_state" "$window"
echo "the call for attention was taken back"

read -r x y < <(client_origin "$window")
[ "$x $y" = "388 419" ] || fail "the client area opened at $x, $y instead of its design position"

# A point on the title bar: above the client area, within the frame's top extent.
read -r _ _ top _ < <(frame_extents "$window")
[ "${top:-0}" -gt 0 ] || fail "the window has no title bar"
changes=$(spied_changes)
xdotool mousemove $((x + 20)) $((y - top / 2))
expect_fade "$changes" in
wait_for_opacity "$window" "$opaque"
echo "opaque with the pointer on the title bar, through 43 levels that reached the server one by one"

click_start "$window"
changes=$(spied_changes)
xdotool mousemove 5 5
expect_fade "$changes" out
wait_for_opacity "$window" "$faint"
echo "faint again after the pointer left, through 41 levels one by one"

# The meter runs on while the window stands faint: a tick comes, however
# long the steps before took.
faint_caption=$(window_caption "$window")  # "Tallaro" before the first tick
caption=$faint_caption
for _ in $(seq 50); do
    caption=$(window_caption "$window")
    [ "$caption" != "$faint_caption" ] && break
    sleep 0.1
done
[[ $caption =~ ^100,[0-9]{2}\ -\ Tallaro$ && ($caption > $faint_caption || $faint_caption == Tallaro) ]] ||
    fail "the meter did not run while faint: '$faint_caption', then '$caption'"
echo "the meter ran while faint: $faint_caption, then $caption"

changes=$(spied_changes)
xdotool mousemove $((x + 100)) $((y + 50))
expect_fade "$changes" in
wait_for_opacity "$window" "$opaque"
echo "opaque again when the pointer came back, through 43 levels one by one"


# The moments fades begin: the poll's marks, 50 ms apart counted from the
# moment it was last switched on, however long it sleeps between them. From
# the pointer's move into the window (at the server's time) to the
# fade-in's first level there: within one interval and a margin, and
# spread over the interval, not at once.
"$spy" "$window" --pointer >"$work/crossings" 2>>"$work/spy.log" &
pids+=($!)
for _ in $(seq 100); do grep -qx ready "$work/crossings" && break; sleep 0.05; done
crossings=10
for _ in $(seq "$crossings"); do
    for way in out in; do
        sleep "0.$((RANDOM % 90 + 10))"  # anywhere in the poll's count
        changes=$(spied_changes)
        if [ "$way" = out ]; then xdotool mousemove 5 5; else xdotool mousemove $((x + 100)) $((y + 50)); fi
        spied_fade "$changes" "$way" >/dev/null
    done
done
delays=$(awk '$2 == "pointer" { moved = $1; inside = $3 > 5; next }
    $1 ~ /^[0-9]+$/ && moved != "" { if (inside) print $1 - moved; moved = "" }' "$work/crossings" | sort -n)
[ "$(grep -c . <<<"$delays")" -eq "$crossings" ] ||
    fail "of $crossings moves into the window, $(grep -c . <<<"$delays") began a fade: $(cat "$work/crossings")"
# A machine busy with other work may run the program late now and then:
# most fades begin within the interval and a margin, none long after.
read -r shortest longest late < <(paste -sd ' ' <<<"$delays" |
    awk '{for (i = 1; i <= NF; i++) late += ($i > 65); print $1, $NF, late + 0}')
[ "$late" -le 2 ] && [ "$longest" -le 300 ] ||
    fail "fades began late after the pointer came in (delays: $(paste -sd ' ' <<<"$delays") ms)"
[ "$longest" -ge 20 ] && [ $((longest - shortest)) -ge 15 ] ||
    fail "the fades began at once, not at the poll's marks (delays: $(paste -sd ' ' <<<"$delays") ms)"
echo "fades begin at the poll's marks: $(paste -sd ' ' <<<"$delays") ms after the pointer came in"

close_and_expect_success "$close_window" "$window"
[ -s "$work/program.log" ] && fail "under openbox the program said: $(cat "$work/program.log")"

# On a screen at scale 2, a window that opens under the resting pointer
# (the design place is off the screen there, so it opens in the middle)
# stays opaque: the pointer's place in device pixels is read as such.
xdotool mousemove 640 512
QT_SCALE_FACTOR=2 start_tallaro "$program" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
wait_for_opacity "$window" "$opaque"
sleep 1  # polls enough to have faded it out
[ "$(window_opacity "$window")" = "$opaque" ] ||
    fail "at scale 2 the window under the pointer turned faint: $(window_opacity "$window")"
echo "at scale 2, opaque under the pointer it opened beneath"
close_and_expect_success "$close_window" "$window"
echo "PASS: faint, opaque, faint and opaque again, and the program ended with status 0"
