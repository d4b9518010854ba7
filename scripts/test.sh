#!/usr/bin/env bash
# Builds everything and runs every test: the core, the window and end to end,
# then each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake --preset dev >/dev/null
cmake --build --preset dev
ctest --preset dev "$@"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz "$@"
