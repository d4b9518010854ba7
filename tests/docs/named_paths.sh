#!/usr/bin/env bash
# The documents a reader follows: every file, folder and script that the
# README, CONTRIBUTING.md and docs/ name in the tree exists, every link
# between them leads somewhere, every preset they name is in
# CMakePresets.json, and the README stays short, with the install commands
# near its top.
# Usage: named_paths.sh SOURCE-DIR
set -euo pipefail
cd "$1"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

documents=(README.md CONTRIBUTING.md docs/*.md)
checked=0
for document in "${documents[@]}"; do
    # A path into the tree: a top folder of it and what follows, up to a
    # character no path of ours holds. A name cut off by a pattern (* or {)
    # names no one file and is left alone.
    while read -r path; do
        path=${path%[.,:;]}
        checked=$((checked + 1))
        [ -e "$path" ] || fail "$document names $path, which does not exist"
    done < <(grep -oE '(^|[^A-Za-z0-9_./-])(\.ci|assets|bench|cmake|docs|packaging|scripts|src|tests)/[A-Za-z0-9_./-]*[^A-Za-z0-9_./-]?' "$document" |
        sed -E 's/^[^.a-z]//' | grep -v '[*{]$' | sed -E 's/[^A-Za-z0-9_./-]$//' || true)
    # A link to another document, from the document's own folder.
    while read -r link; do
        checked=$((checked + 1))
        [ -e "$(dirname "$document")/$link" ] || fail "$document links to $link, which does not exist"
    done < <(grep -oE '\]\([^)#]+' "$document" | sed 's/^](//' | grep -v '^https\?:' || true)
    # A preset, as a workflow names it or as the presets' table lists it.
    while read -r preset; do
        checked=$((checked + 1))
        grep -q "\"name\": \"$preset\"" CMakePresets.json ||
            fail "$document names the preset $preset, which CMakePresets.json does not hold"
    done < <({ grep -oE -- '--preset [a-z0-9]+' "$document" | sed 's/^--preset //'
        awk '/^\| preset \|/ { t = 1; next } t && /^\| `/ { split($0, c, "`"); print c[2]; next }
             t && !/^\|/ { t = 0 }' "$document"; } || true)
done

lines=$(wc -l <README.md)
[ "$lines" -le 150 ] || fail "the README has $lines lines; it keeps to 150"
install_line=$(grep -n '^## Installing' README.md | cut -d: -f1)
[ -n "$install_line" ] && [ "$install_line" -le 50 ] ||
    fail "the README's Installing heading is at line ${install_line:-none}, past its first 50"

[ "$failures" -eq 0 ] || exit 1
echo "PASS: $checked names in ${#documents[@]} documents, README $lines lines"
