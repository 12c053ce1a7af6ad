#!/usr/bin/env bash
# Installs what the build needs, then configures and builds into ./build (or the folder
# given as the first argument): everything, or only the targets named after the folder.
# Arguments of the form -DNAME=VALUE after the folder go to the configure step.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
shift || true
targets=() options=()
for t in "$@"; do
  case $t in
    -D*) options+=("$t") ;;
    *) targets+=(--target "$t") ;;
  esac
done
"$root/scripts/bootstrap.sh"
# Objects compiled in one checkout serve another at the same depth below the same parent.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$(dirname "$root")}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release "${options[@]}" >/dev/null
cmake --build "$build" -j "$(nproc)" "${targets[@]}"
