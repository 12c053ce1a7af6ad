#!/usr/bin/env bash
# Builds everything and starts the setup executable under the build tree's private Wine
# prefix. Without a display it runs under Xvfb and saves a screenshot to
# build/screenshots/run-setup.png once the window is up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
"$root/scripts/build.sh" "$build" orvsetup
exe=$build/src/startup/OrvanelSetup.exe

export WINEPREFIX=$build/wineprefix-run
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
WINE=/usr/lib/wine/wine64
if [ ! -d "$WINEPREFIX" ]; then
  "$WINE" wineboot -i >/dev/null 2>&1 || true
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
fi

xvfb_pid=""
if [ -z "${DISPLAY:-}" ]; then
  exec 3> "$build/run-xvfb.display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$build/run-xvfb.display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n1 "$build/run-xvfb.display")"
  mkdir -p "$build/screenshots"
  ( sleep "${ORV_SHOT_DELAY:-10}"; import -window root "$build/screenshots/run-setup.png" 2>/dev/null \
      && echo "Screenshot: $build/screenshots/run-setup.png" ) &
fi
set +e
"$WINE" "$exe" "$@"
rc=$?
set -e
[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
echo "Setup exited with code $rc"
exit $rc
