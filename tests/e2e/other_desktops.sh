#!/usr/bin/env bash
# The real program in two more Wayland sessions that this script makes, to
# measure what the README says of them (not part of the test command):
# - KDE's KWin (headless, with XWayland): kept above newer windows, off
#   taskbar and pager, at the opacity the program sets, as KWin itself
#   reports; opaque with the pointer over the client area, faint over KWin's
#   own title bar, another X11 window, a native Wayland window, the desktop;
# - sway (headless, with XWayland): the program names its window manager in
#   one line and runs; the window's state is sway's own, its pixels are the
#   same faint or opaque, and a newer window covers it.
# scripts/desktops.sh installs what it needs and runs it.
# Usage: other_desktops.sh PROGRAM BARE-WINDOW [--inside-kwin|--inside-sway]
set -euo pipefail
program=$1
bare=$2
here=$(cd "$(dirname "$0")" && pwd)

source "$here/x_session.sh"

readonly screen=1280x1024

# The compositor's pointer, moved to a point of the screen.
start_pointer() {
    coproc pointer { "$1" "$here/wayland_pointer.py" "$screen"; }
    pids+=("$pointer_PID")
    read -r answer <&"${pointer[0]}"
    [ "$answer" = ready ] || fail "the compositor's pointer did not answer"
}
move_to() {
    echo "$1 $2" >&"${pointer[1]}"
    read -r answer <&"${pointer[0]}"
    sleep 1.5  # a poll and a fade
}
expect_opacity() {
    local seen
    seen=$(window_opacity "$window")
    [ "$seen" = "$1" ] || fail "$2: opacity $seen instead of $1 (X pointer $(xdotool getmouselocation))"
    echo "$2: $([ "$1" = "$opaque" ] && echo opaque || echo faint)"
}
bare_windows() { xdotool search --class '^bare_window$' 2>/dev/null | wc -l; }

if [ "${3:-}" = --inside-kwin ]; then
    exec >>"$OUT/kwin.out" 2>&1
    probes=0
    # KWin's own view of the windows, one line each, from a script it runs.
    kwin_windows() {
        local id
        probes=$((probes + 1))
        id=$(dbus-send --session --print-reply --dest=org.kde.KWin /Scripting \
            org.kde.kwin.Scripting.loadScript string:"$here/kwin_windows.js" string:"look$probes" |
            awk '/int32/ {print $2}')
        # KWin 6 keeps a loaded script under /Scripting/Script<id>, KWin 5 under /<id>.
        dbus-send --session --print-reply --dest=org.kde.KWin "/Scripting/Script$id" org.kde.kwin.Script.run \
            >/dev/null 2>&1 ||
            dbus-send --session --print-reply --dest=org.kde.KWin "/$id" org.kde.kwin.Script.run >/dev/null
        sleep 0.5
        grep -a 'WINDOW ' "$OUT/kwin.log" | sed 's/.*WINDOW //' | tac | awk -F'|' '!seen[$5]++' >"$work/windows"
    }
    # A field of the window with a caption, or of the process given (KWin 5
    # numbers equal captions, "Bare <2>"; KWin 6 does not).
    kwin_holds() { awk -F'|' -v c="$1" -v f="$2" '$1 == c {print $f}' "$work/windows" | head -1; }
    kwin_holds_of() { awk -F'|' -v p="$1" -v f="$2" '$5 == p {print $f}' "$work/windows" | head -1; }

    start_tallaro "$program" de_DE.UTF-8
    window=$(wait_for_window '^Tallaro$')
    wait_for_opacity "$window" "$faint"
    [ -s "$work/program.log" ] && fail "under KWin the program said: $(cat "$work/program.log")"
    # The load's fade-in passes alpha 50 on its way up: KWin is asked until
    # the fade-out that follows it has ended there too.
    for _ in $(seq 10); do
        kwin_windows
        [[ $(kwin_holds Tallaro 2) == opacity=0.196* ]] && break
    done
    [ "$(kwin_holds Tallaro 2)" = "opacity=0.196 above=true skipTaskbar=true skipPager=true" ] ||
        fail "KWin holds the window as: $(kwin_holds Tallaro 2)"
    echo "KWin: kept above, off taskbar and pager, at opacity 0.196 (alpha 50); nothing said"
    read -r x y < <(client_origin "$window")
    read -r _ _ top _ < <(frame_extents "$window")
    [ "${top:-0}" -gt 0 ] || fail "KWin drew no title bar"
    start_pointer "$POINTER_PROGRAM"
    move_to $((x + 100)) $((y + 50))
    expect_opacity "$opaque" "KWin: pointer over the client area"
    kwin_windows
    [[ $(kwin_holds Tallaro 2) == opacity=1.000* ]] || fail "KWin holds it as: $(kwin_holds Tallaro 2)"
    move_to $((x + 20)) $((y - top / 2))
    expect_opacity "$faint" "KWin: pointer on the title bar, which KWin draws"
    move_to $((x + 100)) $((y + 50))
    expect_opacity "$opaque" "KWin: back over the client area"

    # A newer X11 window over a part of it, then a newer native Wayland one.
    QT_QPA_PLATFORM=xcb "$bare" -geometry 217x107+$((x + 150))+$((y + 60)) 2>/dev/null &
    pids+=($!)
    bare_x11=$!
    sleep 2
    move_to $((x + 300)) $((y + 140))
    expect_opacity "$faint" "KWin: pointer on a newer X11 window"
    move_to $((x + 100)) $((y + 50))
    expect_opacity "$opaque" "KWin: back over the client area"
    before=$(bare_windows)
    QT_QPA_PLATFORM=wayland "$bare" 2>/dev/null &
    pids+=($!)
    bare_wayland=$!
    sleep 2
    [ "$(bare_windows)" = "$before" ] || fail "the second window went to XWayland"
    kwin_windows
    read -r _ _ right bottom < <(kwin_holds_of "$bare_wayland" 4)
    move_to $((right - 20)) $((bottom - 20))
    expect_opacity "$faint" "KWin: pointer on a newer native Wayland window"
    move_to 1200 60
    expect_opacity "$faint" "KWin: pointer on the desktop"
    kwin_windows
    for other in "$bare_x11" "$bare_wayland"; do
        [ "$(kwin_holds Tallaro 3)" -gt "$(kwin_holds_of "$other" 3)" ] ||
            fail "KWin stacks the window at $(kwin_holds Tallaro 3), a newer one at $(kwin_holds_of "$other" 3)"
    done
    echo "KWin: stacked above both newer windows"
    echo PASS >"$OUT/kwin.status"
    exit 0
fi

# Pure red pixels, the amount's digits, in a rectangle of a screenshot
# (LEFT TOP WIDTH HEIGHT), as grim takes it from the compositor.
red_pixels() {
    grim -g "$1,$2 $3x$4" -t ppm - | /usr/bin/python3 -c '
import re, sys
data = sys.stdin.buffer.read()
pixels = data[re.match(rb"P6\s+\d+\s+\d+\s+\d+\s", data).end():]
print(sum(1 for i in range(0, len(pixels) - 2, 3)
          if pixels[i] > 200 and pixels[i + 1] < 60 and pixels[i + 2] < 60))'
}

if [ "${3:-}" = --inside-sway ]; then
    exec >>"$OUT/sway.out" 2>&1
    start_tallaro "$program" de_DE.UTF-8
    window=$(wait_for_window '^Tallaro$')
    sleep 2
    said=$(cat "$work/program.log")
    [ "$(grep -c . <<<"$said")" -eq 1 ] && [[ $said == *"(wlroots wm) cannot keep windows above"* ]] ||
        fail "under sway the program said: $said"
    echo "sway: the program said: $said"
    state=$(xprop -id "$window" _NET_WM_STATE)
    [[ $state == *ABOVE* || $state == *SKIP_TASKBAR* ]] && fail "sway kept the program's states: $state"
    echo "sway: the window's state is sway's own: $state"
    read -r x y < <(client_origin "$window")
    digits="$((x + 4)) $((y + 72)) 101 29"  # the amount's label, from the window's design
    start_pointer /usr/bin/python3
    move_to $((x + 100)) $((y + 50))
    expect_opacity "$opaque" "sway: pointer over the client area"
    opaque_red=$(red_pixels $digits)
    move_to $((x + 20)) $((y - 8))
    expect_opacity "$faint" "sway: pointer on sway's title bar"
    faint_red=$(red_pixels $digits)
    [ "$opaque_red" -gt 100 ] && [ "$faint_red" = "$opaque_red" ] ||
        fail "sway showed $opaque_red red pixels of the amount opaque, $faint_red faint"
    echo "sway: the amount shows the same $opaque_red pure red pixels, faint or opaque: no opacity applied"
    QT_QPA_PLATFORM=xcb "$bare" 2>/dev/null &
    pids+=($!)
    sleep 2
    swaymsg "[class=\"^bare_window$\"] floating enable, move position $x $((y + 40)), focus" >/dev/null
    sleep 1
    covered_red=$(red_pixels $digits)
    [ "$covered_red" -eq 0 ] || fail "sway shows $covered_red red pixels of the amount under a newer window"
    echo "sway: a newer window covers the amount"
    swaymsg '[title="^Tallaro$"] focus' >/dev/null
    click_start "$window"
    caption=$(wait_for_caption "$window" '^100,0[1-9] - Tallaro$')
    [[ $caption =~ ^100,0[1-9]\ -\ Tallaro$ ]] || fail "sway: the meter did not run: '$caption'"
    echo "sway: the meter runs: $caption"
    echo PASS >"$OUT/sway.status"
    swaymsg exit >/dev/null 2>&1
    exit 0
fi

# The compositors, each with a runtime folder and session bus of its own.
xwayland_sockets
unset DISPLAY WAYLAND_DISPLAY QT_QPA_PLATFORM XAUTHORITY
export OUT="$work/out"
mkdir -m 777 "$OUT"

# KWin: a plain copy of its program (the installed one carries a file
# capability that a container may refuse), its breeze title bars, and a
# desktop entry that grants fake input to a copy of Python of its own.
cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
export POINTER_PROGRAM="$work/tallaro-test-pointer"
cp "$(readlink -f /usr/bin/python3)" "$POINTER_PROGRAM"
mkdir -p "$work/share/applications"
cat >"$work/share/applications/tallaro-test-pointer.desktop" <<ENTRY
[Desktop Entry]
Type=Application
Name=Tallaro's test pointer
Exec=$POINTER_PROGRAM
NoDisplay=true
X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input
ENTRY
printf '#!/bin/sh\nexec bash %q %q %q --inside-kwin\n' "$0" "$program" "$bare" >"$work/inside-kwin"
chmod +x "$work/inside-kwin"
mkdir -m 700 "$work/kwin-runtime"
# KWin 6 does not find the entry; in this test's own session it may skip
# the check altogether.
XDG_RUNTIME_DIR="$work/kwin-runtime" XDG_DATA_DIRS="$work/share:/usr/share" QT_LOGGING_RULES=kwin_scripting=true \
    KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 \
    timeout 120 dbus-run-session -- "$work/kwin_wayland" --virtual --xwayland --socket tallaro-kwin \
    --width "${screen%x*}" --height "${screen#*x}" --no-lockscreen --no-global-shortcuts --no-kactivities \
    --exit-with-session "$work/inside-kwin" >"$OUT/kwin.log" 2>&1 || true
cat "$OUT/kwin.out" 2>/dev/null || true
[ -f "$OUT/kwin.status" ] || fail "under KWin (its log: $(tail -5 "$OUT/kwin.log"))"

# sway will not run as root: as root, it runs as nobody.
as_user=()
[ "$(id -u)" -eq 0 ] && as_user=(runuser -u nobody --)
mkdir "$work/sway-runtime"
[ "$(id -u)" -eq 0 ] && chown nobody "$work/sway-runtime" "$work"
chmod 700 "$work/sway-runtime"
printf 'xwayland enable\noutput HEADLESS-1 resolution %s position 0 0\nexec bash %q %q %q --inside-sway\n' \
    "$screen" "$0" "$program" "$bare" >"$work/sway.config"
timeout 120 "${as_user[@]}" env -i PATH=/usr/bin:/bin HOME="$work" OUT="$OUT" XDG_RUNTIME_DIR="$work/sway-runtime" \
    WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
    sway -c "$work/sway.config" >"$OUT/sway.log" 2>&1 || true
cat "$OUT/sway.out" 2>/dev/null || true
[ -f "$OUT/sway.status" ] || fail "under sway (its log: $(tail -5 "$OUT/sway.log"))"
echo "PASS: KWin and sway, through XWayland, as the README says"
