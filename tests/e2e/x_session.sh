# Sourced helpers: an X server of one's own and the Tallaro window in it.
# Sourcing makes a scratch folder ("work") and ends everything started
# through these helpers ("pids") when the script exits.

fail() { echo "FAIL: $*" >&2; exit 1; }

# Ends what was started, the newest first, so that no client outlives its server.
stop_all() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    rm -rf "$work"
}

work=$(mktemp -d)
pids=()
trap stop_all EXIT

# A session's runtime folder, as a desktop gives its programs (Qt says in a
# line of its own when there is none).
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    export XDG_RUNTIME_DIR="$work/runtime"
    mkdir -m 700 "$XDG_RUNTIME_DIR"
fi

# A session bus address that leads nowhere, for a program under watch: it
# meets no bus of the developer's session, and with none set libdbus would
# start a bus of its own through dbus-launch (dbus-x11, as desktops have
# it), which outlives the program.
readonly no_session_bus="unix:path=$work/no-session-bus"

# The window's opacity property faint (alpha 50 of 255, as 50 x 0x01010101)
# and opaque.
readonly faint=842150450
readonly opaque=4294967295

# XWayland puts its sockets in /tmp/.X11-unix, which must be writable by all
# as usual; a fresh root may lack it.
xwayland_sockets() {
    if [ "$(stat -c %a /tmp/.X11-unix 2>/dev/null || echo none)" != 1777 ] && [ "$(id -u)" -eq 0 ]; then
        mkdir -p /tmp/.X11-unix
        chmod 1777 /tmp/.X11-unix
    fi
}

# Starts Xvfb on a free display and exports DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    pids+=($!)
    for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
    [ -s "$work/display" ] || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$(cat "$work/display")"
}

# Prints the id of the program's visible window whose caption matches,
# waiting up to 10 s. (A window manager's frame may carry the same caption:
# mutter 48's frames do.)
wait_for_window() {
    local found="" id
    for _ in $(seq 100); do
        for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
            [[ $(xprop -id "$id" WM_CLASS 2>/dev/null) == *'"tallaro", "Tallaro"' ]] && found=$id && break
        done
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

# Starts the program under a locale (LANG) and sets program_pid.
start_tallaro() {
    env -u LC_ALL -u LC_NUMERIC -u LANGUAGE LANG="$2" "$1" 2>"$work/program.log" &
    program_pid=$!
    pids+=("$program_pid")
}

# Clicks a control of the window at a point of its client area.
click_at() {
    xdotool mousemove --window "$1" "$2" "$3" click 1
}

# The centres of the buttons, from the window's design.
click_start() { click_at "$1" 194 12; }
click_persons_plus() { click_at "$1" 160 7; }

# Waits for the caption to match a pattern, up to 15 s; prints the last caption seen.
wait_for_caption() {
    local caption=""
    for _ in $(seq 150); do
        caption=$(window_caption "$1")
        [[ $caption =~ $2 ]] && break
        sleep 0.1
    done
    echo "$caption"
}

# Closes the window as its close box does and expects the program to end with status 0.
close_and_expect_success() {
    "$1" "$2"
    wait_for_program_end "after its window was closed"
    [ "$program_status" -eq 0 ] || fail "exit status $program_status: $(cat "$work/program.log")"
}

# Waits up to 10 s for the program to end and sets program_status to its
# exit status; fails, saying what should have ended it, when it still runs.
wait_for_program_end() {
    for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$program_pid" 2>/dev/null && fail "the program still runs $1"
    program_status=0
    wait "$program_pid" || program_status=$?
}

# Has the window manager mark the window with a call for attention, the
# program held still meanwhile so that the mark is seen before the program
# takes it back, and requires that the program then takes it back.
# Usage: expect_attention_taken_back ASK-STATE WINDOW
expect_attention_taken_back() {
    local state=""
    kill -STOP "$program_pid"
    "$1" "$2" add _NET_WM_STATE_DEMANDS_ATTENTION
    for _ in $(seq 50); do
        state=$(xprop -id "$2" _NET_WM_STATE)
        [[ $state == *DEMANDS_ATTENTION* ]] && break
        sleep 0.1
    done
    kill -CONT "$program_pid"
    [[ $state == *DEMANDS_ATTENTION* ]] || fail "the window manager never marked the window: $state"
    for _ in $(seq 50); do
        state=$(xprop -id "$2" _NET_WM_STATE)
        [[ $state == *DEMANDS_ATTENTION* ]] || return 0
        sleep 0.1
    done
    fail "the call for attention stayed: $state"
}

# Starts the openbox window manager on the display and waits until it manages.
start_window_manager() {
    openbox --sm-disable >"$work/wm.log" 2>&1 &
    pids+=($!)
    for _ in $(seq 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return 0
        sleep 0.1
    done
    fail "the window manager did not start: $(cat "$work/wm.log")"
}

# The readings of the screen's compositing manager: a stand-in that owns
# _NET_WM_CM_S0 as one does (it draws nothing), started and waited for, and
# ended, which lets the selection go. The line the program says without one.
# Usage: start_compositor STAND-IN-WM; stop_compositor
start_compositor() {
    "$1" - _NET_WM_CM_S0 >"$work/compositor.out" &
    compositor_pid=$!
    pids+=("$compositor_pid")
    for _ in $(seq 50); do grep -qx ready "$work/compositor.out" && return 0; sleep 0.1; done
    fail "the stand-in compositing manager did not start"
}
stop_compositor() {
    kill "$compositor_pid"
    wait "$compositor_pid" 2>/dev/null || true
}
readonly no_compositor="tallaro: no compositing manager runs, so the window cannot fade; turn on the window manager's compositor or start one, such as picom; the meter works all the same"

# Prints the window's opacity property as a number; 4294967295 where it is
# absent, which is how an opaque window carries none.
window_opacity() {
    local value
    value=$(xprop -id "$1" _NET_WM_WINDOW_OPACITY | sed -n 's/^_NET_WM_WINDOW_OPACITY(CARDINAL) = \([0-9]*\)$/\1/p')
    echo "${value:-4294967295}"
}

# Waits for the window's opacity property to hold a value: up to 10 s, or up
# to the given tenths of a second.
wait_for_opacity() {
    local value="" deadline=$(($(date +%s%N) + ${3:-100} * 100000000))
    while [ "$(date +%s%N)" -lt "$deadline" ]; do
        value=$(window_opacity "$1")
        [ "$value" = "$2" ] && return 0
        sleep 0.1
    done
    fail "opacity of the window: $value, expected $2 (pointer: $(xdotool getmouselocation);" \
        "client at $(client_origin "$1"); frame extents $(frame_extents "$1"))"
}

# Prints the client area's left and top on the screen, frame excluded.
client_origin() {
    xwininfo -id "$1" | sed -n 's/^ *Absolute upper-left [XY]: *\(-\?[0-9]*\)$/\1/p' | paste -sd ' '
}

# Prints the frame's extents: left, right, top and bottom.
frame_extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g'
}

# Starts x_opacity_spy on a window; its lines ("TIME VALUE", the server's
# milliseconds) go to $work/opacity. Waits until it records.
start_opacity_spy() {
    "$1" "$2" >"$work/opacity" 2>"$work/spy.log" &
    pids+=($!)
    for _ in $(seq 100); do grep -qx ready "$work/opacity" && return 0; sleep 0.05; done
    fail "the opacity spy did not start: $(cat "$work/spy.log")"
}

# Prints how many changes of the opacity the spy has recorded.
spied_changes() {
    awk '$0 != "ready" {n++} END {print n + 0}' "$work/opacity"
}

# Prints the changes the spy recorded after the first N.
spied_after() {
    awk -v n="$1" '$0 != "ready" && ++i > n' "$work/opacity"
}

# The opacity values of a fade, one a line, as the property holds them
# (level x 0x01010101): in, from faint, 45 to 255; out, from opaque, 250 to 50
# (the fade's first level, 260, is none and its 255 changes nothing).
fade_values() {
    if [ "$1" = in ]; then seq 45 5 255; else seq 250 -5 50; fi | awk '{printf "%.0f\n", $1 * 16843009}'
}

# Prints opacity values as levels of 255.
levels_of() {
    awk '{for (i = 1; i <= NF; i++) printf "%s%s", (i > 1 ? " " : ""), ($i % 16843009 ? $i : $i / 16843009)}' <<<"$1"
}

# Waits up to 10 s for the changes recorded after the first N to end as a
# fade in or out ends, with its last two levels; prints their values.
spied_fade() {
    local ending seen
    ending=$(fade_values "$2" | tail -n 2 | paste -sd ' ')
    for _ in $(seq 100); do
        seen=$(spied_after "$1" | cut -d ' ' -f 2 | paste -sd ' ')
        [[ " $seen" == *" $ending" ]] && break
        sleep 0.1
    done
    echo "$seen"
}

# Requires of the changes recorded after the first N, once they end as a fade
# ends: every level of the fade in its order and nothing else, each reaching
# the server on its own, at least 4 ms after the one before by the server's
# clock (the program pauses 10 ms between levels; requests sent together
# arrive within the same millisecond or the next). One pair may come closer:
# a server held up for a moment on a busy machine reads two requests at
# once, whereas levels sent in pairs, or with no pause, make twenty and more.
expect_fade() {
    local expected seen together
    expected=$(fade_values "$2" | paste -sd ' ')
    seen=$(spied_fade "$1" "$2")
    [ "$seen" = "$expected" ] ||
        fail "fade $2: the server saw the levels $(levels_of "$seen") instead of $(levels_of "$expected")"
    together=$(spied_after "$1" | awk 'NR > 1 && $1 - t < 4 {
            printf " %d and %d within %d ms;", v / 16843009, $2 / 16843009, $1 - t }
        { t = $1; v = $2 }')
    [ "$(grep -o ';' <<<"$together" | wc -l)" -le 1 ] ||
        fail "fade $2: levels that reached the server together:$together"
}
