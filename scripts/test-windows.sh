#!/usr/bin/env bash
# Cross-compiles the native Windows program and its tests (MinGW-w64) and
# runs them under Wine: the core's unit tests, and the program driven from
# outside through the Win32 API. The program is 32-bit; where 32-bit Wine
# cannot run (a kernel without 32-bit support) or cannot be installed
# (Debian's i386 packages out of reach), it is built all the same and the
# tests run on the 64-bit build of the same sources under a 64-bit Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh windows-test
log=$(mktemp)
trap 'rm -f "$log"' EXIT
why=""
if ! bash scripts/deps.sh wine32 >"$log" 2>&1; then
    why="The 32-bit Wine could not be installed from Debian's packages ($(grep -m1 '^E: ' "$log" ||
        tail -1 "$log"))"
elif ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    why="This machine runs no 32-bit programs"
fi
if [ -z "$why" ]; then
    cmake --workflow --preset win32
else
    echo "$why: build/win32/tallaro.exe is built, and the tests run on the 64-bit build under a 64-bit Wine."
    cmake --preset win32 >/dev/null
    cmake --build --preset win32
    cmake --workflow --preset win64
fi
