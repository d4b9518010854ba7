#!/usr/bin/env bash
# Cross-compiles the native Windows program and its tests (32-bit, MinGW-w64)
# and runs them under Wine: the core's unit tests, and the program driven
# from outside through the Win32 API.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh windows
cmake --preset win32 >/dev/null
cmake --build --preset win32
ctest --preset win32 "$@"
