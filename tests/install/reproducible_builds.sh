#!/usr/bin/env bash
# Builds the Debian package, the Windows program, its zip and its installer
# twice, each time in a fresh clone of the same commit, and requires the
# same bytes. The
# second build differs from the first in all a builder may: a folder of
# another path and name length, other file times (2001) and a clock three
# days on (faketime), umask 002 instead of 022, a German locale instead of
# C.UTF-8, the time zone of Auckland instead of UTC, and another user (nobody,
# where the script runs as root). Where the bytes differ, diffoscope says
# how. Both sign the Windows artefacts with one throwaway certificate, and
# each signed file must verify against it. KEEP=1 keeps both clones for a
# look. Usage: reproducible_builds.sh [SOURCE-DIR]
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
# The Windows artefacts signed, both times, with a throwaway certificate.
mkdir "$work/signing"
bash "$source_dir/tests/install/throwaway_cert.sh" "$work/signing"
signing=(TALLARO_SIGN_PKCS12="$work/signing/cert.p12" TALLARO_SIGN_PASSWORD_FILE="$work/signing/password")
chmod -R a+rX "$work"

build_all() {
    bash scripts/package.sh && bash scripts/package.sh windows
}
(cd "$first" && umask 022 && export LC_ALL=C.UTF-8 TZ=UTC "${signing[@]}" && build_all) >"$work/first.log" 2>&1 ||
    fail "the first build: $(tail -20 "$work/first.log")"

find "$second" -path '*/.git' -prune -o -exec touch -h -d '2001-02-03 04:05:06' {} +
if [ "$(id -u)" -eq 0 ]; then
    chown -R nobody "$work/a-folder-with-a-longer-name"
    as_user=(runuser -u nobody -- env HOME="$second" USER=nobody LOGNAME=nobody)
else
    as_user=(env USER=someone-else LOGNAME=someone-else)
fi
(cd "$second" && umask 002 &&
    "${as_user[@]}" LOCPATH="$work/locales" LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8 TZ=Pacific/Auckland "${signing[@]}" \
        faketime -f +3d bash -c "$(declare -f build_all); build_all") >"$work/second.log" 2>&1 ||
    fail "the second build: $(tail -20 "$work/second.log")"

differ=0
for artefact in release/tallaro_*_amd64.deb win32/tallaro.exe win32/tallaro-*-win32.zip \
    win32/tallaro-*-win32.msi win32/tallaro-*-win32-machine.msi; do
    one=$(ls "$first"/build/$artefact)
    other=$second/build/${one#"$first"/build/}
    if cmp -s "$one" "$other"; then
        echo "same bytes: ${one#"$first"/build/} ($(sha256sum <"$one" | cut -c1-16)...)"
    else
        differ=1
        echo "DIFFERENT: ${one#"$first"/build/}"
        diffoscope --text - --max-report-size 200000 "$one" "$other" | head -150 || true
    fi
done
for folder in release win32; do
    (cd "$first/build/$folder" && sha256sum --quiet -c SHA256SUMS) ||
        fail "SHA256SUMS in build/$folder of the first build"
    (cd "$second/build/$folder" && sha256sum --quiet -c "$first/build/$folder/SHA256SUMS") ||
        fail "the second build against the first one's SHA256SUMS in build/$folder"
done
[ "$differ" -eq 0 ] || fail "the two builds of $commit differ"
# What was shipped is signed: the program, the one in the zip, the one the
# installer puts down, and the installer.
verified() { osslsigncode verify -CAfile "$work/signing/cert.pem" -in "$1" 2>&1 | grep -q '^Succeeded$'; }
mkdir "$work/zip" "$work/msi"
unzip -q "$first"/build/win32/tallaro-*-win32.zip -d "$work/zip"
(cd "$work/msi" && msiextract "$first"/build/win32/tallaro-*-win32.msi >/dev/null)
for file in "$first/build/win32/tallaro.exe" "$work/zip/tallaro.exe" "$(find "$work/msi" -name tallaro.exe)" \
    "$first"/build/win32/tallaro-*.msi; do
    verified "$file" || fail "${file#"$work"/} is not signed with the build's certificate"
done
echo "signed: the program, in the zip and in the installer, and the installer verify"
echo "PASS: the package, the program, the zip and the installer of $commit, built twice, are the same bytes"
