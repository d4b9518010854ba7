#!/usr/bin/env bash
# Measures Tallaro beside a bare Qt window built the same way, in one run, and
# prints the figures as a Markdown table: start-up to the first mapped window,
# peak resident memory, idle cost with the meter running, time keeping while
# the pointer goes in and out, the fades' duration and the spacing of their
# levels as the X server receives them, the idle wake-ups under openbox too,
# one tick's cost, and the idle Windows program under Wine beside bare Win32
# windows. Takes about eight minutes. Usage: scripts/figures.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-10}
bash scripts/deps.sh bench
cmake --workflow --preset bench >/dev/null
bin=build/bench
tallaro=$bin/tallaro
bare=$bin/bench/bare_window

source tests/e2e/x_session.sh
start_xvfb
export LC_ALL=C  # for the tools; the programs get a German locale of their own
export DBUS_SESSION_BUS_ADDRESS=$no_session_bus
xdotool mousemove 5 5

median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
hwm_kib() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }

# Start-up and peak memory, the programs taking turns.
declare -A command=([tallaro]="$tallaro" [bare]="$bare" [text]="$bare --text")
for name in tallaro bare text; do : >"$work/$name.start"; : >"$work/$name.rss"; done
for _ in $(seq "$runs"); do
    for name in tallaro bare text; do
        read -r ms pid < <(env -u LC_ALL LANG=de_DE.UTF-8 "$bin/bench/first_frame" ${command[$name]})
        sleep 1.5
        echo "$ms" >>"$work/$name.start"
        hwm_kib "$pid" >>"$work/$name.rss"
        kill "$pid"
        wait "$pid" 2>/dev/null || true
    done
done
t_start=$(median <"$work/tallaro.start"); b_start=$(median <"$work/bare.start")
x_start=$(median <"$work/text.start")
t_rss=$(median <"$work/tallaro.rss"); b_rss=$(median <"$work/bare.rss")
x_rss=$(median <"$work/text.rss")

# CPU time (ns, all threads) and context switches of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat | awk '{n += $1} END {print n}'; }
switches() { cat /proc/"$1"/task/*/status | awk '/ctxt_switches/ {n += $2} END {print n}'; }
# Notes the CPU time and the switches of processes, where an idle while begins.
mark_idle() {
    local pid
    for pid in "$@"; do
        cpu0[$pid]=$(cpu_ns "$pid")
        sw0[$pid]=$(switches "$pid")
    done
}

# Idle cost, the pointer away: Tallaro with the meter running and Tallaro
# stopped and faint, beside three yardsticks: one whose timers of 50 ms and
# 1 s do nothing, one whose amount and caption change every second, and one
# with no timer at all (the floor). All are measured over the same 120 s,
# since this machine's cost of a wake-up drifts from minute to minute.
# Repaints go without shared memory, as Tallaro's do.
idle_seconds=120
QT_XCB_NO_MITSHM=1 "$bare" --text --timers 2>/dev/null &
bare_pid=$!
pids+=("$bare_pid")
QT_XCB_NO_MITSHM=1 "$bare" --text --timers --ticking 2>/dev/null &
ticking_pid=$!
pids+=("$ticking_pid")
QT_XCB_NO_MITSHM=1 "$bare" --text 2>/dev/null &
floor_pid=$!
pids+=("$floor_pid")
start_tallaro "$tallaro" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
click_start "$window"
running_pid=$program_pid
sleep 2  # its caption ticks: the next window named Tallaro is the second
start_tallaro "$tallaro" de_DE.UTF-8
wait_for_window '^Tallaro$' >/dev/null
stopped_pid=$program_pid
xdotool mousemove 5 5
sleep 5
declare -A cpu0 sw0 inside
mark_idle "$bare_pid" "$ticking_pid" "$floor_pid" "$running_pid" "$stopped_pid"
sleep "$idle_seconds"
# Prints the CPU share of one core and the wake-ups a second of a process
# since cpu0, over the given seconds (the idle measurement's by default).
idle_figures() {
    awk -v ns=$(($(cpu_ns "$1") - cpu0[$1])) -v s=$(($(switches "$1") - sw0[$1])) -v t="${2:-$idle_seconds}" \
        'BEGIN {printf "%.3f %.2f\n", ns / 1e9 / t * 100, s / t}'
}
read -r bare_cpu bare_wakeups < <(idle_figures "$bare_pid")
read -r ticking_cpu ticking_wakeups < <(idle_figures "$ticking_pid")
read -r floor_cpu floor_wakeups < <(idle_figures "$floor_pid")
read -r idle_cpu wakeups < <(idle_figures "$running_pid")
read -r stopped_cpu stopped_wakeups < <(idle_figures "$stopped_pid")
cpu_ratio=$(awk -v a="$idle_cpu" -v b="$ticking_cpu" 'BEGIN {printf "%.2f", a / b}')
for pid in "$running_pid" "$stopped_pid" "$ticking_pid" "$bare_pid" "$floor_pid"; do
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

# Time keeping: one unit a second (3600 an hour), the pointer in and out
# every 3 s for 120 s; the caption then tells the ticks.
start_tallaro "$tallaro" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
read -r x y < <(client_origin "$window")
xdotool mousemove --window "$window" 120 36 click 1 key ctrl+a type 3600
# The opacity's changes as the server receives them, in its milliseconds.
start_opacity_spy "$bin/bench/x_opacity_spy" "$window"
click_start "$window"
started=$(date +%s%N)
for i in $(seq 40); do
    if ((i % 2)); then xdotool mousemove 5 5; else xdotool mousemove $((x + 100)) $((y + 50)); fi
    sleep $(awk -v s="$started" -v i="$i" -v now="$(date +%s%N)" \
        'BEGIN {d = (s + i * 3e9 - now) / 1e9; print (d > 0 ? d : 0)}')
done
sleep 0.5
caption=$(window_caption "$window")
ticks=$(awk -v c="${caption%% *}" 'BEGIN {gsub(/\./, "", c); sub(/,/, ".", c); printf "%d", c - 100}')
kill "$program_pid"; wait "$program_pid" 2>/dev/null || true

# The fades, from the opacity property's changes: each run of changes that
# ends at faint (alpha 50) or opaque is one fade; "gaps" has the time from
# each level to the next, as the server received them.
# Prints each fade of a spy's record as "in|out LEVELS MS", and appends
# each gap to the file named.
fades_of() {
    awk '$0 != "ready"' "$1" | awk -v gaps="$2" '
        function flush() { if (n > 1) printf "%s %d %d\n", kind, n, last - first; n = 0 }
        { t = $1; v = $2
          if (n > 0 && t - last > 200) flush()
          if (n > 0) print t - last >gaps
          if (n == 0) first = t
          last = t; n++
          kind = (v == 842150450) ? "out" : (v == 4294967295 ? "in" : kind) }
        END { flush() }'
}
fades=$(fades_of "$work/opacity" "$work/gaps")
fade_out=$(awk '$1 == "out" {print $3}' <<<"$fades" | median)
fade_out_levels=$(awk '$1 == "out" {print $2}' <<<"$fades" | median)
fade_in=$(awk '$1 == "in" {print $3}' <<<"$fades" | median)
fade_in_levels=$(awk '$1 == "in" {print $2}' <<<"$fades" | median)
fade_count=$(grep -c . <<<"$fades")
gap_median=$(median <"$work/gaps")
gap_largest=$(sort -n "$work/gaps" | tail -n 1)
gap_smallest=$(sort -n "$work/gaps" | awk 'NR == 1')  # read to the end: no writer left on a closed pipe

# The same idle figures under a window manager, as users run the program:
# openbox answers each new caption with visible-name properties of its own,
# which the program hears.
wm_seconds=60
start_window_manager
start_tallaro "$tallaro" de_DE.UTF-8
window=$(wait_for_window '^Tallaro$')
click_start "$window"
wm_running_pid=$program_pid
sleep 2
start_tallaro "$tallaro" de_DE.UTF-8
wait_for_window '^Tallaro$' >/dev/null
wm_stopped_pid=$program_pid
xdotool mousemove 5 5
sleep 5
mark_idle "$wm_running_pid" "$wm_stopped_pid"
sleep "$wm_seconds"
read -r _ wm_wakeups < <(idle_figures "$wm_running_pid" "$wm_seconds")
read -r _ wm_stopped_wakeups < <(idle_figures "$wm_stopped_pid" "$wm_seconds")
for pid in "$wm_running_pid" "$wm_stopped_pid"; do
    kill "$pid"
    wait "$pid" 2>/dev/null || true
done

tick_ns=$("$bin/bench/meter_tick_bench" --benchmark_filter=meterTick --benchmark_format=csv 2>/dev/null |
    awk -F, '/meterTick/ {printf "%.0f", $4}')

# The Windows program under Wine, under openbox, beside bare Win32 windows
# built for the purpose (bench/bare_win32.cpp): the 32-bit program where
# this machine runs 32-bit programs, else the 64-bit one.
bash scripts/deps.sh windows-test
bash scripts/deps.sh wine32 >/dev/null 2>&1 || true
if /usr/lib/wine/wine --version >/dev/null 2>&1; then preset=win32 wine=wine; else preset=win64 wine=/usr/lib/wine/wine64; fi
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target tallaro_win32 bare_win32 >/dev/null
export WINEPREFIX=$work/wine WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
"$wine" wineboot -i >/dev/null 2>&1
exe=build/$preset/tallaro.exe
yardstick=build/$preset/bare_win32.exe
# Starts a Windows program, and prints its pid once its window can show.
start_windows() {
    LANG=de_DE.UTF-8 "$wine" "$@" >/dev/null 2>&1 &
    pids+=($!)
    sleep 4
    echo "$!"
}
xdotool mousemove 5 5
win_running=$(start_windows "$exe")
xdotool mousemove 582 431 click 1 mousemove 5 5  # "Start", at its design place
win_stopped=$(start_windows "$exe")
win_caption=$(start_windows "$yardstick" --caption)
win_poll=$(start_windows "$yardstick" --poll)
win_none=$(start_windows "$yardstick")
sleep 5
mark_idle "$win_running" "$win_stopped" "$win_caption" "$win_poll" "$win_none"
sleep "$wm_seconds"
read -r win_running_cpu win_running_wakeups < <(idle_figures "$win_running" "$wm_seconds")
read -r win_stopped_cpu win_stopped_wakeups < <(idle_figures "$win_stopped" "$wm_seconds")
read -r win_caption_cpu win_caption_wakeups < <(idle_figures "$win_caption" "$wm_seconds")
read -r win_poll_cpu win_poll_wakeups < <(idle_figures "$win_poll" "$wm_seconds")
read -r win_none_cpu win_none_wakeups < <(idle_figures "$win_none" "$wm_seconds")
kill "$win_running" "$win_stopped" "$win_caption" "$win_poll" "$win_none" 2>/dev/null || true
wineserver -w

# The fades under Wine: the program, stopped, beside a bare layered window
# fading the same levels (bare_win32 --fade), the pointer going into each in
# turn and away, their opacity as the X server receives it.
start_windows "$exe" >/dev/null
start_windows "$yardstick" --fade >/dev/null
declare -A executable=([Tallaro]=tallaro.exe [Bare]=bare_win32.exe)
for name in Tallaro Bare; do
    # By its executable's name: a window named Tallaro may be another's.
    window=$(xdotool search --onlyvisible --classname "^${executable[$name]}\$" | head -1)
    read -r x y < <(client_origin "$window")
    inside[$name]="$((x + 90)) $((y + 60))"
    "$bin/bench/x_opacity_spy" "$window" >"$work/win_$name.opacity" 2>/dev/null &
    pids+=($!)
done
sleep 1
for i in $(seq 24); do
    case $((i % 4)) in
        1) read -r x y <<<"${inside[Tallaro]}" ;;
        3) read -r x y <<<"${inside[Bare]}" ;;
        *) x=5 y=5 ;;
    esac
    xdotool mousemove $((x + i)) "$y"
    sleep 1.5
done
: >"$work/win_program.gaps"
: >"$work/win_layered.gaps"
win_fades=$(fades_of "$work/win_Tallaro.opacity" "$work/win_program.gaps")
win_layered_fades=$(fades_of "$work/win_Bare.opacity" "$work/win_layered.gaps")
win_fade=$(awk '{print $3}' <<<"$win_fades" | median)
win_fade_count=$(grep -c . <<<"$win_fades" || true)
win_gap=$(median <"$work/win_program.gaps")
win_layered_fade=$(awk '{print $3}' <<<"$win_layered_fades" | median)
win_layered_gap=$(median <"$work/win_layered.gaps")
win_fade_ratio=$(awk -v a="$win_fade" -v b="$win_layered_fade" 'BEGIN {printf "%.2f", a / b}')
wineserver -k


cat <<TABLE
| figure | Tallaro | bare Qt window | bare window with a label and a field | target |
| --- | --- | --- | --- | --- |
| start-up to the first mapped window (median of $runs) | ${t_start} ms | ${b_start} ms | ${x_start} ms | within 1.2 x of bare |
| peak resident memory (median of $runs) | ${t_rss} KiB | ${b_rss} KiB | ${x_rss} KiB | within 1.1 x of bare |
| CPU over the same ${idle_seconds} s, pointer away: (a) meter running; yardsticks: amount and caption changing every second, empty timers of 50 ms and 1 s, no timer | ${idle_cpu} % of one core (${cpu_ratio} x the changing yardstick) | | ${ticking_cpu} %; ${bare_cpu} %; ${floor_cpu} % | (a) at most the changing yardstick |
| the same, (b) meter stopped, window faint | ${stopped_cpu} % | | | |
| wake-ups (context switches, all threads) per second, same: (a) running; (b) stopped and faint; yardsticks as above | (a) ${wakeups}; (b) ${stopped_wakeups} | | ${ticking_wakeups}; ${bare_wakeups}; ${floor_wakeups} | (a) at most 5, (b) at most 0.2 |
| the same wake-ups under openbox, over ${wm_seconds} s: (a) running; (b) stopped and faint | (a) ${wm_wakeups}; (b) ${wm_stopped_wakeups} | | | |
| ticks counted in 120 s, pointer in and out every 3 s | ${ticks} | | | 120 |
| fade-out from opaque to faint, first level to last as the X server received them (median) | ${fade_out} ms for ${fade_out_levels} levels | | | 43 steps of 10 ms |
| fade-in from faint to opaque, the same (median) | ${fade_in} ms for ${fade_in_levels} levels | | | 43 steps of 10 ms |
| spacing of the levels as the X server received them, over ${fade_count} fades: median; smallest and largest gap | ${gap_median} ms; ${gap_smallest} and ${gap_largest} ms | | | 10 ms, each level on its own |
| one meter tick with its formatting | ${tick_ns} ns | | | below 2 us |
| the Windows program under Wine and openbox, wake-ups a second (and CPU share of one core) over ${wm_seconds} s, pointer away: (a) running; (b) stopped and faint; bare Win32 windows: caption every second, empty 50 ms timer, no timer | (a) ${win_running_wakeups} (${win_running_cpu} %); (b) ${win_stopped_wakeups} (${win_stopped_cpu} %) | | ${win_caption_wakeups} (${win_caption_cpu} %); ${win_poll_wakeups} (${win_poll_cpu} %); ${win_none_wakeups} (${win_none_cpu} %) | (a) at most the caption's, (b) at most no timer's + 0.5 |
| the Windows program's fades under Wine, first level to last as the X server received them (median of ${win_fade_count}), and the median gap; a bare layered window fading the same levels | ${win_fade} ms (${win_fade_ratio} x), gap ${win_gap} ms | | ${win_layered_fade} ms, gap ${win_layered_gap} ms | within 1.2 x the layered window's |
TABLE
echo
echo "Measured on $(date -u +%Y-%m-%d): $(nproc) cores of $(awk -F': ' '/model name/ {print $2; exit}' /proc/cpuinfo), $(free -g | awk '/Mem:/ {print $2}') GiB, Debian $(cat /etc/debian_version), Qt $(dpkg-query -W -f='${Version}' libqt6widgets6), Xvfb without a window manager but where openbox is named, $("$wine" --version) for the Windows program ($preset)."
