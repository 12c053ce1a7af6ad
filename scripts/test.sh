#!/usr/bin/env bash
# Builds everything and runs the whole test suite under Wine (ending with ctest's summary).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
"$root/scripts/build.sh" "$build"
cd "$build"
ctest --output-on-failure --timeout 900
