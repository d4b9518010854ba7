#!/usr/bin/env bash
# Packs the Windows download from the build and checks it: named after the
# version, it holds the executable that the Windows tests drive, and a text
# that names the version and the licence.
# Usage: windows_zip.sh BUILD-DIR VERSION TALLARO.exe
set -euo pipefail
build=$1
version=$2
program=$3
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$out/cpack.log")"
zip=$(ls "$out"/*.zip)
[[ $(basename "$zip") =~ ^tallaro-${version//./\\.}-win(32|64)\.zip$ ]] || fail "archive $(basename "$zip")"
listing=$(cmake -E tar tf "$zip")
[ "$(sort <<<"$listing")" = $'README.txt\ntallaro.exe' ] || fail "the archive holds: $listing"
mkdir "$out/unpacked"
(cd "$out/unpacked" && cmake -E tar xf "$zip")
cmp -s "$out/unpacked/tallaro.exe" "$program" || fail "its tallaro.exe is not the program the tests drive"
grep -qF "Tallaro $version" "$out/unpacked/README.txt" || fail "the text names no version $version"
grep -q '^Licence: MIT' "$out/unpacked/README.txt" &&
    grep -q '^Copyright (c) 2026 the Tallaro developers' "$out/unpacked/README.txt" &&
    grep -q '^Permission is hereby granted, free of charge' "$out/unpacked/README.txt" ||
    fail "the text does not carry the licence: $(cat "$out/unpacked/README.txt")"
echo "PASS: $(basename "$zip") holds $(tr '\n' ' ' <<<"$listing")"
