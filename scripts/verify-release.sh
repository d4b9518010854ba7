#!/usr/bin/env bash
# Checks a published release against its source, with no key: run from a
# clean checkout of the release's commit, it rebuilds every artefact the
# folder holds (the Debian package too, where it holds one: on the Debian
# release it was built on), attaches each published signature F.sig where
# its signed file F goes, and compares what it built with what was
# published, byte for byte. Prints one line a file, and exits 0 only when
# every one matches (1 when any differs, 2 when it cannot check).
# Usage: scripts/verify-release.sh DIR
set -euo pipefail
[ $# -eq 1 ] && [ -d "$1" ] || { echo "usage: $0 DIR   (a folder of published release files)" >&2; exit 2; }
published=$(cd "$1" && pwd)
cd "$(dirname "$0")/.."
if [ -n "$(git status --porcelain 2>/dev/null)" ] || ! git rev-parse --git-dir >/dev/null 2>&1; then
    echo "verify-release.sh: not a clean checkout (git status lists changes): check out the release's commit afresh" >&2
    exit 2
fi
# Nothing of this machine's own signing comes in: the published signatures
# are the only ones.
unset TALLARO_SIGN_PKCS12 TALLARO_SIGN_PASSWORD_FILE TALLARO_SIGN_TIMESTAMP_URL TALLARO_SIGN_NO_TIMESTAMP
log=$(mktemp)
rebuilt=$(mktemp -d)
trap 'rm -rf "$log" "$rebuilt"' EXIT
built() {  # built WHAT COMMAND...: runs a build, its output kept for a failure
    echo "rebuilding $1 from $(git rev-parse --short HEAD)"
    "${@:2}" >"$log" 2>&1 || { tail -20 "$log" >&2; echo "verify-release.sh: $1 does not build" >&2; exit 2; }
}
if compgen -G "$published/*.deb" >/dev/null; then
    built "the Debian package" bash scripts/package.sh
    ln -s "$PWD"/build/release/*.deb "$rebuilt/"
fi
if compgen -G "$published/tallaro*.exe" >/dev/null || compgen -G "$published/*.msi" >/dev/null ||
    compgen -G "$published/*.zip" >/dev/null; then
    if compgen -G "$published/*.sig" >/dev/null; then
        built "the Windows artefacts, with the published signatures" \
            env TALLARO_SIGNATURES="$published" bash scripts/package.sh windows
    else
        built "the Windows artefacts" bash scripts/package.sh windows
    fi
    for file in build/win32/tallaro.exe build/win32/*.zip build/win32/*.msi build/win32/*.sig; do
        [ -e "$file" ] && ln -s "$PWD/$file" "$rebuilt/"
    done
fi
same=0
differ=0
for file in "$published"/*; do
    name=$(basename "$file")
    if [ "$name" = SHA256SUMS ]; then
        if (cd "$rebuilt" && sha256sum --quiet --strict -c "$file" >/dev/null 2>&1); then
            echo "same: $name (each file it lists, as rebuilt)"
            same=$((same + 1))
        else
            echo "DIFFERENT: $name (a file it lists is not as rebuilt)"
            differ=$((differ + 1))
        fi
    elif [ ! -e "$rebuilt/$name" ]; then
        echo "NOT REBUILT: $name (no build makes it)"
        differ=$((differ + 1))
    elif cmp -s "$file" "$rebuilt/$name"; then
        echo "same: $name ($(sha256sum <"$file" | cut -c1-16)...)"
        same=$((same + 1))
    else
        echo "DIFFERENT: $name"
        differ=$((differ + 1))
    fi
done
if [ "$differ" -gt 0 ] || [ "$same" -eq 0 ]; then
    echo "verify-release.sh: $differ of $((same + differ)) files are not what the source builds"
    exit 1
fi
echo "verify-release.sh: all $same files are what commit $(git rev-parse --short HEAD) builds"
