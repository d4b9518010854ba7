#!/usr/bin/env bash
# Builds the optimised program and packs it as build/release/tallaro_<version>_<arch>.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh package
cmake --workflow --preset release
(cd build/release && cpack -G DEB)
