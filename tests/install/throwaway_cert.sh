#!/usr/bin/env bash
# Makes a throwaway self-signed code-signing certificate in a folder:
# cert.pem (to verify against), cert.p12 (certificate and key, as a
# publisher hands them to scripts/sign-windows.sh) and password (its
# password); and a throwaway time-stamp authority's certificate, key and
# settings (tsa.pem, tsa.key, tsa.cnf) for tests/install/timestamp_server.py.
# Usage: throwaway_cert.sh FOLDER
set -euo pipefail
folder=$1
printf 'throwaway-%s' "$RANDOM$RANDOM" >"$folder/password"
openssl req -x509 -newkey rsa:2048 -noenc -keyout "$folder/key.pem" -out "$folder/cert.pem" \
    -days 2 -subj "/CN=Tallaro test signer" -addext "extendedKeyUsage=codeSigning" \
    -addext "keyUsage=digitalSignature" 2>/dev/null
openssl pkcs12 -export -out "$folder/cert.p12" -inkey "$folder/key.pem" -in "$folder/cert.pem" \
    -passout "file:$folder/password"
rm "$folder/key.pem"
openssl req -x509 -newkey rsa:2048 -noenc -keyout "$folder/tsa.key" -out "$folder/tsa.pem" \
    -days 2 -subj "/CN=Tallaro test time-stamps" -addext "extendedKeyUsage=critical,timeStamping" \
    -addext "keyUsage=critical,digitalSignature" 2>/dev/null
# It answers for any digest asked, so that a weak one shows in the token
# rather than as a refusal.
cat >"$folder/tsa.cnf" <<CNF
[ tsa ]
default_tsa = throwaway
[ throwaway ]
serial = $folder/tsa.serial
signer_digest = sha256
default_policy = 1.3.6.1.4.1.0.1
digests = md5, sha1, sha256, sha384, sha512
ess_cert_id_alg = sha256
CNF
echo 01 >"$folder/tsa.serial"
