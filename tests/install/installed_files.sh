#!/usr/bin/env bash
# Installs the build into an empty prefix and checks that exactly the
# program, its menu entry, its metainfo and its icons land there, and that
# the desktop's own validators accept the entry and the metainfo.
# Usage: installed_files.sh BUILD-DIR VERSION
set -euo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$prefix" >/dev/null
expected="./bin/tallaro
./share/applications/org.tallaro.Tallaro.desktop
./share/metainfo/org.tallaro.Tallaro.metainfo.xml
./share/man/man1/tallaro.1.gz
./share/doc/tallaro/copyright
./share/doc/tallaro/changelog.gz"
for size in 16 24 32 48 64 128 256; do
    expected+=$'\n'"./share/icons/hicolor/${size}x${size}/apps/org.tallaro.Tallaro.png"
done
expected+=$'\n'"./share/icons/hicolor/scalable/apps/org.tallaro.Tallaro.svg"
actual=$(cd "$prefix" && find . \( -type f -o -type l \) | sort)
[ "$actual" = "$(sort <<<"$expected")" ] || fail "installed files differ:"$'\n'"$(diff <(sort <<<"$expected") <(echo "$actual"))"
[ -x "$prefix/bin/tallaro" ] || fail "the program is not executable"

for size in 16 24 32 48 64 128 256; do
    file="$prefix/share/icons/hicolor/${size}x${size}/apps/org.tallaro.Tallaro.png"
    # PNG width and height are big-endian words at bytes 16 and 20.
    read -r width height < <(od -An -tu1 -j16 -N8 "$file" |
        awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$width x $height" = "$size x $size" ] || fail "icon for $size is $width x $height"
done

desktop-file-validate "$prefix/share/applications/org.tallaro.Tallaro.desktop"
grep -q '^Exec=tallaro$' "$prefix/share/applications/org.tallaro.Tallaro.desktop" || fail "Exec line"
appstreamcli validate --no-net --pedantic "$prefix/share/metainfo/org.tallaro.Tallaro.metainfo.xml"
grep -qF '<project_license>MIT</project_license>' "$prefix/share/metainfo/org.tallaro.Tallaro.metainfo.xml" ||
    fail "the metainfo names no MIT licence"
grep -qF "<release version=\"$version\"" "$prefix/share/metainfo/org.tallaro.Tallaro.metainfo.xml" ||
    fail "the metainfo names no release $version"
echo "PASS: $(wc -l <<<"$actual") files installed, entry and metainfo valid"
