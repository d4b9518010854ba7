# Sourced by the install tests that sign: a throwaway publisher and
# time-stamp authority, and the check that a file is signed as a release is.

# start_signing FOLDER: makes the throwaway certificate and authority there
# (tests/install/throwaway_cert.sh), starts the authority on the loopback
# until the shell exits, and exports what scripts/sign-windows.sh signs with.
start_signing() {
    local folder=$1 here
    here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
    bash "$here/throwaway_cert.sh" "$folder"
    python3 "$here/timestamp_server.py" "$folder" >"$folder/port" &
    signing_authority=$!
    for _ in $(seq 100); do [ -s "$folder/port" ] && break; sleep 0.1; done
    [ -s "$folder/port" ] || { echo "the throwaway time-stamp authority did not start" >&2; return 1; }
    export TALLARO_SIGN_PKCS12=$folder/cert.p12 TALLARO_SIGN_PASSWORD_FILE=$folder/password
    export TALLARO_SIGN_TIMESTAMP_URL=http://127.0.0.1:$(cat "$folder/port")
}
stop_signing() { kill "${signing_authority:-}" 2>/dev/null || true; }

# signed_as_released FOLDER FILE: whether FILE verifies against the
# certificate in FOLDER with a time-stamp of its authority, and every
# digest, the signature's and the time-stamp's, is SHA-256.
signed_as_released() {
    local said
    said=$(osslsigncode verify -CAfile "$1/cert.pem" -TSA-CAfile "$1/tsa.pem" -in "$2" 2>&1)
    grep -qx 'Succeeded' <<<"$said" && grep -qx 'Timestamp Server Signature verification: ok' <<<"$said" &&
        grep -q 'Hash Algorithm: sha256' <<<"$said" &&
        ! grep -i 'digest algorithm *:\|hash algorithm:' <<<"$said" | grep -qvi 'sha256 *$'
}
