#!/usr/bin/env bash
# Builds the Debian package, the Windows program, its zip and its installers
# in a fresh clone, signed as a release is (a throwaway certificate, time-
# stamped by a throwaway authority on the loopback), then rebuilds them in a
# second fresh clone of the same commit with no key, through
# scripts/verify-release.sh, which attaches the published signatures and
# requires the same bytes. The second build differs from the first in all a
# builder may: a folder of another path and name length, other file times
# (2001) and a clock three days on (faketime), umask 002 instead of 022, a
# German locale instead of C.UTF-8, the time zone of Auckland instead of
# UTC, and another user (nobody, where the script runs as root). Where the
# bytes differ, diffoscope says how. A release with one byte changed then
# fails the check. KEEP=1 keeps both clones for a look.
# Usage: reproducible_builds.sh [SOURCE-DIR]
set -euo pipefail
source_dir=$(cd "${1:-$(dirname "$0")/../..}" && pwd)
bash "$source_dir/scripts/deps.sh" reproducible
work=$(mktemp -d)
trap '[ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

commit=$(git -C "$source_dir" rev-parse HEAD)
first=$work/a
second=$work/a-folder-with-a-longer-name/b
git clone -q "$source_dir" "$first"
git clone -q "$source_dir" "$second"
git -C "$first" checkout -q "$commit"
git -C "$second" checkout -q "$commit"

# A German locale of the script's own, compiled from Debian's locale sources.
mkdir "$work/locales"
localedef -i de_DE -f UTF-8 "$work/locales/de_DE.UTF-8"
# The release's Windows artefacts signed with a throwaway certificate and
# time-stamped by a throwaway authority.
source "$source_dir/tests/install/signing.sh"
mkdir "$work/signing"
start_signing "$work/signing"
trap 'stop_signing; [ -n "${KEEP:-}" ] && echo "kept $work" || rm -rf "$work"' EXIT
signing=(TALLARO_SIGN_PKCS12 TALLARO_SIGN_PASSWORD_FILE TALLARO_SIGN_TIMESTAMP_URL)
chmod -R a+rX "$work"

build_all() {
    bash scripts/package.sh && bash scripts/package.sh windows
}
(cd "$first" && umask 022 && export LC_ALL=C.UTF-8 TZ=UTC && build_all) >"$work/first.log" 2>&1 ||
    fail "the first build: $(tail -20 "$work/first.log")"

# What a release publishes: every artefact, the signatures, one SHA256SUMS.
release=$work/release
mkdir "$release"
cp "$first"/build/release/tallaro_*.deb "$first"/build/win32/tallaro.exe "$first"/build/win32/*.zip \
    "$first"/build/win32/*.msi "$first"/build/win32/*.sig "$release/"
cat "$first"/build/release/SHA256SUMS "$first"/build/win32/SHA256SUMS >"$release/SHA256SUMS"
for folder in release win32; do
    (cd "$first/build/$folder" && sha256sum --quiet -c SHA256SUMS) ||
        fail "SHA256SUMS in build/$folder of the first build"
done
for file in "$release/tallaro.exe" "$release"/tallaro-*-win32.msi "$release"/tallaro-*-win32-machine.msi; do
    [ -s "$file.sig" ] && grep -q " $(basename "$file").sig$" "$release/SHA256SUMS" ||
        fail "no detached signature of $(basename "$file"), listed in SHA256SUMS"
done
# What was shipped is signed and time-stamped, SHA-256 throughout: the
# program, the one in the zip, those the installers put down, and the
# installers.
mkdir "$work/zip" "$work/msi" "$work/machine-msi"
unzip -q "$release"/tallaro-*-win32.zip -d "$work/zip"
(cd "$work/msi" && msiextract "$release"/tallaro-*-win32.msi >/dev/null)
(cd "$work/machine-msi" && msiextract "$release"/tallaro-*-win32-machine.msi >/dev/null)
for file in "$release/tallaro.exe" "$work/zip/tallaro.exe" "$(find "$work/msi" -name tallaro.exe)" \
    "$(find "$work/machine-msi" -name tallaro.exe)" "$release"/tallaro-*.msi; do
    signed_as_released "$work/signing" "$file" || fail "${file#"$work"/} is not signed and time-stamped with SHA-256"
done
echo "signed and time-stamped with SHA-256: the program, in the zip and in both installers, and both installers"

# The second clone builds with no key.
unset "${signing[@]}"
chmod -R a+rX "$release"
find "$second" -path '*/.git' -prune -o -exec touch -h -d '2001-02-03 04:05:06' {} +
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$work/a-folder-with-a-longer-name"
    as_user=(runuser -u nobody -- env HOME="$second" USER=nobody LOGNAME=nobody)
else
    as_user=(env USER=someone-else LOGNAME=someone-else)
fi
verify() {  # verify RELEASE: the second clone, with no key, rebuilds it
    (cd "$second" && umask 002 &&
        "${as_user[@]}" LOCPATH="$work/locales" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 TZ=Pacific/Auckland \
            faketime -f +3d bash scripts/verify-release.sh "$1")
}
if ! verify "$release" >"$work/second.log" 2>&1; then
    cat "$work/second.log"
    for name in $(sed -n 's/^DIFFERENT: \([^ ]*\)$/\1/p' "$work/second.log"); do
        built=$(find "$second/build" -name "$name" | head -1)
        [ -n "$built" ] && diffoscope --text - --max-report-size 200000 "$release/$name" "$built" | head -150 || true
    done
    fail "the second clone, with no key, did not rebuild the release of $commit"
fi
grep -v '^rebuilding' "$work/second.log"
# One byte changed in what was published fails the check, and says where.
cp -r "$release" "$work/changed"
chmod -R a+rX "$work/changed"
zip=$(basename "$(ls "$work/changed"/*.zip)")
printf 'X' | dd of="$work/changed/$zip" bs=1 seek=100 conv=notrunc 2>/dev/null
if verify "$work/changed" >"$work/changed.log" 2>&1 || ! grep -qx "DIFFERENT: $zip" "$work/changed.log"; then
    fail "a release with a byte changed in $zip passed: $(cat "$work/changed.log")"
fi
echo "a release with a byte changed in $zip fails the check"
echo "PASS: the package, the program, the zip and the installers of $commit, rebuilt without the key, are the same bytes"
