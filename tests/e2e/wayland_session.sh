#!/usr/bin/env bash
# The real program in Wayland sessions that this script makes itself:
# - weston (headless) with XWayland, WAYLAND_DISPLAY and DISPLAY both set: the
#   window goes to the X display, faint, with no opacity warning, and the
#   program says in one line that weston's window manager cannot keep it
#   above others; forced onto Wayland it runs all the same and says once what
#   it cannot do;
# - mutter (headless, GNOME's compositor) with XWayland, the pointer moved
#   through the compositor: faint at start with the pointer away, though
#   XWayland, which has not seen it yet, answers with the screen's middle,
#   on the window; opaque over the window, faint once it has gone over the
#   desktop (where XWayland no longer sees it), opaque when it comes back.
# Usage: wayland_session.sh PROGRAM CLOSE-HELPER
set -euo pipefail
program=$1
close_window=$2
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"

# Inside mutter's session (this script, run again by mutter with DISPLAY,
# WAYLAND_DISPLAY and XAUTHORITY set): drives the pointer and reads the window.
if [ "${3:-}" = --inside-mutter ]; then
    # Qt keeps the input devices it learns of while mutter's virtual pointer
    # comes and goes, and frees them at no exit; in a sanitizer build the leak
    # check is left to the other runs.
    export ASAN_OPTIONS=detect_leaks=0
    # The pointer in the top left corner, over no X11 window yet: XWayland
    # answers a query with the screen's middle, which the window covers.
    coproc pointer { /usr/bin/python3 "$here/mutter_pointer.py"; }
    pids+=("$pointer_PID")
    read -r answer <&"${pointer[0]}"
    [ "$answer" = ready ] || fail "the compositor's pointer did not answer"
    start_tallaro "$program" de_DE.UTF-8
    window=$(wait_for_window '^Tallaro$')
    read -r x y < <(client_origin "$window")
    wait_for_opacity "$window" "$faint"
    sleep 1
    [ "$(window_opacity "$window")" = "$faint" ] ||
        fail "mutter: with the pointer away at start, the window did not stay faint"
    echo "mutter: faint at start with the pointer away, where XWayland reports" \
        "$(xdotool getmouselocation), on the window"
    # Moves the pointer to a point of the screen: to the top left corner,
    # where it stops, and from there on, near the point, then onto it in two
    # small moves, as a hand moves it.
    move_to() {
        local to
        for to in "-4000 -4000" "$(($1 - 20)) $(($2 - 10))" "10 5" "10 5"; do
            echo "$to" >&"${pointer[1]}"
            read -r answer <&"${pointer[0]}"
        done
    }
    move_to $((x + 100)) $((y + 50))
    wait_for_opacity "$window" "$opaque"
    echo "mutter: opaque with the pointer over the window"
    move_to 100 900
    wait_for_opacity "$window" "$faint"
    echo "mutter: faint after the pointer went over the desktop," \
        "where XWayland still reports $(xdotool getmouselocation)"
    move_to $((x + 100)) $((y + 50))
    wait_for_opacity "$window" "$opaque"
    echo "mutter: opaque again"
    # mutter keeps windows above: nothing to say.
    [ -s "$work/program.log" ] && fail "under mutter the program said: $(cat "$work/program.log")"
    close_and_expect_success "$close_window" "$window"
    exit 0
fi

# A private runtime folder and session bus for each compositor.
xwayland_sockets
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY

weston --backend=headless-backend.so --xwayland --socket=tallaro-test --idle-time=0 \
    >"$work/weston.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do grep -q 'xserver listening on display' "$work/weston.log" && break; sleep 0.1; done
display=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' "$work/weston.log")
[ -n "$display" ] || fail "weston did not start with XWayland: $(cat "$work/weston.log")"
export WAYLAND_DISPLAY=tallaro-test DISPLAY=$display

start_tallaro "$program" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
wait_for_opacity "$window" "$faint"
grep -i opacity "$work/program.log" && fail "opacity warnings under weston"
# Weston's window manager for X11 does not support keeping windows above.
[ "$(grep -c . "$work/program.log")" -eq 1 ] &&
    grep -q 'window manager (Weston WM) cannot keep windows above' "$work/program.log" ||
    fail "under weston the program said: $(cat "$work/program.log")"
close_and_expect_success "$close_window" "$window"
echo "weston: the window on XWayland, faint, and one line said: $(cat "$work/program.log")"

QT_QPA_PLATFORM=wayland start_tallaro "$program" de_DE.UTF-8
sleep 3
kill -0 "$program_pid" 2>/dev/null || fail "forced onto Wayland, it ended: $(cat "$work/program.log")"
kill "$program_pid"
[ "$(grep -c . "$work/program.log")" -eq 1 ] && grep -q 'X11' "$work/program.log" ||
    fail "forced onto Wayland, it said: $(cat "$work/program.log")"
echo "weston, forced onto Wayland: it runs and says: $(cat "$work/program.log")"

dbus-run-session -- mutter --headless --wayland --virtual-monitor 1000x900 -- \
    bash "$0" "$program" "$close_window" --inside-mutter 2>"$work/mutter.log" ||
    fail "under mutter: $(grep -v -e '^libmutter-Message' -e '^Window manager warning' "$work/mutter.log" | tail -20)"
echo "PASS: weston and mutter, through XWayland; Wayland alone with one line said"
