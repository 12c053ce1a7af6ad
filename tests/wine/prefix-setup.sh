#!/usr/bin/env bash
# Makes the private Wine prefix of one test run inside the build tree, with the test drives,
# fonts and frame drawing the tests rely on, starts Xvfb and a persistent wineserver, and
# writes wine-test-env.sh for wine-run.sh. Usage: prefix-setup.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
"$here/prefix-cleanup.sh" "$build" >/dev/null 2>&1 || true
# The host's home folder as the run found it: the last test shows that the run left it so.
touch "$build/host-home.stamp"

export WINEPREFIX=$build/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
[ -x "$WINE" ] || WINE=$(command -v wine64 || command -v wine)
WINESERVER=/usr/lib/wine/wineserver
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
drives=$build/test-drives

# A display of our own, so tests never draw on a user's screen.
xvfb_log=$build/xvfb.log
exec 3> "$build/xvfb.display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >"$xvfb_log" 2>&1 </dev/null &
echo $! > "$build/xvfb.pid"
exec 3>&-
for _ in $(seq 50); do [ -s "$build/xvfb.display" ] && break; sleep 0.1; done
display=":$(head -n1 "$build/xvfb.display")"
export DISPLAY=$display

rm -rf "$WINEPREFIX"
export WINE WINESERVER
"$here/make-prefix.sh"

# Test drives: E: fixed, R: removable, N: network, D: CD-ROM, T: a tiny full-able disk,
# W: a read-only disk (what a standard user finds in a machine-wide folder) with one folder.
rm -rf "$drives"
mkdir -p "$drives"/{e,r,n,d,t,w,w-source/Existing}
: > "$build/test-drives.mounted"
mountpoint -q "$drives/t" 2>/dev/null && umount "$drives/t" || true
if mount -t tmpfs -o size=256k tmpfs "$drives/t" 2>/dev/null; then
  echo "$drives/t" >> "$build/test-drives.mounted"
fi
# A folder link, which Wine cannot make from the Windows side: E:\linked\Install\Elsewhere
# leads to E:\linked\Outside.
mkdir -p "$drives/e/linked/Install" "$drives/e/linked/Outside"
ln -s ../Outside "$drives/e/linked/Install/Elsewhere"
if mount --bind -o ro "$drives/w-source" "$drives/w" 2>/dev/null; then
  echo "$drives/w" >> "$build/test-drives.mounted"
fi
for drive in e:hd r:floppy n:network d:cdrom t:hd w:hd; do
  letter=${drive%%:*}; type=${drive#*:}
  ln -sfn "$drives/$letter" "$WINEPREFIX/dosdevices/$letter:"
  "$WINE" reg add 'HKLM\Software\Wine\Drives' /v "$letter:" /d "$type" /f >/dev/null 2>&1 </dev/null
done
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w >/dev/null 2>&1 || true

# One server for the whole run: programs then start in tens of milliseconds.
# Everything left running must let go of ctest's output pipe, or ctest waits for it.
"$WINESERVER" -p >/dev/null 2>&1 </dev/null
"$WINE" cmd /c exit >/dev/null 2>&1 </dev/null || true

cat > "$build/wine-test-env.sh" <<ENV
export WINEPREFIX='$WINEPREFIX'
export WINEDEBUG=-all
export WINEDLLOVERRIDES='$WINEDLLOVERRIDES'
export WINEARCH=win64
export DISPLAY='$display'
export WINE='$WINE'
export WINESERVER='$WINESERVER'
export ORV_TEST_DRIVES='$drives'
export ORV_BUILD_DIR='$build'
ENV
echo "Wine prefix ready: $WINEPREFIX (display $display)"
