#!/usr/bin/env bash
# Runs a test program under the test run's Wine prefix with the screen's scale set to DPI
# dots per inch, then gives the prefix its own scale back, so the tests after it in the
# same run see 96 dpi again. Usage: dpi-run.sh BUILD_DIR DPI program.exe [args...]
# Wine reads the scale once per process from HKCU\Control Panel\Desktop\LogPixels (which
# wins over the machine-wide value that wineboot writes), so no server restart is needed.
set -euo pipefail
build=$(cd "$1" && pwd)
dpi=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
[ -f "$build/wine-test-env.sh" ] || "$here/prefix-setup.sh" "$build" >&2
# shellcheck disable=SC1090
. "$build/wine-test-env.sh"
key='HKCU\Control Panel\Desktop'
restore() { "$WINE" reg delete "$key" /v LogPixels /f >/dev/null 2>&1 </dev/null || true; }
trap restore EXIT
"$WINE" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 </dev/null
ORV_EXPECT_DPI=$dpi "$WINE" "$@"
