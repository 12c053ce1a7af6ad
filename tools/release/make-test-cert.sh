#!/usr/bin/env bash
# make-test-cert.sh DIR: a self-signed code-signing certificate and its key, made once per
# build tree, for builds that are given no real certificate. Never for publishing.
set -euo pipefail
dir=$1
[ -s "$dir/test-cert.pem" ] && [ -s "$dir/test-key.pem" ] && exit 0
mkdir -p "$dir"
openssl req -x509 -newkey rsa:2048 -nodes -sha256 -days 3650 \
  -subj "/CN=Orvanel Word Processor test signing (not for release)/O=The Orvanel project" \
  -addext "keyUsage=critical,digitalSignature" -addext "extendedKeyUsage=codeSigning" \
  -keyout "$dir/test-key.pem.part" -out "$dir/test-cert.pem.part" 2>/dev/null
chmod 600 "$dir/test-key.pem.part"
mv "$dir/test-key.pem.part" "$dir/test-key.pem"
mv "$dir/test-cert.pem.part" "$dir/test-cert.pem"
