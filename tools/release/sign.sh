#!/usr/bin/env bash
# sign.sh IN OUT TEST_CERT_DIR: Authenticode-signs IN (SHA-256) into OUT.
#
# The publisher's credentials come from the environment, read at build time so that no
# secret lands in the build's cache:
#   ORV_SIGN_PKCS12           a PKCS#12 file holding the certificate chain and its key, or
#   ORV_SIGN_CERT             the certificate chain (PEM or DER) with
#   ORV_SIGN_KEY              its private key: a key file, or a PKCS#11 URI with
#   ORV_SIGN_PKCS11_MODULE    the token's PKCS#11 module (then ORV_SIGN_CERT may also be a URI)
#   ORV_SIGN_PASSWORD_FILE    a file holding the key's or the token's password (optional)
#   ORV_TIMESTAMP_URL         an RFC 3161 timestamp server (optional; without one the
#                             signing time is SOURCE_DATE_EPOCH when set, else now)
# Without any of them it signs with the build's own test certificate, made on first use in
# TEST_CERT_DIR (test-cert.pem, test-key.pem): the signature is then only good for checking.
set -euo pipefail
in=$1 out=$2 test_dir=$3

credentials=()
if [ -n "${ORV_SIGN_PKCS12:-}" ]; then
  credentials=(-pkcs12 "$ORV_SIGN_PKCS12")
elif [ -n "${ORV_SIGN_PKCS11_MODULE:-}" ]; then
  cert_option=-certs
  [[ ${ORV_SIGN_CERT:-} == pkcs11:* ]] && cert_option=-pkcs11cert
  credentials=(-pkcs11module "$ORV_SIGN_PKCS11_MODULE" "$cert_option" "${ORV_SIGN_CERT:?ORV_SIGN_CERT is needed with a token}"
    -key "${ORV_SIGN_KEY:?ORV_SIGN_KEY is needed with a token}")
elif [ -n "${ORV_SIGN_CERT:-}${ORV_SIGN_KEY:-}" ]; then
  credentials=(-certs "${ORV_SIGN_CERT:?ORV_SIGN_KEY needs ORV_SIGN_CERT}" -key "${ORV_SIGN_KEY:?ORV_SIGN_CERT needs ORV_SIGN_KEY}")
else
  "$(dirname "$0")/make-test-cert.sh" "$test_dir"
  credentials=(-certs "$test_dir/test-cert.pem" -key "$test_dir/test-key.pem")
fi
[ -n "${ORV_SIGN_PASSWORD_FILE:-}" ] && credentials+=(-readpass "$ORV_SIGN_PASSWORD_FILE")

when=()
if [ -n "${ORV_TIMESTAMP_URL:-}" ]; then
  when=(-ts "$ORV_TIMESTAMP_URL")
elif [ -n "${SOURCE_DATE_EPOCH:-}" ]; then
  when=(-time "$SOURCE_DATE_EPOCH")
fi

# Signed beside the target and renamed, so a failed signing never leaves a half-written or
# an unsigned file under the name the build and the tests take for the signed one.
rm -f "$out" "$out.part"
if ! osslsigncode sign "${credentials[@]}" -h sha256 -n "Orvanel Word Processor" "${when[@]}" \
    -in "$in" -out "$out.part" >"$out.log" 2>&1; then
  cat "$out.log" >&2
  rm -f "$out.part"
  exit 1
fi
mv "$out.part" "$out"
