#!/usr/bin/env bash
# Cross-compiles the native Windows program and its tests (MinGW-w64) and
# runs them under Wine: the core's unit tests, and the program driven from
# outside through the Win32 API. The program is 32-bit; on a machine whose
# kernel runs no 32-bit programs (and so no 32-bit Wine), it is built all the
# same and the tests run on the 64-bit build of the same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh windows
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    cmake --workflow --preset win32
else
    echo "This machine runs no 32-bit programs: build/win32/tallaro.exe is built," \
        "and the tests run on the 64-bit build under a 64-bit Wine."
    cmake --preset win32 >/dev/null
    cmake --build --preset win32
    cmake --workflow --preset win64
fi
