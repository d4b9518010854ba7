#!/usr/bin/env bash
# The real program under each X11 window manager that Debian offers, started
# as its desktop starts it, on a screen read as the user sees it (one
# GetImage of the root, x_screen_pixels): faint with the pointer away and
# opaque with it over the title bar where a compositing manager draws the
# window's opacity, opaque throughout where none does; above a newer window
# that has the focus; and the lines it says. Each row says what it must see;
# a row that sees otherwise fails. Not part of the test command
# (scripts/desktops.sh installs the window managers and runs it).
# Usage: x11_desktops.sh PROGRAM SCREEN-PIXELS [NAMES]   (NAMES: those of the
#   rows below, with commas; all by default)
set -euo pipefail
program=$1
pixels=$2
only=",${3:-all},"
source "$(dirname "$0")/x_session.sh"

# The window's background, and a point of it between the labels.
readonly window_colour=239
readonly spot_x=30 spot_y=24
# fluxbox and IceWM write their settings at their first start; i3 without
# a configuration asks for one.
export HOME=$work/home
mkdir "$HOME"
printf 'font pango:monospace 8\nfor_window [class="XLogo"] floating enable\n' >"$HOME/i3.config"

# The green of a screen point as the user sees it.
green_at() { "$pixels" "$1" "$2" | awk '{print $2}'; }

# Requires the point's green, as the screen shows it, to be within 3 of a value.
expect_green() {
    local seen
    seen=$(green_at "$1" "$2")
    [ $((seen - $3)) -le 3 ] && [ $(($3 - seen)) -le 3 ] || fail "$row: $4: green $seen, not $3"
}

measure() {  # measure NAME PACKAGE WM COMPOSITOR FADES ABOVE SAID
    local name=$1 package=$2 wm=$3 compositor=$4 fades=$5 above=$6 said=$7
    local x y top root away newer first=${#pids[@]} i
    row="$name ($package $(dpkg-query -W -f '${Version}' "$package"))"
    start_xvfb
    dbus-run-session -- bash -c "$wm" >"$work/wm.log" 2>&1 &
    pids+=($!)
    sleep 2
    if [ -n "$compositor" ] && [[ $compositor != later* ]]; then
        $compositor >"$work/compositor.log" 2>&1 &
        pids+=($!)
        sleep 1
    fi
    xdotool mousemove 5 5
    start_tallaro "$program" de_DE.UTF-8
    window=$(wait_for_window '^Tallaro$')
    # One that comes after the window shows it at the level it stands at.
    if [[ $compositor == later* ]]; then
        ${compositor#later } >"$work/compositor.log" 2>&1 &
        pids+=($!)
    fi
    sleep 2  # the load's fades
    read -r x y < <(client_origin "$window")
    read -r _ _ top _ < <(frame_extents "$window" 2>/dev/null || true)
    [[ ${top:-} =~ ^[0-9]+$ ]] && [ "$top" -gt 2 ] || top=6
    # The desktop beside the window, on the spot's row (GNOME's shades from
    # top to bottom), as the compositor or the server drew it.
    root=$(green_at $((x - 40)) $((y + spot_y)))
    away=$(((root * 205 + window_colour * 50 + 127) / 255))
    if [ "$fades" = yes ]; then
        expect_green $((x + spot_x)) $((y + spot_y)) "$away" "faint with the pointer away"
    else
        expect_green $((x + spot_x)) $((y + spot_y)) "$window_colour" "opaque with the pointer away"
    fi
    xdotool mousemove $((x + 60)) $((y - top / 2))
    sleep 1.5
    expect_green $((x + spot_x)) $((y + spot_y)) "$window_colour" "opaque over the title bar"
    xdotool mousemove 5 5
    sleep 1.5
    # A newer window, green throughout, over the same place and beyond it.
    xlogo -fg '#00ff00' -bg '#00ff00' -geometry "300x200+$((x - 20))+$((y - 20))" >/dev/null 2>&1 &
    pids+=($!)
    sleep 1
    # Activated as a user does: a click on it, beside the window.
    xdotool mousemove $((x + 250)) $((y + 160)) click 1
    xdotool mousemove 5 5
    sleep 1.5
    newer=$(green_at $((x + spot_x)) $((y + spot_y)))
    if [ "$above" = yes ]; then
        [ "$newer" != 255 ] || fail "$row: covered by a newer window"
    else
        [ "$newer" = 255 ] || fail "$row: above a newer window, which it was to be not (green $newer)"
    fi
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    said=${said//ABOVE/tallaro: the window manager*cannot keep windows above others*}
    said=${said//NONE/$no_compositor}
    # shellcheck disable=SC2053 # the expected line is a pattern
    [[ "$(cat "$work/program.log")" == $said ]] || fail "$row: said '$(cat "$work/program.log")'"
    echo "$row: fades $fades, above a newer window $above, said '$(cat "$work/program.log")'"
    # What this row started ends, the newest first.
    for ((i = ${#pids[@]} - 1; i >= first; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
    pids=("${pids[@]:0:first}")
    sleep 0.5
}

# name|package|window manager, as its desktop starts it|compositing manager
# ("later": started once the window has come)|fades|above|what it says
while IFS='|' read -r name package wm compositor fades above said; do
    [[ $only == *,all,* || $only == *,$name,* ]] || continue
    measure "$name" "$package" "$wm" "$compositor" "$fades" "$above" "$said"
done <<'ROWS'
xfce|xfwm4|xfwm4||yes|yes|
xfce-compositor-off|xfwm4|xfwm4 --compositor=off||no|yes|NONE
mate|marco|marco||yes|yes|
cinnamon|muffin|muffin||yes|yes|
gnome-xorg|mutter|mutter --x11 --replace||yes|yes|
plasma-x11|kwin-x11|kwin_x11 --replace||yes|yes|
openbox|openbox|openbox --sm-disable||no|yes|NONE
openbox-picom|picom|openbox --sm-disable|picom|yes|yes|
openbox-picom-later|picom|openbox --sm-disable|later picom|yes|yes|
i3-picom|i3-wm|i3 -c "$HOME/i3.config"|picom|yes|yes|ABOVE
icewm|icewm|icewm||no|yes|NONE
icewm-picom|picom|icewm|picom|yes|yes|
fluxbox|fluxbox|fluxbox||no|yes|NONE
fluxbox-picom|picom|fluxbox|picom|no|yes|
ROWS
echo "PASS: each window manager as the screen shows it"
