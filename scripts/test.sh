#!/usr/bin/env bash
# Builds everything and runs every test: the core, the window and end to end,
# then each fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh test
cmake --workflow --preset dev
cmake --workflow --preset fuzz
