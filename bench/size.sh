#!/usr/bin/env bash
# What the setup executable is made of: links OrvanelSetup.exe once more exactly as the build
# does, with a link map, and sums the map per library and per section; also lists the
# resources beyond the archive. Nothing here fails a build.
# Usage: bench/size.sh [BUILD_DIR]      (results: BUILD_DIR/bench/size.md, the map beside it)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
cmake --build "$build" --target orvsetup >/dev/null
out=$build/bench; mkdir -p "$out"
startup=$build/src/startup
link=$(grep -- '-o OrvanelSetup.exe' "$startup/CMakeFiles/orvsetup.dir/link.txt")
# The same command, writing a copy and its map instead of the build's own executable.
link=${link/-o OrvanelSetup.exe/-o $out/size-relink.exe -Wl,-Map=$out/setup.map}
link=${link/-Wl,--out-implib,libOrvanelSetup.dll.a/}
(cd "$startup" && eval "$link")
exe=$startup/OrvanelSetup.exe
archive=$(stat -c %s "$build/resources/payload.orvz")
# The Authenticode signature appended after the image: its size depends on the certificate
# chain and the timestamp, not on the program.
signature=$(python3 -c 'import sys; sys.path.insert(0, sys.argv[1]); import setup_image
print(setup_image.Image(open(sys.argv[2], "rb").read()).directory(setup_image.CERTIFICATE_DIRECTORY)[1])' \
  "$root/tools/release" "$exe")
{
  echo "# OrvanelSetup.exe: $(stat -c %s "$exe") bytes, of which the archive $archive;" \
    "beyond it $(( $(stat -c %s "$exe") - archive )) bytes, of which the signature $signature"
  echo
  echo '## Sections'
  echo '```'
  x86_64-w64-mingw32-objdump -h "$exe" | while read -r idx name size _; do
    if [[ $idx =~ ^[0-9]+$ ]]; then printf '%-8s %8d\n' "$name" "$((16#$size))"; fi
  done
  echo '```'
  echo
  echo '## Code and data per library (from the link map)'
  echo '```'
  python3 "$root/bench/linkmap.py" "$out/setup.map" 25
  echo '```'
} > "$out/size.md"
cat "$out/size.md"
