#!/usr/bin/env bash
# Runs a Windows program under the test run's private Wine prefix (see prefix-setup.sh).
# Usage: wine-run.sh program.exe [args...]
# ORV_BUILD_DIR names the build tree; without it the tree is taken from the program's path.
set -euo pipefail
exe=$1; shift
build=${ORV_BUILD_DIR:-}
if [ -z "$build" ]; then
  d=$(cd "$(dirname "$exe")" && pwd)
  while [ "$d" != / ] && [ ! -f "$d/CMakeCache.txt" ]; do d=$(dirname "$d"); done
  build=$d
fi
envfile=$build/wine-test-env.sh
if [ ! -f "$envfile" ]; then
  "$(dirname "$0")/prefix-setup.sh" "$build" >&2
fi
# shellcheck disable=SC1090
. "$envfile"
exec "$WINE" "$exe" "$@"
