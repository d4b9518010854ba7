#!/usr/bin/env bash
# Fails when clang-format would change any C++ file of the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "clang-format not found: format check skipped"
    exit 0
fi
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
echo "format: clean"
