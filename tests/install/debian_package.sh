#!/usr/bin/env bash
# Builds the optimised program and its Debian package with scripts/package.sh,
# and checks the package: its control fields and contents, lintian
# (no error, no warning), the hardening of the packaged program, and its
# manual page. Usage: debian_package.sh SOURCE-DIR VERSION
set -euo pipefail
source_dir=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The package as scripts/package.sh makes it, with its checksum beside it.
(cd "$source_dir" && bash scripts/package.sh) >"$out/build.log" 2>&1 ||
    fail "scripts/package.sh: $(tail -20 "$out/build.log")"
build=$source_dir/build/release
deb=$build/tallaro_${version}_amd64.deb
[ -f "$deb" ] || fail "no package file $(basename "$deb"): $(ls "$build"/*.deb 2>/dev/null)"
(cd "$build" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS beside the package"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tallaro ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
names=$(tr ',|' '\n\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
grep -qxF qt6-qpa-plugins <<<"$names" || fail "Depends lacks Qt's platform plugins: $depends"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sort)
for file in ./usr/bin/tallaro ./usr/share/applications/org.tallaro.Tallaro.desktop \
    ./usr/share/man/man1/tallaro.1.gz ./usr/share/doc/tallaro/copyright \
    ./usr/share/doc/tallaro/changelog.gz \
    ./usr/share/metainfo/org.tallaro.Tallaro.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/org.tallaro.Tallaro.png \
    ./usr/share/icons/hicolor/scalable/apps/org.tallaro.Tallaro.svg; do
    grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done
outside=$(grep -v '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"

# Debian's own checks. lintian refuses to run as root only in a warning.
tags=$(lintian --pedantic "$deb" 2>/dev/null | grep -E '^[EW]: ' || true)
[ -z "$tags" ] || fail "lintian:"$'\n'"$tags"
dpkg-deb -x "$deb" "$out/root"
# Every library the program links comes from a package it depends on, by
# whatever name the release gives that package (libqt6core6 on Debian 12,
# libqt6core6t64 on 13).
program=$out/root/usr/bin/tallaro
libraries=$(ldd "$program")
for soname in $(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]$/\1/p'); do
    path=$(awk -v soname="$soname" '$1 == soname { print $3 }' <<<"$libraries")
    [ -f "$path" ] || fail "$soname is not to be found on this machine: $libraries"
    # With /lib merged into /usr/lib, a package may name either folder.
    owner=$({ dpkg -S "$(realpath "$path")" || dpkg -S "$path" || dpkg -S "/usr${path#/usr}" ||
        dpkg -S "${path#/usr}"; } 2>/dev/null | head -1 | cut -d: -f1)
    [ -n "$owner" ] || fail "no package holds $path"
    grep -qxF "$owner" <<<"$names" || fail "Depends lacks $owner, which holds $soname: $depends"
done
# Built on Qt's private interface (the native Wayland road), it names the
# private interface of the Qt it was built against, as this machine's Qt offers it.
if readelf -d "$program" | grep -q 'LayerShellQt'; then
    abi=$(dpkg-query -W -f='${Provides}\n' 'libqt6core6*' 2>/dev/null |
        grep -o 'qt6-base-private-abi (= [^)]*)' | head -1)
    [ -n "$abi" ] && grep -qF "$abi" <<<"$depends" ||
        fail "Depends lacks Qt's private interface ($abi): $depends"
fi
# Branch Protection is AArch64's, which Debian 13's hardening-check asks of
# every architecture's programs.
hardening=$(hardening-check "$out/root/usr/bin/tallaro" | grep -v '^ Branch Protection: ' || true)
grep -q ': no' <<<"$hardening" && fail "hardening-check:"$'\n'"$hardening"
file "$out/root/usr/bin/tallaro" | grep -q ', stripped' || fail "the program is not stripped"
page=$(MANWIDTH=80 man -l "$out/root/usr/share/man/man1/tallaro.1.gz" 2>&1)
grep -q 'tallaro - show what a running meeting has cost so far' <<<"$page" ||
    fail "the manual page: $page"
# The words as a reader takes them: a word broken at a line's end is whole
# (groff 1.24 hyphenates the page, with U+2010), and spaces and line breaks
# are one space. Not through a pipe into grep -q, which leaves as soon as it
# finds the words, so that the writer before it might die of the closed pipe.
read_as_words() { sed -z 's/\xe2\x80\x90\n *//g; s/-\n *//g' | tr -s ' \n' '  '; }
grep -q '^COPYRIGHT' <<<"$page" && grep -q 'released under the MIT licence' <<<"$(read_as_words <<<"$page")" ||
    fail "the manual page names no licence"
# Every option the program's help names, the page lists.
words=$(read_as_words <<<"$page")
for option in $("$out/root/usr/bin/tallaro" --help | grep -oE -- '(^|[ ,])--?[a-z][a-z-]*' | tr -d ' ,' | sort -u); do
    grep -qE -- "(^| )$option([ ,=]|$)" <<<"$words" || fail "the manual page does not list $option"
done
# The licence: Expat (MIT), held by the Tallaro developers, in the words of
# the repository's LICENSE.
copyright=$out/root/usr/share/doc/tallaro/copyright
grep -qx 'Copyright: 2026 the Tallaro developers' "$copyright" || fail "no copyright holder"
[ "$(grep -c '^License: Expat$' "$copyright")" -eq 2 ] || fail "no Expat licence: $(cat "$copyright")"
diff <(awk 'body {sub(/^ /, ""); sub(/^\.$/, ""); print} /^License: Expat$/ {body = ++n == 2}' "$copyright") \
    <(tail -n +5 "$source_dir/LICENSE") >"$out/licence.diff" ||
    fail "the package's licence differs from LICENSE:"$'\n'"$(cat "$out/licence.diff")"
zcat "$out/root/usr/share/doc/tallaro/changelog.gz" | head -1 | grep -qF "tallaro ($version)" ||
    fail "the changelog has no entry for $version"
echo "PASS: $(basename "$deb"), $(wc -l <<<"$contents") files, lintian clean, hardened:" \
    "$(grep -c ': yes' <<<"$hardening") of hardening-check's $(grep -c ': ' <<<"$hardening") checks;" \
    "Depends: $depends"
