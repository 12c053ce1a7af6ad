#!/usr/bin/env bash
# Stops what prefix-setup.sh started: the wineserver, Xvfb and the mounted test disks.
# Usage: prefix-cleanup.sh BUILD_DIR
build=$(cd "$1" && pwd)
if [ -f "$build/wine-test-env.sh" ]; then
  . "$build/wine-test-env.sh"
  "$WINESERVER" -k 2>/dev/null || true
  # The server keeps files on the test disks open until it has gone; an unmount before
  # that fails as busy and leaves the disk mounted in the build tree.
  timeout 20 "$WINESERVER" -w 2>/dev/null || true
fi
if [ -f "$build/xvfb.pid" ]; then
  kill "$(cat "$build/xvfb.pid")" 2>/dev/null || true
  rm -f "$build/xvfb.pid" "$build/xvfb.display"
fi
if [ -f "$build/test-drives.mounted" ]; then
  while read -r mounted; do
    [ -n "$mounted" ] || continue
    umount "$mounted" 2>/dev/null || umount -l "$mounted" 2>/dev/null || true
  done < "$build/test-drives.mounted"
  rm -f "$build/test-drives.mounted"
fi
rm -f "$build/wine-test-env.sh"
exit 0
