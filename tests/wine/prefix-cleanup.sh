#!/usr/bin/env bash
# Stops what prefix-setup.sh started: the wineserver, Xvfb and the tiny test disk.
# Usage: prefix-cleanup.sh BUILD_DIR
build=$(cd "$1" && pwd)
if [ -f "$build/wine-test-env.sh" ]; then
  . "$build/wine-test-env.sh"
  "$WINESERVER" -k 2>/dev/null || true
fi
if [ -f "$build/xvfb.pid" ]; then
  kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
  rm -f "$build/xvfb.pid" "$build/xvfb.display"
fi
if [ -f "$build/test-drives.mounted" ]; then
  umount "$(cat "$build/test-drives.mounted")" 2>/dev/null || true
  rm -f "$build/test-drives.mounted"
fi
rm -f "$build/wine-test-env.sh"
exit 0
