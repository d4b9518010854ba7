#!/usr/bin/env bash
# Builds the Debian package from the build and checks its control fields and
# its contents. Usage: debian_package.sh BUILD-DIR VERSION
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$out" >"$out/cpack.log" 2>&1 ||
    fail "cpack: $(cat "$out/cpack.log")"
deb=$(ls "$out"/*.deb)
[ "$(basename "$deb")" = "tallaro_${version}_amd64.deb" ] || fail "package file $(basename "$deb")"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tallaro ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
depends=$(field Depends)
names=$(tr ',' '\n' <<<"$depends" | sed 's/^ *//; s/ .*//')
for needed in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
    grep -qxF "$needed" <<<"$names" || fail "Depends lacks $needed: $depends"
done

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}' | grep -v '/$' | sort)
for file in ./usr/bin/tallaro ./usr/share/applications/org.tallaro.Tallaro.desktop \
    ./usr/share/metainfo/org.tallaro.Tallaro.metainfo.xml \
    ./usr/share/icons/hicolor/48x48/apps/org.tallaro.Tallaro.png \
    ./usr/share/icons/hicolor/scalable/apps/org.tallaro.Tallaro.svg; do
    grep -qx "$file" <<<"$contents" || fail "the package lacks $file"
done
outside=$(grep -v '^\./usr/' <<<"$contents" || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
echo "PASS: $(basename "$deb"), $(wc -l <<<"$contents") files; Depends: $depends"
