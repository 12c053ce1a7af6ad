#!/usr/bin/env bash
# Builds the setup and runs it under the build tree's private Wine prefix; the arguments go
# to the setup. With a display (DISPLAY set) the wizard opens there. Without one it runs
# under an Xvfb of its own: the wizard is walked through every page to Finish (or, with /S or
# /SILENT among the arguments, the setup installs silently), each page is pictured once it
# has painted, a report says what was installed, and the script ends with the setup's exit
# code. Wine and Xvfb are stopped at every end, Ctrl+C included.
# For the test suite: ORV_BUILD_DIR (the build tree), ORV_RUN_NO_BUILD=1 (use what is
# built), ORV_RUN_PREFIX (the Wine prefix), ORV_RUN_PICTURES (the picture folder).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${ORV_BUILD_DIR:-$root/build}
exe=$build/src/startup/OrvanelSetup.exe
driver=$build/tests/headless/RunSetupDriver.exe

targets=(orvsetup)
[ -z "${DISPLAY:-}" ] && targets+=(run_setup_driver)
if [ "${ORV_RUN_NO_BUILD:-}" != 1 ]; then
  "$root/scripts/build.sh" "$build" "${targets[@]}"
fi
build=$(cd "$build" && pwd)
export ORV_BUILD_DIR=$build

export WINEPREFIX=${ORV_RUN_PREFIX:-$build/wineprefix-run}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
export WINEARCH=win64
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

# The prefix keeps everything it is given to itself (tests/wine/make-prefix.sh). Its
# wineserver is let go before the setup starts, so that the setup meets the display it is
# given now.
make_prefix() {
  WINE=$WINE WINESERVER=$WINESERVER "$root/tests/wine/make-prefix.sh"
}

if [ -n "${DISPLAY:-}" ]; then
  make_prefix
  set +e
  "$WINE" "$exe" "$@"
  rc=$?
  set -e
  echo "Setup exited with code $rc"
  exit $rc
fi

# Without a display, everything this run starts is stopped on the way out, however it ends.
xvfb_pid=""
display_file=""
stop_everything() {
  "$WINESERVER" -k >/dev/null 2>&1 || true
  "$WINESERVER" -w >/dev/null 2>&1 || true
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  [ -n "$display_file" ] && rm -f "$display_file"
}
trap stop_everything EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

[ -f "$driver" ] || { echo "run-setup: $driver is missing; build the target run_setup_driver" >&2; exit 1; }
display_file=$(mktemp "$build/run-xvfb.XXXXXX")
exec 3>"$display_file"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 </dev/null &
xvfb_pid=$!
exec 3>&-
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
[ -s "$display_file" ] || { echo "run-setup: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$display_file")"
make_prefix

pictures=${ORV_RUN_PICTURES:-$build/screenshots/run-setup}
rm -rf "$pictures"
mkdir -p "$pictures"
echo "Running the setup without a display (Xvfb $DISPLAY, Wine prefix $WINEPREFIX)"
# In the background, so that Ctrl+C reaches the traps at once instead of after Wine ends.
set +e
"$WINE" "$driver" "$pictures" -- "$@" &
wait $!
rc=$?
set -e

shopt -s nullglob
for bmp in "$pictures"/*.bmp; do
  convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
done
shots=("$pictures"/*.png)
if [ ${#shots[@]} -gt 0 ]; then
  sheet=$pictures/contact-sheet.png
  # Labels need a font that ImageMagick can find by path; Wine brings one.
  labels=()
  font=/usr/share/wine/fonts/tahoma.ttf
  [ -f "$font" ] && labels=(-font "$font" -pointsize 14 -label '%t')
  montage "${labels[@]}" "${shots[@]}" -tile 4x -geometry +6+6 -background '#d0d0d0' "$sheet"
  echo "Pictures:        ${#shots[@]} in $pictures"
  echo "Contact sheet:   $sheet"
fi
exit $rc
