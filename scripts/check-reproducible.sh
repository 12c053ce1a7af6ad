#!/usr/bin/env bash
# Checks a published OrvanelSetup.exe against this checkout: builds orv.exe and the setup here,
# around the signed orv.exe that the published setup carries, and compares both with the
# published ones byte for byte, each without its signature. Ends with 0 when both are equal.
# Usage: scripts/check-reproducible.sh PUBLISHED_SETUP [BUILD_DIR]   (default ./build-reproduce)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
published=$(realpath "$1")
build=$(realpath -m "${2:-$root/build-reproduce}")
"$root/scripts/bootstrap.sh"  # osslsigncode and Python take the published files apart first
image() { python3 "$root/tools/release/setup_image.py" "$@"; }
# A file as it was before it was signed (the signature is the only part that ever differs).
unsigned() {
  if image signed "$1"; then osslsigncode remove-signature -in "$1" -out "$2" >/dev/null; else cp "$1" "$2"; fi
}
same() {
  if cmp -s "$1" "$2"; then
    echo "same: $(basename "$2") ($(stat -c %s "$2") bytes)"
  else
    echo "DIFFERENT: $1 ($(stat -c %s "$1") bytes) and $2 ($(stat -c %s "$2") bytes), first differing bytes:"
    cmp -l "$1" "$2" 2>/dev/null | head -5 || true
    return 1
  fi
}

# A clean build tree; the published files taken apart inside it.
rm -rf "$build"
published_dir=$build/published
mkdir -p "$published_dir"
unsigned "$published" "$published_dir/OrvanelSetup.exe"
image extract "$published" orv.exe "$published_dir/orv-as-packed.exe"
unsigned "$published_dir/orv-as-packed.exe" "$published_dir/orv.exe"

# Nothing signed here: the signed orv.exe comes from the published setup.
"$root/scripts/build.sh" "$build" -DORV_SIGN=OFF -DORV_PACKED_ORV="$published_dir/orv-as-packed.exe" orv orvsetup \
  >/dev/null

status=0
same "$published_dir/orv.exe" "$build/product/orv/orv.exe" || status=1
same "$published_dir/OrvanelSetup.exe" "$build/src/startup/OrvanelSetup.exe" || status=1
exit $status
