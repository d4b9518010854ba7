#!/usr/bin/env bash
# Shows the suite's strength: applies each one-line fault of a list kept in
# the repository (tests/mutants/mutations.txt) to a scratch copy of the tree,
# one at a time, rebuilds, runs the unit, window and end-to-end tests (for a
# fault in the Windows program or its packaging, the Windows tests under
# Wine), and prints which faults no test caught. Not part of the test
# command; takes about a minute a fault (a Windows one up to five). Run it
# after scripts/test.sh, and scripts/test-windows.sh for Windows faults, have
# installed what the tests need.
# Usage: scripts/mutants.sh [--check] [LIST]   (--check: only that each
#   fault's text is where it says, once)
set -euo pipefail
cd "$(dirname "$0")/.."
check=no
[ "${1:-}" = --check ] && check=yes && shift
list=$(realpath "${1:-tests/mutants/mutations.txt}")
repo=$(pwd)
scratch=$(mktemp -d /var/tmp/tallaro-mutants.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
git ls-files -z | tar --null -cf - -T - | tar -xf - -C "$scratch"
cd "$scratch"

# The faults, one a line: index, file, and whether it is marked equivalent.
apply() {  # apply INDEX: writes the fault into its file; "missing" when its text is not there once
    python3 - "$list" "$1" <<'PY'
import sys
blocks, current = [], None
for line in open(sys.argv[1], encoding="utf-8").read().split("\n"):
    if line.startswith("@ "):
        current = {"file": line[2:].strip(), "from": [], "to": [], "equivalent": ""}
        blocks.append(current)
    elif current is not None and line.startswith("- "):
        current["from"].append(line[2:])
    elif current is not None and line.startswith("+ "):
        current["to"].append(line[2:])
    elif current is not None and line.startswith("= "):
        current["equivalent"] = line[2:]
if sys.argv[2] == "count":
    print(len(blocks))
    sys.exit(0)
if sys.argv[2] == "files":
    print("\n".join(block["file"] for block in blocks))
    sys.exit(0)
block = blocks[int(sys.argv[2])]
text = open(block["file"], encoding="utf-8").read()
old, new = "\n".join(block["from"]), "\n".join(block["to"])
if text.count(old) != 1:
    print("missing", block["file"])
    sys.exit(0)
open(block["file"], "w", encoding="utf-8").write(text.replace(old, new))
print("applied", block["file"], block["equivalent"])
PY
}

if [ "$check" = yes ]; then
    total=$(apply count)
    for i in $(seq 0 $((total - 1))); do
        read -r outcome file _ < <(apply "$i")
        [ "$outcome" = applied ] || { echo "fault $((i + 1)): its text is not in $file (once)" >&2; exit 1; }
        cp "$repo/$file" "$file"
    done
    echo "all $total faults apply"
    exit 0
fi

# A fault in these is the Windows program's or its release's (the list's
# faults in the package command are in its Windows part), and its tests
# run under Wine: the 32-bit build where this machine runs 32-bit Wine,
# else the 64-bit one.
windows_file() {
    [[ $1 == src/ui/win32/* || $1 == assets/tallaro.rc.in || $1 == packaging/tallaro.wxs ||
        $1 == cmake/Windows*.cmake || $1 == cmake/BuildMsi.cmake || $1 == scripts/sign-windows.sh ||
        $1 == scripts/package.sh ]]
}
windows=win64
/usr/lib/wine/wine --version >/dev/null 2>&1 && windows=win32
linux_tests() { ctest --preset dev -LE install --stop-on-failure --timeout 180 -j "$(nproc)" >/dev/null 2>&1; }
windows_tests() { ctest --preset "$windows" --stop-on-failure --timeout 300 >/dev/null 2>&1; }
preset_of() { if windows_file "$1"; then echo "$windows"; else echo dev; fi; }
tests_of() { if windows_file "$1"; then windows_tests; else linux_tests; fi; }
for preset in $(apply files | while read -r file; do preset_of "$file"; done | sort -u); do
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" >/dev/null
    if [ "$preset" = dev ]; then tested=linux_tests; else tested=windows_tests; fi
    "$tested" || { echo "the $preset tests fail before any fault: nothing to measure" >&2; exit 1; }
done

total=$(apply count)
killed=0 survived=0 equivalent=0 stillborn=0
for i in $(seq 0 $((total - 1))); do
    read -r outcome file note < <(apply "$i")
    if [ "$outcome" = missing ]; then
        echo "fault $((i + 1)): its text is not in $file (once)" >&2
        exit 1
    fi
    if ! cmake --build --preset "$(preset_of "$file")" >/dev/null 2>&1; then
        verdict="does not build"
        stillborn=$((stillborn + 1))
    elif tests_of "$file"; then
        if [ -n "$note" ]; then
            verdict="survived, equivalent: $note"
            equivalent=$((equivalent + 1))
        else
            verdict=SURVIVED
            survived=$((survived + 1))
        fi
    else
        verdict=caught
        killed=$((killed + 1))
    fi
    echo "fault $((i + 1)) in $file: $verdict"
    cp "$repo/$file" "$file"
done
counted=$((killed + survived))
echo "caught $killed of $counted faults that can show ($((counted > 0 ? killed * 100 / counted : 0)) %);" \
    "$equivalent equivalent, $stillborn that do not build"
