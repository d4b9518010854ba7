# Sourced helpers: an X server of one's own and the Tallaro window in it.
# The caller sets "work" to a scratch folder and "pids" to (), and traps stop_all on EXIT.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Ends what was started, the newest first, so that no client outlives its server.
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    rm -rf "$work"
}

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# Prints the id of the visible window whose caption matches, waiting up to 10 s.
wait_for_window() {
    local found=""
    for _ in $(seq 100); do
        found=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1) || true
        [ -n "$found" ] && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "no window named '$1' appeared"
    echo "$found"
}

# Prints a window's caption as the X server holds it.
window_caption() {
    xprop -id "$1" _NET_WM_NAME | sed -n 's/^_NET_WM_NAME(UTF8_STRING) = "\(.*\)"$/\1/p'
}

# Clicks "Start", 176 px from the left and 4 px from the top of the client area, 37 x 17 px.
click_start() {
    xdotool mousemove --window "$1" 194 12 click 1
}
