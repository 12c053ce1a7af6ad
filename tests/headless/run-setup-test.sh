#!/usr/bin/env bash
# Runs the main command, scripts/run-setup.sh, as on a machine without a display, on a Wine
# prefix and picture folder of its own beside the test run's, and checks its report, the
# pictures of the pages and that nothing it started keeps running, also after Ctrl+C.
# Usage: run-setup-test.sh SOURCE_DIR BUILD_DIR
set -uo pipefail
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
prefix=$build/wineprefix-run-test
pictures=$build/screenshots/run-setup-test
dest='C:\Run Setup Test\Orvanel'
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Only the processes of a run carry ORV_RUN_PREFIX (this script does not export it).
# run_setup PICTURE_FOLDER [arguments...]
run_setup() {
  local folder=$1
  shift
  env -u DISPLAY ORV_BUILD_DIR="$build" ORV_RUN_NO_BUILD=1 ORV_RUN_PREFIX="$prefix" \
    ORV_RUN_PICTURES="$folder" "$src/scripts/run-setup.sh" "$@"
}
leftovers() {
  grep -lzxF "ORV_RUN_PREFIX=$prefix" /proc/[0-9]*/environ 2>/dev/null | cut -d/ -f3 | tr '\n' ' '
}
expect_nothing_left() {
  local left=""
  for _ in $(seq 50); do
    left=$(leftovers)
    [ -z "$left" ] && return
    sleep 0.2
  done
  fail "$1: still running: $(for p in $left; do tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null; echo; done)"
}
# The line of the last report that starts with the label, without the label.
out=$build/run-setup-test.out
field() { sed -n "s/^$1: *//p" "$out" | head -n1; }
# check_report DESTINATION: a whole install into the destination, reported with exit code 0.
check_report() {
  local dest=$1
  [ "$(field Destination)" = "$dest" ] || fail "destination: $(field Destination)"
  [[ "$(field 'Installed files')" =~ ^[1-9][0-9]*,\ [0-9.]+\ MB\ \([0-9,]+\ bytes\) ]] ||
    fail "files: $(field 'Installed files')"
  [ "$(field 'Uninstall entry')" = \
    "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvanel Word Processor: \"Orvanel Word Processor\", \"$dest\\orv.exe\" -ui" ] ||
    fail "uninstall entry: $(field 'Uninstall entry')"
  [[ "$(field Shortcuts)" == *'\Orvanel Word Processor.lnk' ]] || fail "shortcuts: $(field Shortcuts)"
  [[ "$(field 'Exit code')" =~ ^0(\ |$) ]] || fail "exit code: $(field 'Exit code')"
  [[ "$(field 'Install time')" =~ ^[0-9]+\.[0-9]\ s ]] || fail "install time: $(field 'Install time')"
}

rm -rf "$prefix"

# A whole walk with a destination that has blanks, passed through to the setup.
run_setup "$pictures" "-d$dest" >"$out" 2>&1
rc=$?
cat "$out"
[ $rc -eq 0 ] || fail "run-setup ended with $rc"
check_report "$dest"
# The Installing page shows only while the copy runs; a copy quicker than a picture leaves
# the seven pages that wait for the user.
pictured=$(field 'Pages pictured')
[ "$pictured" = 8 ] || [ "$pictured" = 7 ] || fail "pages pictured: $pictured"

# Every page pictured once it had painted: not one colour (a black screen, a bare frame).
for page in 0-welcome 1-license 2-destination 3-components 4-ready 5-installing 6-associate 7-finish; do
  shot=$pictures/$page.png
  [ "$page" = 5-installing ] && [ "$pictured" = 7 ] && continue
  if [ ! -f "$shot" ]; then
    fail "no picture $shot"
    continue
  fi
  colours=$(identify -format '%k' "$shot")
  [ "$colours" -ge 32 ] || fail "$shot shows $colours colours"
done
[ "$(identify -format '%w' "$pictures/contact-sheet.png" 2>/dev/null || echo 0)" -gt 1500 ] ||
  fail "no contact sheet with the pages side by side"
expect_nothing_left "after the walk"

# The silent install and the messages about bad switches come with the switches; a setup
# that does not list them in its usage text has neither.
if grep -qa '/SILENT' "$build/src/startup/OrvanelSetup.exe"; then
  # A silent switch in any letter case: the setup installs by itself, no page is pictured.
  silent_dest='C:\Run Setup Test\Silent'
  run_setup "$pictures-silent" /silent "/DIR=$silent_dest" >"$out" 2>&1
  rc=$?
  cat "$out"
  [ $rc -eq 0 ] || fail "silent run-setup ended with $rc"
  check_report "$silent_dest"
  [[ "$(field 'Install time')" == *'whole silent run'* ]] || fail "silent install time: $(field 'Install time')"
  [ -z "$(ls "$pictures-silent")" ] || fail "a silent run left pictures: $(ls "$pictures-silent")"
  expect_nothing_left "after the silent run"

  # A message instead of the wizard (an unknown switch): pictured, acknowledged, and the
  # setup's own exit code is the command's.
  run_setup "$pictures-message" /NO-SUCH-SWITCH >"$out" 2>&1
  rc=$?
  cat "$out"
  [ $rc -eq 2 ] || fail "run-setup with an unknown switch ended with $rc, not 2"
  [[ "$(field 'Exit code')" =~ ^2(\ |$) ]] || fail "exit code with an unknown switch: $(field 'Exit code')"
  grep -q 'NO-SUCH-SWITCH' "$out" || fail "the message naming the switch is not reported"
  [[ "$(field 'Install time')" == 'none, the install did not start'* ]] || fail "install time: $(field 'Install time')"
  [ "$(identify -format '%k' "$pictures-message/message.png" 2>/dev/null || echo 0)" -ge 32 ] ||
    fail "no picture of the message"
  expect_nothing_left "after the message"
else
  echo "skipped: the setup has no silent switches"
fi

# Ctrl+C in the middle of a walk: the terminal signals the whole process group. (An
# interrupted run leaves its pictures unconverted; those of an earlier test must not count.)
rm -rf "$pictures-interrupted"
set -m
run_setup "$pictures-interrupted" >"$build/run-setup-test-interrupted.out" 2>&1 &
pid=$!
set +m
for _ in $(seq 600); do
  [ -f "$pictures-interrupted/1-license.bmp" ] && break
  sleep 0.1
done
[ -f "$pictures-interrupted/1-license.bmp" ] || fail "the interrupted walk never reached the License page"
kill -INT -- "-$pid"
wait "$pid"
rc=$?
[ $rc -eq 130 ] || fail "interrupted run-setup ended with $rc, not 130"
expect_nothing_left "after Ctrl+C"

echo "$failures failure(s)"
[ $failures -eq 0 ]
