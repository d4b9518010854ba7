#!/usr/bin/env bash
# Signs Windows files in place with Authenticode (SHA-256), through Debian's
# osslsigncode, when the environment names a certificate:
#   TALLARO_SIGN_PKCS12         the PKCS#12 file with the certificate and its key
#   TALLARO_SIGN_PASSWORD_FILE  a file holding the key's password (never the
#                               command line or the environment)
#   TALLARO_SIGN_TIMESTAMP_URL  optional: an RFC 3161 time-stamp server;
#                               without one, the signing time is
#                               SOURCE_DATE_EPOCH, so that the same file signed
#                               with the same key gives the same bytes
# Without a certificate it signs nothing and exits 3.
# Usage: sign-windows.sh FILE...   (.exe or .msi)
set -euo pipefail
if [ -z "${TALLARO_SIGN_PKCS12:-}" ]; then
    exit 3
fi
[ -r "$TALLARO_SIGN_PKCS12" ] || { echo "sign-windows.sh: cannot read TALLARO_SIGN_PKCS12" >&2; exit 1; }
[ -r "${TALLARO_SIGN_PASSWORD_FILE:-}" ] ||
    { echo "sign-windows.sh: TALLARO_SIGN_PASSWORD_FILE names no readable file" >&2; exit 1; }
time=()
if [ -n "${TALLARO_SIGN_TIMESTAMP_URL:-}" ]; then
    time=(-ts "$TALLARO_SIGN_TIMESTAMP_URL")
else
    time=(-time "${SOURCE_DATE_EPOCH:?SOURCE_DATE_EPOCH is the signing time without a time-stamp server}")
fi
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for file in "$@"; do
    # A fresh name of the same kind: osslsigncode tells the kind by it.
    signed=$scratch/$(basename "$file")
    # osslsigncode prints only what it did and what failed, never the key.
    if ! osslsigncode sign -pkcs12 "$TALLARO_SIGN_PKCS12" -readpass "$TALLARO_SIGN_PASSWORD_FILE" \
        -h sha256 -n Tallaro "${time[@]}" -in "$file" -out "$signed" >"$scratch/log" 2>&1; then
        echo "sign-windows.sh: $(basename "$file") not signed: $(tail -1 "$scratch/log")" >&2
        exit 1
    fi
    chmod --reference="$file" "$signed"
    mv "$signed" "$file"
    echo "signed $(basename "$file")"
done
