#!/usr/bin/env bash
# Benchmarks of the setup's start and copy under Wine, and of the packer on Linux.
# Usage: bench/run.sh [BUILD_DIR]   (results are printed and saved to BUILD_DIR/bench/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
. "$root/bench/lib.sh"
bench_need hyperfine:hyperfine /usr/bin/time:time
bench_prepare bench_catalogue orvsetup host_tools
exe=$build/bench/bench_catalogue.exe
target='C:\benchcopy'

echo "== Inflating the embedded archive (process start subtracted by the none run)"
"$WINE" "$exe" load
hyperfine --warmup 3 --runs 20 --export-markdown "$out/catalogue.md" \
  "$WINE $exe none" "$WINE $exe load"

echo "== Writing all 303 entries to a fresh folder"
hyperfine --warmup 1 --runs 10 --export-markdown "$out/extract.md" \
  --prepare "rm -rf '$WINEPREFIX/drive_c/benchcopy'" "$WINE $exe extract $target"

echo "== Peak memory of a load (the whole payload stays in memory by design)"
/usr/bin/time -v "$WINE" "$exe" load 2>&1 | grep -E 'Maximum resident|Elapsed'

echo "== The packer on the sample payload (Linux)"
hyperfine --warmup 1 --runs 5 --export-markdown "$out/packer.md" \
  "$build/host-tools/packer/orvpack $build/resources/payload /tmp/orv-bench.orvz"
