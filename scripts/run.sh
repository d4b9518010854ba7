#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh run
cmake --workflow --preset release
exec build/release/tallaro "$@"
