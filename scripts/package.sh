#!/usr/bin/env bash
# Builds the optimised program and packs it, byte for byte the same from the
# same commit, with a SHA256SUMS file beside what it makes:
#   scripts/package.sh           build/release/tallaro_<version>_amd64.deb
#   scripts/package.sh windows   build/win32/tallaro.exe, tallaro-<version>-win32.zip
#                                the installer tallaro-<version>-win32.msi and
#                                the machines' tallaro-<version>-win32-machine.msi,
#                                signed where the environment names a
#                                certificate, each signed file F with its
#                                detached signature F.sig, or with a published
#                                release's signatures attached
#                                (scripts/sign-windows.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
# Every time stamp the build writes is the last commit's, unless the caller
# sets one (the reproducible-builds convention); in a copy without git, the
# release date's midnight (UTC).
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
        SOURCE_DATE_EPOCH=$(date -u -d "$(sed -n 's/^set(TALLARO_RELEASE_DATE \(.*\))$/\1/p' CMakeLists.txt)" +%s)
fi
export SOURCE_DATE_EPOCH
# The archives' members take the modes of the files as they are made, and
# a zip's times are local ones.
umask 022
export TZ=UTC
case "${1:-debian}" in
    debian)
        bash scripts/deps.sh package
        cmake --workflow --preset release
        out=build/release
        rm -f "$out"/*.deb
        (cd "$out" && cpack -G DEB)
        artefacts="tallaro_*.deb"
        ;;
    windows)
        bash scripts/deps.sh windows
        cmake --preset win32 >/dev/null
        out=build/win32
        # Linked afresh, so that no signature of an earlier run stays on it.
        rm -f "$out"/*.zip "$out"/*.msi "$out"/*.sig "$out/tallaro.exe"
        cmake --build --preset win32 --target tallaro_win32
        # Signed first where a certificate is given, so that the zip and the
        # installer hold the signed program (scripts/sign-windows.sh).
        signing=yes
        bash scripts/sign-windows.sh "$out/tallaro.exe" || { [ $? -eq 3 ] && signing=no; } ||
            exit 1
        (cd "$out" && cpack -G ZIP)
        # The zip keeps its members' owner: one of root's, as in the package.
        strip-nondeterminism --type zip --timestamp "$SOURCE_DATE_EPOCH" "$out"/tallaro-*.zip
        cmake --build --preset win32 --target tallaro_msi
        artefacts="tallaro.exe tallaro-*.zip tallaro-*.msi"
        if [ "$signing" = yes ]; then
            bash scripts/sign-windows.sh "$out"/tallaro-*-win32.msi "$out"/tallaro-*-win32-machine.msi
            artefacts="$artefacts *.sig"
        else
            echo "The Windows artefacts are unsigned: TALLARO_SIGN_PKCS12 and TALLARO_SIGN_PASSWORD_FILE name no certificate."
        fi
        ;;
    *) echo "usage: $0 [debian|windows]" >&2; exit 2 ;;
esac
# shellcheck disable=SC2086 # the names' patterns
(cd "$out" && sha256sum $artefacts >SHA256SUMS && cat SHA256SUMS)
