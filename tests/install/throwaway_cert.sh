#!/usr/bin/env bash
# Makes a throwaway self-signed code-signing certificate in a folder:
# cert.pem (to verify against), cert.p12 (certificate and key, as a
# publisher hands them to scripts/sign-windows.sh) and password (its
# password). Usage: throwaway_cert.sh FOLDER
set -euo pipefail
folder=$1
printf 'throwaway-%s' "$RANDOM$RANDOM" >"$folder/password"
openssl req -x509 -newkey rsa:2048 -noenc -keyout "$folder/key.pem" -out "$folder/cert.pem" \
    -days 2 -subj "/CN=Tallaro test signer" -addext "extendedKeyUsage=codeSigning" \
    -addext "keyUsage=digitalSignature" 2>/dev/null
openssl pkcs12 -export -out "$folder/cert.p12" -inkey "$folder/key.pem" -in "$folder/cert.pem" \
    -passout "file:$folder/password"
rm "$folder/key.pem"
