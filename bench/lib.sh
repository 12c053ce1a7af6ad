# The start every bench script shares; sourced once root and build are set.

# bench_need COMMAND:PACKAGE...: installs the Debian package of each command that is missing
# (the benchmark tools are not part of the test bootstrap).
bench_need() {
  local need=() pair
  for pair in "$@"; do command -v "${pair%%:*}" >/dev/null || need+=("${pair#*:}"); done
  [ ${#need[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo=sudo
  $sudo apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
}

# bench_prepare TARGET...: builds the targets, makes $out (BUILD_DIR/bench) and enters the
# build's Wine prefix (made first when there is none), which sets WINE and WINEPREFIX.
bench_prepare() {
  cmake --build "$build" --target "$@" >/dev/null
  out=$build/bench
  mkdir -p "$out"
  [ -f "$build/wine-test-env.sh" ] || "$root/tests/wine/prefix-setup.sh" "$build" >/dev/null
  . "$build/wine-test-env.sh"
}
