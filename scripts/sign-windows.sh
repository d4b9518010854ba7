#!/usr/bin/env bash
# Signs Windows files in place with Authenticode, SHA-256 throughout,
# through Debian's osslsigncode, and writes beside each file F its detached
# signature F.sig, which anyone can attach again to a rebuilt F
# (scripts/verify-release.sh). What signs, from the environment:
#   TALLARO_SIGN_PKCS12         the PKCS#12 file with the certificate and its key
#   TALLARO_SIGN_PASSWORD_FILE  a file holding the key's password (read by
#                               osslsigncode itself: never on a command line
#                               nor in the environment)
#   TALLARO_SIGN_TIMESTAMP_URL  an RFC 3161 time-stamp server: Windows trusts
#                               a signature after its certificate expires only
#                               with a time-stamp, so signing refuses without one
#   TALLARO_SIGN_NO_TIMESTAMP=1 signs without a time-stamp all the same, at the
#                               time SOURCE_DATE_EPOCH: for test builds, whose
#                               signatures end with their certificate
# Or, with no key, to rebuild a published release:
#   TALLARO_SIGNATURES          a folder with the release's F.sig files; each is
#                               attached to F as it was signed
# With none of these it signs nothing and exits 3.
# Usage: sign-windows.sh FILE...   (.exe or .msi)
set -euo pipefail
die() { echo "sign-windows.sh: $*" >&2; exit 1; }
if [ -n "${TALLARO_SIGNATURES:-}" ]; then
    [ -z "${TALLARO_SIGN_PKCS12:-}" ] || die "TALLARO_SIGNATURES attaches published signatures; unset TALLARO_SIGN_PKCS12"
    [ -d "$TALLARO_SIGNATURES" ] || die "TALLARO_SIGNATURES names no folder"
elif [ -z "${TALLARO_SIGN_PKCS12:-}" ]; then
    exit 3
else
    [ -r "$TALLARO_SIGN_PKCS12" ] || die "cannot read TALLARO_SIGN_PKCS12"
    [ -r "${TALLARO_SIGN_PASSWORD_FILE:-}" ] || die "TALLARO_SIGN_PASSWORD_FILE names no readable file"
    if [ -n "${TALLARO_SIGN_TIMESTAMP_URL:-}" ]; then
        time=(-ts "$TALLARO_SIGN_TIMESTAMP_URL")
    elif [ "${TALLARO_SIGN_NO_TIMESTAMP:-}" = 1 ]; then
        time=(-time "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH is the signing time without a time-stamp}")
    else
        die "not signing without a time-stamp, which would end with the certificate: set TALLARO_SIGN_TIMESTAMP_URL to an RFC 3161 server (or TALLARO_SIGN_NO_TIMESTAMP=1 for a test build)"
    fi
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for file in "$@"; do
    name=$(basename "$file")
    # A fresh file of the same name: osslsigncode tells the kind by it.
    signed=$scratch/$name
    if [ -n "${TALLARO_SIGNATURES:-}" ]; then
        [ -f "$TALLARO_SIGNATURES/$name.sig" ] || die "no $name.sig in $TALLARO_SIGNATURES"
        # It checks the signature's chain as it attaches, and says so where
        # this machine does not trust it; what it writes is compared after.
        osslsigncode attach-signature -sigin "$TALLARO_SIGNATURES/$name.sig" -in "$file" \
            -out "$signed" >"$scratch/log" 2>&1 || true
        [ -s "$signed" ] || die "$name: the signature does not attach: $(tail -1 "$scratch/log")"
        done="attached the published signature to"
    else
        # osslsigncode prints only what it did and what failed, never the key.
        osslsigncode sign -pkcs12 "$TALLARO_SIGN_PKCS12" -readpass "$TALLARO_SIGN_PASSWORD_FILE" \
            -h sha256 -n Tallaro "${time[@]}" -in "$file" -out "$signed" >"$scratch/log" 2>&1 ||
            die "$name not signed: $(tail -1 "$scratch/log")"
        done="signed"
    fi
    chmod --reference="$file" "$signed"
    mv "$signed" "$file"
    rm -f "$file.sig"
    osslsigncode extract-signature -in "$file" -out "$file.sig" >"$scratch/log" 2>&1 ||
        die "$name: its signature cannot be extracted: $(tail -1 "$scratch/log")"
    echo "$done $name"
done
