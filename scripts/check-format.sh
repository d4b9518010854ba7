#!/usr/bin/env bash
# Fails when clang-format would change any C++ file of the tree.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || {
    echo "clang-format not found: install it with scripts/deps.sh test" >&2
    exit 1
}
git ls-files '*.cpp' '*.h' '*.c' | xargs clang-format --dry-run --Werror
echo "format: clean"
