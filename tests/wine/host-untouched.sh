#!/usr/bin/env bash
# Shows that a test run kept to its build tree: no link in the user profile of any Wine
# prefix below the build tree points outside that prefix, and nothing below the invoking
# user's home folder changed since the run's prefix was made (host-home.stamp).
# Usage: host-untouched.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
build=$(cd "$1" && pwd -P)
src=$(cd "$2" && pwd -P)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

while IFS= read -r reg; do
  prefix=$(dirname "$reg")
  while IFS= read -r -d '' link; do
    target=$(readlink -f "$link" || true)
    case "$target" in
    "$prefix"/*) ;;
    *) fail "$link -> $(readlink "$link") leads outside its prefix" ;;
    esac
  done < <(find "$prefix/drive_c/users" -type l -print0 2>/dev/null)
done < <(find "$build" -maxdepth 3 -name system.reg)

# A prefix's profile folders, when they are links, lead to the home folder itself or to its
# Desktop, Documents, ... sub-folders; Wine's menu and icon writers use .local and .config.
# Those are what a Wine program can change there. The rest of the home (tool caches, shell
# history) belongs to whatever else runs as that user and is left out.
home=${HOME:-}
if [ -d "$home" ] && [ -f "$build/host-home.stamp" ]; then
  # The build and the checkout, when they lie in the home, are the run's own: not walked.
  changed=$(find "$home" -xdev \( -path "$home/.*" -o -path "$build" -o -path "$src" \) -prune \
    -o -newer "$build/host-home.stamp" -print 2>/dev/null | grep -v -x -F -e "$home" | head -n 20)
  for d in .local/share/applications .local/share/icons .local/share/mime .local/share/desktop-directories \
    .config/menus .cache/wine .wine; do
    [ -e "$home/$d" ] || continue
    changed+=$(find "$home/$d" -newer "$build/host-home.stamp" -print 2>/dev/null | head -n 20)
  done
  [ -z "$changed" ] || fail "the run changed the home folder $home:"$'\n'"$changed"
fi

[ "$failures" -eq 0 ] && echo "The run kept to $build: no prefix leads outside itself, $home unchanged"
exit $((failures > 0))
