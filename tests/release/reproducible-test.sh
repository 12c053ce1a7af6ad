#!/usr/bin/env bash
# reproducible-test.sh BUILD_DIR SOURCE_DIR: the checkout copied to another folder, built
# again there in another time zone and with another umask, must give the very orv.exe and
# OrvanelSetup.exe of BUILD_DIR (as scripts/check-reproducible.sh compares them).
set -euo pipefail
build=$(realpath "$1") source=$(realpath "$2")
copy=$build/reproduce/another/folder/checkout
rm -rf "$build/reproduce" && mkdir -p "$copy"
# The files of the checkout as they stand (committed or not, ignored ones left out); from an
# unpacked source archive, everything but its build trees.
if git -C "$source" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$source" ls-files -z --cached --others --exclude-standard |
    tar -C "$source" --null --ignore-failed-read -T - -cf - | tar -C "$copy" -xf -
else
  tar -C "$source" --exclude='./build*' -cf - . | tar -C "$copy" -xf -
fi
# Compiled objects come from the cache when the two trees lie at the same depth below its base.
export CCACHE_BASEDIR=$build/reproduce/another/folder
umask 077
# A zone half an hour off the hour with daylight saving, written out so it needs no tzdata.
TZ="<+1030>-10:30<+11>-11,M10.1.0,M4.1.0" "$copy/scripts/check-reproducible.sh" "$build/src/startup/OrvanelSetup.exe" "$copy/build-again"
