#!/usr/bin/env bash
# Without a display it can reach the program says so in one line and ends
# with status 1: with none of the variables set, and with each set empty,
# which names no display (an empty WAYLAND_DISPLAY beside an X display that
# nobody serves included). Its command line is answered before any display
# is looked for, with none and with one nobody serves: --help and --version
# print to standard output and end with status 0; any other option or
# argument is refused in one line on standard error, with status 2.
set -uo pipefail
failed=0
while read -r environment; do
    # shellcheck disable=SC2086 # the assignments are words
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM $environment "$1" 2>&1)
    status=$?
    echo "${environment:-(none set)}: status $status: $output"
    if [ "$status" -ne 1 ] || [ "$(printf '%s\n' "$output" | wc -l)" -ne 1 ] ||
        [[ $output != *xvfb-run* ]]; then
        failed=1
    fi
done <<'ENVIRONMENTS'

DISPLAY=
WAYLAND_DISPLAY=
QT_QPA_PLATFORM=
WAYLAND_DISPLAY= DISPLAY=:4243
DISPLAY= WAYLAND_DISPLAY= QT_QPA_PLATFORM=
ENVIRONMENTS
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
while IFS='|' read -r arguments status stream pattern; do
    for display in "" :4243; do
        # shellcheck disable=SC2086 # the arguments are words
        env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ${display:+DISPLAY=$display} \
            "$1" $arguments >"$out" 2>"$err"
        seen=$?
        if [ "$stream" = out ]; then said=$out silent=$err; else said=$err silent=$out; fi
        echo "tallaro $arguments${display:+ on $display}: status $seen: $(head -1 "$said")"
        if [ "$seen" -ne "$status" ] || [ -s "$silent" ] || ! head -1 "$said" | grep -qE "$pattern" ||
            { [ "$stream" = err ] && [ "$(wc -l <"$err")" -ne 1 ]; }; then
            echo "FAIL: tallaro $arguments: status $seen, said: $(cat "$out" "$err")"
            failed=1
        fi
    done
done <<'COMMANDS'
--version|0|out|^tallaro [0-9]+(\.[0-9]+)+$
--help|0|out|^Usage: tallaro \[OPTION\]\.\.\.$
-h|0|out|^Usage: tallaro
--frobnicate|2|err|^tallaro: unknown option '--frobnicate'; tallaro --help lists the options$
-version|2|err|^tallaro: unknown option '-version'
meeting|2|err|^tallaro: it takes no argument such as 'meeting'
-display|2|err|^tallaro: the option '-display' needs a value
-style fusion|1|err|xvfb-run -a tallaro$
COMMANDS
exit "$failed"
