#!/usr/bin/env bash
# Builds the optimised program and packs it:
#   scripts/package.sh           build/release/tallaro_<version>_amd64.deb
#   scripts/package.sh windows   build/win32/tallaro-<version>-win32.zip
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-debian}" in
    debian)
        bash scripts/deps.sh package
        cmake --workflow --preset release
        (cd build/release && cpack -G DEB)
        ;;
    windows)
        bash scripts/deps.sh windows
        cmake --preset win32 >/dev/null
        cmake --build --preset win32 --target tallaro_win32
        (cd build/win32 && cpack -G ZIP)
        ;;
    *) echo "usage: $0 [debian|windows]" >&2; exit 2 ;;
esac
