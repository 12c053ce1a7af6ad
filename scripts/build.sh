#!/usr/bin/env bash
# Installs what the build needs, then configures and builds into ./build (or the folder
# given as the first argument): everything, or only the targets named after the folder.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
targets=()
for t in "$@"; do targets+=(--target "$t"); done
"$root/scripts/bootstrap.sh"
# Objects compiled in one checkout serve another at the same depth below the same parent.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
