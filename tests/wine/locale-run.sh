#!/usr/bin/env bash
# Runs a Windows program under a fresh Wine prefix of its own, made for one user name and
# one language: the profile folder follows USER when the prefix is made, the ANSI code page
# follows the locale. The prefix, its display and its drives go again at the end.
# Usage: locale-run.sh BUILD_DIR TAG USER LOCALE program.exe [args...]
set -euo pipefail
build=$(cd "$1" && pwd)
tag=$2 user=$3 locale=$4
shift 4
here=$(cd "$(dirname "$0")" && pwd)
dir=$build/locale-$tag

# The UTF-8 locale Wine takes the code page from, made without root when the system lacks it.
locales=$build/locales
if [ ! -d "$locales/$locale" ]; then
  mkdir -p "$locales"
  localedef -i "${locale%%.*}" -f UTF-8 "$locales/$locale" >/dev/null 2>&1 || true
fi

rm -rf "$dir"
mkdir -p "$dir"
export USER=$user LOGNAME=$user LANG=$locale LC_ALL=$locale LOCPATH=$locales
# Whatever way the run ends (a timeout included), its server, display and prefix go.
# A disk still mounted in it would keep the folder, and stay mounted on the host: that fails the run.
leave() {
  local status=$?
  "$here/prefix-cleanup.sh" "$dir" >/dev/null 2>&1
  rm -rf "$dir" 2>/dev/null
  if [ -e "$dir" ]; then
    echo "locale-run.sh: $dir could not be removed; still mounted: $(grep -F "$dir" /proc/mounts | cut -d' ' -f2 | tr '\n' ' ')" >&2
    status=1
  fi
  exit $status
}
trap leave EXIT
"$here/prefix-setup.sh" "$dir" >/dev/null
# shellcheck disable=SC1091
. "$dir/wine-test-env.sh"
export ORV_BUILD_DIR=$build  # the programs and the archive stay where the build put them
"$WINE" "$@"
